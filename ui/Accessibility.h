#pragma once
// The painted widgets as a screen reader sees them: each one's role, name, state, value, text
// and actions through Qt's accessibility interfaces, installed as a factory; and the one door
// the events of this program's own widgets go out through, which a test may listen at.

#include <QAccessibleWidget>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace kivo::ui {

// Installs the interfaces of the painted widgets (once; each painted widget asks for it).
void InstallAccessibleWidgets();

// Sends `event` to the screen reader, when one listens, and to the test's listener.
void SendAccessibleEvent(QAccessibleEvent& event);
// A test's listener for every event SendAccessibleEvent sends; empty to stop listening.
void SetAccessibleEventListener(std::function<void(QAccessibleEvent&)> listener);

// A widget read as text and nothing else: the interfaces of the displays, the meter and the
// band scope's chart build on it. `Text()` is what it shows now.
class ReadoutInterface : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    ReadoutInterface(QWidget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}
    virtual QString Text() const = 0;

    void* interface_cast(QAccessible::InterfaceType t) override;
    QString text(QAccessible::Text t) const override { return QAccessibleWidget::text(t); }
    QAccessible::State state() const override;

    void selection(int, int* startOffset, int* endOffset) const override { *startOffset = *endOffset = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override { return int(Text().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* startOffset, int* endOffset) const override;
};

// A plain container with a name: a group of the panel ("Display", "Keys", "Knobs") or of a
// dialog, where a bare widget would be an anonymous filler.
class Pane : public QWidget {
    Q_OBJECT
public:
    explicit Pane(const QString& name = {}, QWidget* parent = nullptr, Qt::WindowFlags flags = {});
};

// The window's spoken status: a notification that says each announcement. The changes of one
// moment are said together ("144.200 megahertz, Mode FM, VFO"), once control is back in the
// event loop. It takes no room and shows nothing.
class SpokenStatus : public QWidget {
    Q_OBJECT
public:
    explicit SpokenStatus(QWidget* parent);

    // Adds `words` to what is said next.
    void Say(const QString& words);
    // The last thing said.
    QString Spoken() const { return m_spoken; }

private:
    void Flush();

    QStringList m_pending;
    QString m_spoken;
    QTimer m_flush;
};

} // namespace kivo::ui
