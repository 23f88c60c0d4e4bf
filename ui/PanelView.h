#pragma once
// The painted front panel: the display panel, the keys and the knobs, each bound to its
// display-model element, with clicks, knob turns and jog presses handed to the panel's units.
// It decides nothing itself.

#include "panel/FrontPanel.h"
#include "ui/ElementBinding.h"

#include <QWidget>

#include <functional>
#include <map>
#include <string>
#include <utility>

class QLabel;

namespace kivo::ui {

class Knob;
class LedDisplay;
class MeterGauge;
class PanelKey;

class PanelView final : public QWidget {
public:
    // Builds and binds every widget of the panel; `panel` and `binding` outlive the view.
    PanelView(panel::FrontPanel& panel, ElementBinding& binding, QWidget* parent = nullptr);

    // The key of that element (front-panel, mode, band or jog key), or nullptr.
    PanelKey* Key(const std::string& name) const;
    Knob* MainKnob() const { return m_mainKnob; }
    LedDisplay* FreqDisplay() const { return m_freq; }
    LedDisplay* SubFreqDisplay() const { return m_subFreq; }
    // What the SCOPE key does: the band scope window is the main window's to open.
    std::function<void()> onScopeKey;

private:
    QWidget* BuildDisplay();
    QWidget* BuildKeys();
    QWidget* BuildKnobs();
    PanelKey* AddKey(const std::string& name);
    QLabel* AddLabel(const std::string& name, const QString& text, QWidget* parent);
    Knob* AddKnob(const char* name, int which);

    panel::FrontPanel& m_panel;
    ElementBinding& m_binding;
    // What a click on a key does; keys of features still to come have no entry.
    std::map<std::string, std::function<void()>> m_clicks;
    // What a press and a release of a key do, for keys that time how long they are held.
    std::map<std::string, std::pair<std::function<void()>, std::function<void()>>> m_presses;
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
