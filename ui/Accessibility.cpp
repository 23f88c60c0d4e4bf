#include "ui/Accessibility.h"

#include "ui/HelpWindow.h"
#include "ui/Indicator.h"
#include "ui/Knob.h"
#include "ui/LedDisplay.h"
#include "ui/MeterGauge.h"
#include "ui/PanelKey.h"

#include <QAccessibleValueInterface>
#include <QHeaderView>

#include <utility>

namespace kivo::ui {

namespace {

std::function<void(QAccessibleEvent&)>& Listener()
{
    static std::function<void(QAccessibleEvent&)> listener;
    return listener;
}

// A front-panel key: pressed through the screen reader as by a click, and refused (disabled,
// no action) while the panel would refuse the click.
class KeyInterface final : public QAccessibleWidget {
public:
    explicit KeyInterface(PanelKey* key) : QAccessibleWidget(key, QAccessible::Button) {}
    PanelKey* Key() const { return static_cast<PanelKey*>(widget()); }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && Key()->accessibleName().isEmpty())
            return Key()->text();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = Key()->isCheckable();
        s.checked = Key()->isChecked();
        s.pressed = Key()->isDown();
        return s;
    }
    QStringList actionNames() const override
    {
        QStringList names;
        if (Key()->isEnabled())
            names << pressAction();
        return names + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override
    {
        if (name == pressAction())
            Key()->AccessiblePress();
        else
            QAccessibleWidget::doAction(name);
    }
};

// A knob: a dial whose value is what it sets, turned one detent by increase and decrease.
class KnobInterface final : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit KnobInterface(Knob* knob) : QAccessibleWidget(knob, QAccessible::Dial) {}
    Knob* Dial() const { return static_cast<Knob*>(widget()); }

    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QStringList actionNames() const override
    {
        QStringList names;
        if (Dial()->isEnabled())
            names << increaseAction() << decreaseAction();
        return names + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override
    {
        if (name == increaseAction())
            Dial()->Step(1);
        else if (name == decreaseAction())
            Dial()->Step(-1);
        else
            QAccessibleWidget::doAction(name);
    }
    QStringList keyBindingsForAction(const QString& name) const override
    {
        if (name == increaseAction())
            return {QStringLiteral("Up")};
        if (name == decreaseAction())
            return {QStringLiteral("Down")};
        return QAccessibleWidget::keyBindingsForAction(name);
    }

    QVariant currentValue() const override { return Dial()->reading().value; }
    // A knob only turns: it cannot be set to a value.
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return Dial()->reading().maximum; }
    QVariant minimumValue() const override { return Dial()->reading().minimum; }
    QVariant minimumStepSize() const override { return 0; }
};

// A display: static text whose text is the shown one and whose name reads it in words.
class LedInterface final : public ReadoutInterface {
public:
    explicit LedInterface(LedDisplay* d) : ReadoutInterface(d, QAccessible::StaticText) {}
    LedDisplay* Display() const { return static_cast<LedDisplay*>(widget()); }
    QString Text() const override { return Display()->text(); }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && !Display()->spokenText().isEmpty())
            return Display()->spokenText();
        if (t == QAccessible::Description && Display()->accessibleDescription().isEmpty())
            return Display()->accessibleName();
        return ReadoutInterface::text(t);
    }
};

// The meter: a level whose value is the reading and whose text says it ("S9 plus 20").
class MeterInterface final : public ReadoutInterface, public QAccessibleValueInterface {
public:
    explicit MeterInterface(MeterGauge* m) : ReadoutInterface(m, QAccessible::ProgressBar) {}
    MeterGauge* Meter() const { return static_cast<MeterGauge*>(widget()); }
    QString Text() const override { return Meter()->readingWords(); }

    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return ReadoutInterface::interface_cast(t);
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Description && Meter()->accessibleDescription().isEmpty())
            return Meter()->readingWords();
        return ReadoutInterface::text(t);
    }
    QVariant currentValue() const override { return Meter()->readingValue(); }
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return Meter()->readingMaximum(); }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 0; }
};

// A lamp or a display label: lit or dark, and nothing to press. A display label that is dark is
// hidden, so a reader finds it invisible.
class LampInterface final : public QAccessibleWidget {
public:
    LampInterface(QWidget* w, std::function<bool()> lit, std::function<QString()> caption)
        : QAccessibleWidget(w, QAccessible::CheckBox), m_lit(std::move(lit)), m_caption(std::move(caption))
    {
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return m_caption();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = m_lit();
        s.readOnly = true;
        s.focusable = false;
        return s;
    }
    QStringList actionNames() const override { return {}; }

private:
    std::function<bool()> m_lit;
    std::function<QString()> m_caption;
};

// A named group; a window of its own when it stands alone (the splash).
class PaneInterface final : public QAccessibleWidget {
public:
    explicit PaneInterface(Pane* pane) : QAccessibleWidget(pane, QAccessible::Grouping) {}
    QAccessible::Role role() const override
    {
        return widget()->isWindow() ? QAccessible::Window : QAccessible::Grouping;
    }
};

class SpokenStatusInterface final : public QAccessibleWidget {
public:
    explicit SpokenStatusInterface(SpokenStatus* s) : QAccessibleWidget(s, QAccessible::Notification) {}
    QString text(QAccessible::Text t) const override
    {
        const auto* status = static_cast<SpokenStatus*>(widget());
        if (t == QAccessible::Name && !status->Spoken().isEmpty())
            return status->Spoken();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* Factory(const QString&, QObject* object)
{
    if (auto* key = qobject_cast<PanelKey*>(object))
        return new KeyInterface(key);
    if (auto* knob = qobject_cast<Knob*>(object))
        return new KnobInterface(knob);
    if (auto* led = qobject_cast<LedDisplay*>(object))
        return new LedInterface(led);
    if (auto* meter = qobject_cast<MeterGauge*>(object))
        return new MeterInterface(meter);
    if (auto* lamp = qobject_cast<Indicator*>(object))
        return new LampInterface(
            lamp, [lamp] { return lamp->isOn(); }, [lamp] { return lamp->text(); });
    if (auto* label = qobject_cast<DisplayLabel*>(object))
        return new LampInterface(
            label, [label] { return label->isVisible(); }, [label] { return label->text(); });
    if (auto* status = qobject_cast<SpokenStatus*>(object))
        return new SpokenStatusInterface(status);
    if (auto* pane = qobject_cast<Pane*>(object))
        return new PaneInterface(pane);
    // A table's headings, which Qt leaves an anonymous filler.
    if (auto* header = qobject_cast<QHeaderView*>(object))
        return new QAccessibleWidget(header, QAccessible::Grouping);
    if (auto* help = qobject_cast<HelpWindow*>(object))
        return new QAccessibleWidget(help, QAccessible::Window);
    return nullptr;
}

} // namespace

void InstallAccessibleWidgets()
{
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    (void)installed;
}

void SendAccessibleEvent(QAccessibleEvent& event)
{
    if (Listener())
        Listener()(event);
    QAccessible::updateAccessibility(&event);
}

void SetAccessibleEventListener(std::function<void(QAccessibleEvent&)> listener) { Listener() = std::move(listener); }

void* ReadoutInterface::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
}

QAccessible::State ReadoutInterface::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    s.readOnly = true;
    return s;
}

QString ReadoutInterface::text(int startOffset, int endOffset) const
{
    return Text().mid(startOffset, endOffset - startOffset);
}

QString ReadoutInterface::attributes(int offset, int* startOffset, int* endOffset) const
{
    *startOffset = *endOffset = offset;
    return {};
}

Pane::Pane(const QString& name, QWidget* parent, Qt::WindowFlags flags) : QWidget(parent, flags)
{
    InstallAccessibleWidgets();
    if (!name.isEmpty())
        setAccessibleName(name);
}

SpokenStatus::SpokenStatus(QWidget* parent) : QWidget(parent)
{
    InstallAccessibleWidgets();
    setObjectName(QStringLiteral("spokenStatus"));
    setAccessibleName(QStringLiteral("Announcements"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(0, 0, 1, 1);
    m_flush.setSingleShot(true);
    m_flush.setInterval(0);
    connect(&m_flush, &QTimer::timeout, this, &SpokenStatus::Flush);
}

void SpokenStatus::Say(const QString& words)
{
    if (words.isEmpty())
        return;
    m_pending << words;
    m_flush.start();
}

void SpokenStatus::Flush()
{
    if (m_pending.isEmpty())
        return;
    m_spoken = m_pending.join(QStringLiteral(", "));
    m_pending.clear();
    QAccessibleEvent named(this, QAccessible::NameChanged);
    SendAccessibleEvent(named);
    // A reader says a notification as it appears: it appears again for each announcement.
    if (isVisible()) {
        QAccessibleEvent hide(this, QAccessible::ObjectHide);
        SendAccessibleEvent(hide);
        QAccessibleEvent show(this, QAccessible::ObjectShow);
        SendAccessibleEvent(show);
    }
}

} // namespace kivo::ui
