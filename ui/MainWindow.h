#pragma once
// The front-panel window: binds every painted widget to its display-model element and hands
// clicks, knob turns and menu picks to the panel logic. It decides nothing itself.

#include "panel/Program.h"
#include "platform/Window.h"
#include "ui/ElementBinding.h"
#include "ui/QtDialogs.h"
#include "ui/QtEventLoop.h"

#include <QMainWindow>
#include <QTextBrowser>

#include <memory>
#include <string>

class QLabel;
class QMenu;
class QWidget;

namespace kivo::ui {

class Knob;
class LedDisplay;
class MeterGauge;
class PanelKey;

class MainWindow final : public QMainWindow, public platform::Window {
    Q_OBJECT
public:
    explicit MainWindow(const std::string& dataDir, QWidget* parent = nullptr);
    ~MainWindow() override;

    panel::Program& Program() { return *m_program; }
    QtEventLoop& Loop() { return m_loop; }
    QtDialogs& Dialogs() { return m_dialogs; }
    Knob* MainKnob() const { return m_mainKnob; }
    LedDisplay* FreqDisplay() const { return m_freq; }
    LedDisplay* SubFreqDisplay() const { return m_subFreq; }
    PanelKey* Key(const std::string& name) const;

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

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget* BuildDisplay();
    QWidget* BuildKeys();
    QWidget* BuildKnobs();
    void BuildMenus();
    PanelKey* AddKey(const std::string& name, std::function<void()> onClick = {});
    QLabel* AddLabel(const std::string& name, const QString& text, QWidget* parent);
    void ConnectKnob(Knob* knob, int which);
    void ShowTuningSteps();

    QtEventLoop m_loop;
    QtDialogs m_dialogs;
    std::unique_ptr<panel::Program> m_program;
    std::unique_ptr<ElementBinding> m_binding;
    std::unique_ptr<QWidget> m_splash;
    QLabel* m_splashVersion = nullptr;
    std::map<std::string, PanelKey*> m_keys;
    QWidget* m_displayPanel = nullptr;
    LedDisplay* m_freq = nullptr;
    LedDisplay* m_subFreq = nullptr;
    LedDisplay* m_memNumber = nullptr;
    MeterGauge* m_meter = nullptr;
    Knob* m_mainKnob = nullptr;
    Knob* m_subKnob = nullptr;
    Knob* m_channelKnob = nullptr;
};

} // namespace kivo::ui
