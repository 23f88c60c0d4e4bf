#include "panel/KeyboardTargets.h"

#include "panel/FrontPanel.h"

namespace kivo::panel {

PanelKeyTargets::PanelKeyTargets(const PanelContext& ctx, FrontPanel& panel)
    : m_panel(panel), m_display(ctx.display), m_meter(ctx.meter)
{
    FrontPanel& p = m_panel;
    m_clicks = {
        {el::PowerButton, [&p] { p.Power().PressPower(); }},
        {el::SYNCbutton, [&p] { p.VfoModel().PressSync(); }},
        {el::SEARCHbutton, [&p] { p.Scanner().PressSearch(); }},
        {el::FASTbutton, [&p] { p.Tuning().PressFast(); }},
        {el::LOCKbutton, [&p] { p.Tuning().PressLock(); }},
        {el::MhzDownButton, [&p] { p.Tuning().PressMhz(false); }},
        {el::MhzUpButton, [&p] { p.Tuning().PressMhz(true); }},
        {el::ENTbutton, [&p] { p.Keypad().PressEnt(); }},
        {el::DOPbutton, [&p] { p.Keypad().PressDop(); }},
        {el::BandUpButton, [&p] { p.BandMode().PressBandUp(); }},
        {el::BandDownButton, [&p] { p.BandMode().PressBandDown(); }},
        {el::HOMEbutton, [&p] { p.BandMode().PressHome(); }},
        {el::ABbutton, [&p] { p.VfoOperations().PressAToB(); }},
        {el::SWAPbutton, [&p] { p.VfoOperations().PressSwap(); }},
        {el::SUBbutton, [&p] { p.VfoOperations().PressSub(); }},
        {el::SPLITbutton, [&p] { p.Split().PressSplit(); }},
        {el::CLARbutton, [&p] { p.Clarifier().PressClar(); }},
        {el::VFOMRbutton, [&p] { p.Memories().PressVfoMr(); }},
        {el::STObutton, [&p] { p.QuickMemories().PressSto(); }},
        {el::RCLbutton, [&p] { p.QuickMemories().PressRcl(); }},
        {el::RPTbutton, [&p] { p.RepeaterTones().PressRpt(); }},
        {el::REVbutton, [&p] { p.RepeaterTones().PressRev(); }},
        {el::TONEbutton, [&p] { p.RepeaterTones().PressTone(); }},
        {el::MOXbutton, [&p] { p.Transmit().PressMox(); }},
        {el::PMSbutton, [&p] { p.Pms().PressPms(); }},
        {el::PRIbutton, [&p] { p.PriorityMonitor().PressPri(); }},
        {el::SCANbutton, [&p] { p.Scanner().PressScan(); }},
    };
    for (int b = 0; b < kBandKeyCount; ++b)
        m_clicks[el::BandButton(b)] = [&p, b] { p.BandMode().PressBand(b); };
    for (int m = 0; m < kModeKeyCount; ++m)
        m_clicks[el::ModeButton(m)] = [&p, m] { p.BandMode().PressMode(m); };
}

void PanelKeyTargets::Press(const std::string& key)
{
    if (auto it = m_clicks.find(key); it != m_clicks.end())
        it->second();
}

void PanelKeyTargets::MCKDown() { m_panel.MemoryCheck().MCKbutton_MouseDown(); }
void PanelKeyTargets::MCKUp() { m_panel.MemoryCheck().MCKbutton_MouseUp(); }
void PanelKeyTargets::JogPress(int dir) { m_panel.Tuning().JogButton_Press(dir); }
void PanelKeyTargets::SetupTuningKnob(int knob, int action) { m_panel.Tuning().SetupTuningKnob(knob, action); }
void PanelKeyTargets::KnobDetent(int knob, int dir) { m_panel.Tuning().KnobDetent(knob, dir); }
void PanelKeyTargets::StepFrequency() { m_panel.Tuning().StepFrequency(); }
void PanelKeyTargets::TurnOffLMeter() { m_meter.TurnOffLMeter(); }
void PanelKeyTargets::TurnOnLMeter() { m_meter.TurnOnLMeter(); }

void PanelKeyTargets::SpeakState()
{
    if (speakState)
        speakState();
}

bool PanelKeyTargets::Enabled(const std::string& element) const
{
    // The enabled state that decides whether the mouse reaches a key decides for the keyboard too.
    return m_display.Get(element).enabled;
}

} // namespace kivo::panel
