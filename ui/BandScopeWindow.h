#pragma once
// The band scope window: the frequency boxes, the step and width lists,
// START/STOP, RESET, the progress line, the strip chart and the menus, bound to the display
// model and calling scope::BandScope. Non-modal; it decides nothing itself.

#include "ui/ElementBinding.h"
#include "ui/ProgramParts.h"

#include <QMainWindow>

#include <memory>

class QListWidget;

namespace kivo::ui {

class StripChart;

class BandScopeWindow final : public QMainWindow {
    Q_OBJECT
public:
    // Loads the scope (centre from the main VFO, settings file, list defaults).
    BandScopeWindow(scope::BandScope& scope, platform::DisplayModel& display, platform::Dialogs& dialogs,
                    QWidget* parent);
    ~BandScopeWindow() override;

    StripChart* Chart() const { return m_chart; }
    // File > Save Picture... to this file: the chart as PNG. False when it could not be written.
    bool SavePicture(const QString& path);

protected:
    // The close box: the sweep stops; the settings are not saved.
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    void BindAction(const std::string& name, QAction* a);

    scope::BandScope& m_scope;
    platform::DisplayModel& m_display;
    platform::Dialogs& m_dialogs;
    ElementBinding m_binding;
    StripChart* m_chart = nullptr;
    QListWidget* m_steps = nullptr;
    QListWidget* m_widths = nullptr;
};

// The SCOPE key: opens the window, or raises the one already open.
BandScopeWindow* ShowBandScope(QWidget* parent, const ProgramParts& program);

} // namespace kivo::ui
