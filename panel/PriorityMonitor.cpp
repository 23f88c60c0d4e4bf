#include "panel/PriorityMonitor.h"

#include <algorithm>

namespace kivo::panel {

using platform::Buttons;
using platform::Icon;
using state::kModeMR;
using state::kModePMS;
using state::kModeVFO;

namespace {

constexpr int kPriDigit = 5;

} // namespace

PriorityMonitor::PriorityMonitor(const PanelContext& ctx, VfoModel& vfo, KeyEnabling& keys, Keypad& keypad,
                                 Memories& memories, Pms& pms, Scanner& scanner)
    : ContextRefs(ctx), m_vfo(vfo), m_keys(keys), m_keypad(keypad), m_memories(memories), m_pms(pms),
      m_scanner(scanner), m_timer(ctx.loop.CreateTimer())
{
    m_timer->SetInterval(kPriIntervals[2]);
    for (int i = 0; i < 4; ++i)
        m_display.SetCaption(el::mnuPRIspeed(i), kPriSpeedCaptions[i]);
    m_timer->onTick = [this] { Check(); };
}

void PriorityMonitor::PressPri()
{
    if (m_keypad.DigitKey(kPriDigit))
        return;
    if (m_s.PRIOn) {
        StopMonitoring();
        return;
    }
    // With SUB the radio is on the sub VFO, where the check's channel 0 and its return would
    // land, and SUB leaves SCAN to start a scan under the check's own wait.
    if (m_s.SubSelected) {
        m_dialogs.Beep();
        return;
    }
    if (m_timer->Interval() == 0) {
        m_dialogs.MessageBox("The priority monitor interval under the Settings Menu has been turned off. You must "
                             "select a priority monitor interval before monitoring can take place.",
                             "Priority Monitor Interval OFF", Icon::Exclamation, Buttons::Ok);
        return;
    }
    if (m_s.MemData[0].VFO1.Freq == 0) {
        m_dialogs.Beep();
        m_dialogs.MessageBox("You must save frequency information in memory channel 0 before selecting the Priority "
                             "(PRI) function.",
                             "Help", Icon::Exclamation, Buttons::Ok);
        return;
    }
    EndHold(); // a hold that power-off cut short belongs to no check now
    m_s.PRIOn = true;
    m_s.ScanDir = 1;
    if (m_s.VFOMRMode == kModeVFO) {
        m_vfo.SaveInfoVFOMB();
        m_vfo.SaveInfoVFOSB();
    } else if (m_s.VFOMRMode == kModePMS) {
        m_pms.SavePMSInfo();
    }
    m_display.SetCaption(el::ledMRnumber, "Pr");
    m_display.SetVisible(el::ledMRnumber, true);
    m_display.SetVisible(el::lblCH, false);
    m_keys.ToggleFunctionButtons();
    m_timer->SetEnabled(true);
}

void PriorityMonitor::ChoosePriSpeed(int index)
{
    if (index < 0 || index > 3)
        index = 2;
    for (int i = 0; i < 4; ++i)
        m_display.SetChecked(el::mnuPRIspeed(i), i == index);
    m_s.Settings.PRISpeed = Integer(index);
    if (m_holding)
        return; // the hold's end takes the new interval
    const bool running = m_timer->Enabled();
    m_timer->SetInterval(kPriIntervals[index]);
    m_timer->SetEnabled(running);
}

void PriorityMonitor::SwitchOff()
{
    if (m_s.PRIOn)
        StopMonitoring();
    EndHold();
}

void PriorityMonitor::StopMonitoring()
{
    m_s.ScanDir = 0;
    m_memories.PressVfoMr();
    // VFO shows no memory number; the "Pr" mark goes with monitoring.
    if (m_s.VFOMRMode == kModeVFO)
        m_display.SetVisible(el::ledMRnumber, false);
}

void PriorityMonitor::Check()
{
    // In another unit's toggle–send–toggle, channel 0 and the return would land on the other
    // VFO, and inside a frequency read its status poll would take the reply: the check waits for
    // the next tick.
    if (m_cat.MidToggle() || m_cat.Reading())
        return;
    m_timer->SetEnabled(false);
    if (!m_holding) {
        m_meter.TurnOffLMeter();
        m_display.SetEnabled(el::MainKnob, false);
        m_display.SetEnabled(el::ChannelKnob, false);
        m_userMode = m_s.VFOMRMode;
        if (m_userMode == kModeVFO) {
            m_vfo.SaveInfoVFOMB();
            m_vfo.SaveInfoVFOSB();
        } else if (m_userMode == kModePMS) {
            m_pms.SavePMSInfo();
        }
        m_s.PrevMemPos = m_s.CurMemPos;
        m_s.CurMemPos = 1;
        m_memories.ChangeMemory(-1);
        m_display.SetVisible(el::lblCH, true);
    }

    const Scanner::Waited w = m_scanner.AwaitStatus(true);
    if (w == Scanner::Waited::Holding) {
        // Channel 0 is busy: listen there, read again soon from the timer, the panel free
        // meanwhile.
        if (!m_holding)
            m_timer->SetInterval(kHoldMs);
        m_holding = true;
        m_timer->SetEnabled(true);
        return;
    }
    EndHold();
    switch (w) {
    case Scanner::Waited::Stopped:
        // Monitoring was switched off meanwhile and has already returned to the user's
        // function; the timer stays off, but the knobs and meter come back.
        ReenableAfterCheck();
        return;
    case Scanner::Waited::Silent: GiveUp(); return;
    default: break;
    }
    ReturnToUser(m_userMode);
    m_display.SetCaption(el::ledMRnumber, "Pr");
    m_timer->SetEnabled(true);
    ReenableAfterCheck();
}

void PriorityMonitor::StopTimer()
{
    m_timer->SetEnabled(false);
    m_s.ScanDir = 0;
    // Switched off while listening on a busy channel 0: the knobs and meter come back.
    if (m_holding) {
        EndHold();
        ReenableAfterCheck();
    }
}

void PriorityMonitor::EndHold()
{
    if (!m_holding)
        return;
    m_holding = false;
    m_timer->SetInterval(kPriIntervals[std::clamp<int>(m_s.Settings.PRISpeed, 0, 3)]);
}

void PriorityMonitor::ReturnToUser(Integer mode)
{
    // Busy and the description were channel 0's.
    m_display.SetVisible(el::lblBusy, false);
    if (mode == kModeVFO) {
        m_display.SetVisible(el::lblMemoryDesc, false);
        m_vfo.DisplayVFOInfo();
    } else if (mode == kModePMS) {
        m_pms.ChangeToPMSfunction();
    } else if (mode == kModeMR) {
        m_s.CurMemPos = m_s.PrevMemPos - 1;
        m_memories.ChangeMemory(1);
        m_display.SetVisible(el::lblCH, false);
    }
}

void PriorityMonitor::ReenableAfterCheck()
{
    m_keys.ChangeTuningKnob();
    if (m_s.CATOn)
        m_meter.TurnOnLMeter();
}

void PriorityMonitor::GiveUp()
{
    // Stop monitoring as the PRI key would, back on the user's function, and say why.
    StopMonitoring();
    ReenableAfterCheck();
    m_dialogs.MessageBox("The radio is not answering the priority monitor's status requests. Priority monitoring has "
                         "been switched off; check the radio and its cable.",
                         "Priority Monitor", Icon::Exclamation, Buttons::Ok);
}

} // namespace kivo::panel
