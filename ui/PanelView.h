#pragma once
// The painted front panel: the display panel, the keys and the knobs, each bound to its
// display-model element, with clicks, knob turns and jog presses handed to the panel's units.
// It decides nothing itself.

#include "panel/FrontPanel.h"
#include "ui/Accessibility.h"
#include "ui/ElementBinding.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>

class QLabel;

namespace kivo::ui {

class Knob;
class LedDisplay;
class MeterGauge;
class PanelKey;
class PanelScale;

class PanelView final : public Pane {
public:
    // Builds and binds every widget of the panel; `panel` and `binding` outlive the view.
    PanelView(panel::FrontPanel& panel, ElementBinding& binding, QWidget* parent = nullptr);
    ~PanelView() override;

    // Its size at `factor` times the built one: the whole front panel, or in the LCD view the
    // display panel alone. Text in the font `family`.
    QSize ScaleTo(qreal factor, const QString& family);
    // Only the display panel (the LCD view), or the whole front panel.
    void ShowLcdOnly(bool lcdOnly);
    QWidget* DisplayPanel() const { return m_displayPanel; }

    // The key of that element (front-panel, mode, band or jog key), or nullptr.
    PanelKey* Key(const std::string& name) const;
    Knob* MainKnob() const { return m_mainKnob; }
    LedDisplay* FreqDisplay() const { return m_freq; }
    LedDisplay* SubFreqDisplay() const { return m_subFreq; }
    MeterGauge* Meter() const { return m_meter; }
    // What the SCOPE key does: the band scope window is the main window's to open.
    std::function<void()> onScopeKey;

private:
    QWidget* BuildDisplay();
    QWidget* BuildKeys();
    QWidget* BuildKnobs();
    PanelKey* AddKey(const std::string& name);
    QLabel* AddLabel(const std::string& name, const QString& text, QWidget* parent);
    Knob* AddKnob(const char* name, int which);
    // The readings a screen reader gets: the displays in words, the meter, what the knobs set.
    void BindSpoken();
    // Tab goes along the panel's rows: POWER, the displays and the meter, the keys, the knobs.
    void OrderFocus();

    panel::FrontPanel& m_panel;
    ElementBinding& m_binding;
    // Keys whose click belongs to the window rather than the panel's key table.
    std::map<std::string, std::function<void()>> m_clicks;
    // What a press and a release of a key do, for keys that time how long they are held.
    std::map<std::string, std::pair<std::function<void()>, std::function<void()>>> m_presses;
    std::map<std::string, PanelKey*> m_keys;
    QWidget* m_displayPanel = nullptr;
    QWidget* m_powerKey = nullptr;
    QWidget* m_keysPanel = nullptr;
    QWidget* m_knobsPanel = nullptr;
    std::unique_ptr<PanelScale> m_scale;
    qreal m_factor = 1.0;
    QString m_family;
    bool m_lcdOnly = false;
    LedDisplay* m_freq = nullptr;
    LedDisplay* m_subFreq = nullptr;
    LedDisplay* m_memNumber = nullptr;
    MeterGauge* m_meter = nullptr;
    Knob* m_mainKnob = nullptr;
    Knob* m_subKnob = nullptr;
    Knob* m_channelKnob = nullptr;
};

} // namespace kivo::ui
