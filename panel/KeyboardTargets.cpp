#include "panel/KeyboardTargets.h"

#include "panel/FrontPanel.h"

namespace kivo::panel {

PanelKeyTargets::PanelKeyTargets(const PanelContext& ctx, FrontPanel& panel)
    : m_panel(panel), m_display(ctx.display), m_meter(ctx.meter)
{
    FrontPanel& p = m_panel;
    m_clicks = {
        {el::CATbutton, [&p] { p.Power().CATbutton_Click(); }},
        {el::SYNCbutton, [&p] { p.VfoModel().SYNCbutton_Click(); }},
        {el::SEARCHbutton, [&p] { p.Scanner().SEARCHbutton_Click(); }},
        {el::FASTbutton, [&p] { p.Tuning().FASTbutton_Click(); }},
        {el::LOCKbutton, [&p] { p.Tuning().LOCKbutton_Click(); }},
        {el::MhzDownButton, [&p] { p.Tuning().MhzButton_Click(false); }},
        {el::MhzUpButton, [&p] { p.Tuning().MhzButton_Click(true); }},
        {el::ENTbutton, [&p] { p.Keypad().ENTbutton_Click(); }},
        {el::DOPbutton, [&p] { p.Keypad().DOPbutton_Click(); }},
        {el::BandUpButton, [&p] { p.BandMode().BandUpButton_Click(); }},
        {el::BandDownButton, [&p] { p.BandMode().BandDownButton_Click(); }},
        {el::HOMEbutton, [&p] { p.BandMode().HOMEbutton_Click(); }},
        {el::ABbutton, [&p] { p.VfoOperations().ABbutton_Click(); }},
        {el::SWAPbutton, [&p] { p.VfoOperations().SWAPbutton_Click(); }},
        {el::SUBbutton, [&p] { p.VfoOperations().SUBbutton_Click(); }},
        {el::SPLITbutton, [&p] { p.Split().SPLITbutton_Click(); }},
        {el::CLARbutton, [&p] { p.Clarifier().CLARbutton_Click(); }},
        {el::VFOMRbutton, [&p] { p.Memories().VFOMRbutton_Click(); }},
        {el::STObutton, [&p] { p.QuickMemories().STObutton_Click(); }},
        {el::RCLbutton, [&p] { p.QuickMemories().RCLbutton_Click(); }},
        {el::RPTbutton, [&p] { p.RepeaterTones().RPTbutton_Click(); }},
        {el::REVbutton, [&p] { p.RepeaterTones().REVbutton_Click(); }},
        {el::TONEbutton, [&p] { p.RepeaterTones().TONEbutton_Click(); }},
        {el::MOXbutton, [&p] { p.Transmit().MOXbutton_Click(); }},
        {el::PMSbutton, [&p] { p.Pms().PMSbutton_Click(); }},
        {el::PRIbutton, [&p] { p.PriorityMonitor().PRIbutton_Click(); }},
        {el::SCANbutton, [&p] { p.Scanner().SCANbutton_Click(); }},
    };
    for (int b = 0; b < kBandKeyCount; ++b)
        m_clicks[el::BandButton(b)] = [&p, b] { p.BandMode().BandButton_Click(b); };
    for (int m = 0; m < kModeKeyCount; ++m)
        m_clicks[el::ModeButton(m)] = [&p, m] { p.BandMode().ModeButton_Click(m); };
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
