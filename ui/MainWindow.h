#pragma once
// The main window: the program, the painted panel as its body, the menu bar and the splash. It
// implements the window the panel logic asks for and decides nothing itself.

#include "panel/Program.h"
#include "platform/PanelLayout.h"
#include "platform/Window.h"
#include "ui/ElementBinding.h"
#include "ui/PanelView.h"
#include "ui/QtDialogs.h"
#include "ui/QtEventLoop.h"

#include <QMainWindow>

#include <memory>
#include <string>

class QLabel;
class QWidget;

namespace kivo::ui {

class Knob;
class LedDisplay;
class SpokenStatus;
class KeyForwarder;
class PanelKey;

class MainWindow final : public QMainWindow, public platform::Window, public platform::PanelLayout {
    Q_OBJECT
public:
    explicit MainWindow(const std::string& dataDir, QWidget* parent = nullptr);
    ~MainWindow() override;

    panel::Program& Program() { return *m_program; }
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
    long LeftTwips() const override;
    long TopTwips() const override;
    bool OnScreen(long leftTwips, long topTwips) const override;
    void MoveTo(long leftTwips, long topTwips) override;
    void Centre() override;
    void SetBusyCursor(bool busy) override;
    void ShowSplash(const std::string& versionText) override;
    void HideSplash() override;
    void ShowMain() override;
    void SetTitle(const std::string& title) override;

    // platform::PanelLayout
    long ScreenWidthTwips() const override;
    bool ResizeDisplay(long widthTwips, std::string& error, int& step) override;
    void SelectInterfacePics(long widthTwips, int colorDepth) override;
    void ShowLcdOnly(bool lcdOnly) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QtEventLoop m_loop;
    QtDialogs m_dialogs;
    std::unique_ptr<panel::Program> m_program;
    std::unique_ptr<ElementBinding> m_binding;
    PanelView* m_view = nullptr;
    SpokenStatus* m_spoken = nullptr;
    std::unique_ptr<QWidget> m_splash;
    QLabel* m_splashVersion = nullptr;
    // Last, so it stops forwarding before the program goes.
    std::unique_ptr<KeyForwarder> m_keyForwarder;
};

} // namespace kivo::ui
