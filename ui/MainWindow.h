#pragma once
// The main window: the painted panel as its body, the menu bar and the splash, over the parts of
// the program the root hands it. It implements the window the panel logic asks for and decides
// nothing itself.

#include "platform/PanelLayout.h"
#include "platform/Window.h"
#include "ui/ElementBinding.h"
#include "ui/PanelView.h"
#include "ui/ProgramParts.h"
#include "ui/QtDialogs.h"
#include "ui/QtEventLoop.h"

#include <QMainWindow>

#include <memory>
#include <optional>
#include <string>

class QLabel;
class QWidget;

namespace kivo::ui {

class Knob;
class LedDisplay;
class SpokenStatus;
class KeyForwarder;
class PanelKey;

class MainWindow : public QMainWindow, public platform::Window, public platform::PanelLayout {
    Q_OBJECT
public:
    // The event loop and the dialogs; the rest comes with Attach.
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // Builds the panel, the menus and the speech over `program`, which the window uses until Detach.
    void Attach(const ProgramParts& program);
    // Stops forwarding key strokes to the panel, before the program goes.
    void Detach();
    const ProgramParts& Parts() const { return *m_parts; }
    QtEventLoop& Loop() { return m_loop; }
    QtDialogs& Dialogs() { return m_dialogs; }
    // The bindings of every widget and menu entry to their display-model elements.
    const ElementBinding& Binding() const { return *m_binding; }
    Knob* MainKnob() const { return m_view->MainKnob(); }
    LedDisplay* FreqDisplay() const { return m_view->FreqDisplay(); }
    LedDisplay* SubFreqDisplay() const { return m_view->SubFreqDisplay(); }
    PanelKey* Key(const std::string& name) const { return m_view->Key(name); }
    PanelView* View() const { return m_view; }
    // The notification a screen reader says the announcements through.
    SpokenStatus* Spoken() const { return m_spoken; }

    // platform::Window
    long Left() const override;
    long Top() const override;
    bool OnScreen(long left, long top) const override;
    void MoveTo(long left, long top) override;
    void Centre() override;
    void SetBusyCursor(bool busy) override;
    void ShowSplash(const std::string& versionText) override;
    void HideSplash() override;
    void ShowMain() override;
    void SetTitle(const std::string& title) override;

    // platform::PanelLayout
    long ScreenWidth() const override;
    bool ResizeDisplay(long width, std::string& error, int& step) override;
    void SelectInterfacePics(long width, int colorDepth) override;
    void ShowLcdOnly(bool lcdOnly) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QtEventLoop m_loop;
    QtDialogs m_dialogs;
    std::optional<ProgramParts> m_parts;
    std::unique_ptr<ElementBinding> m_binding;
    PanelView* m_view = nullptr;
    SpokenStatus* m_spoken = nullptr;
    std::unique_ptr<QWidget> m_splash;
    QLabel* m_splashVersion = nullptr;
    // Last, so it stops forwarding before the parts go.
    std::unique_ptr<KeyForwarder> m_keyForwarder;
};

} // namespace kivo::ui
