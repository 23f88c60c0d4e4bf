#pragma once
// The keyboard's targets in the program: each key's click handler in its unit, the knobs and
// the jog step of Tuning, the meter, and the enabled state the display shows the mouse. The
// window's keys click through the same table.

#include "panel/Keyboard.h"
#include "panel/PanelContext.h"

#include <functional>
#include <map>
#include <string>

namespace kivo::panel {

class FrontPanel;

class PanelKeyTargets final : public KeyTargets {
public:
    // `panel` is the one being built; only its units' addresses are taken here.
    PanelKeyTargets(const PanelContext& ctx, FrontPanel& panel);

    void Press(const std::string& key) override;
    // Whether `key` is a front-panel key with a click handler here (the window's keys use them too).
    bool Handles(const std::string& key) const { return m_clicks.count(key) != 0; }
    void MCKDown() override;
    void MCKUp() override;
    void JogPress(int dir) override;
    void SetupTuningKnob(int knob, int action) override;
    void KnobDetent(int knob, int dir) override;
    void StepFrequency() override;
    void TurnOffLMeter() override;
    void TurnOnLMeter() override;
    bool Enabled(const std::string& element) const override;
    void SpeakState() override;

    // The key that speaks the panel's state; the program's announcements say it.
    std::function<void()> speakState;

private:
    FrontPanel& m_panel;
    platform::DisplayModel& m_display;
    radio::Meter& m_meter;
    std::map<std::string, std::function<void()>> m_clicks;
};

} // namespace kivo::panel
