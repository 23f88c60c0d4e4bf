#include "panel/QuickMemories.h"

namespace kivo::panel {

using platform::Buttons;
using platform::Icon;

QuickMemories::QuickMemories(const PanelContext& ctx, VfoModel& vfo, KeyEnabling& keys, TimerDelay& timer)
    : ContextRefs(ctx), m_vfo(vfo), m_keys(keys), m_timer(timer)
{
    m_display.SetVisible(el::lblQMB, false);
    m_timer.AddUser([this] { return !m_s.MCKOn && (m_s.QMBStore || m_s.QMBRecall); }, [this] { Tick(); });
}

void QuickMemories::Arm(bool& flag)
{
    m_keyPressTime = m_loop.Now();
    flag = true;
    m_keys.ToggleFunctionButtons();
    m_timer.Start();
}

void QuickMemories::PressSto() { Arm(m_s.QMBStore); }
void QuickMemories::PressRcl() { Arm(m_s.QMBRecall); }

void QuickMemories::Disarm()
{
    m_s.QMBStore = false;
    m_s.QMBRecall = false;
    m_lit = false;
    m_display.SetVisible(el::lblQMB, false);
    m_timer.Release();
    m_keys.ToggleFunctionButtons();
}

void QuickMemories::Tick()
{
    m_lit = !m_lit;
    m_display.SetVisible(el::lblQMB, m_lit);
    if (m_loop.Now() - m_keyPressTime >= kQuickMemoryTimeout)
        Disarm();
}

void QuickMemories::QMBinfo(int n)
{
    if (n < 0 || n >= state::kQuickMemCount)
        return;
    state::QuickMemRec& q = m_s.QuickMem[std::size_t(n)];
    if (m_s.QMBStore) {
        Disarm();
        q = {m_s.VFOMB, m_s.VFOSB, m_s.BandIdxMB, m_s.BandIdxSB};
    } else if (m_s.QMBRecall && q.VFO1.Freq != 0) {
        Disarm();
        m_meter.TurnOffLMeter();
        m_s.VFOMB = q.VFO1;
        m_s.BandIdxMB = Integer(BandSlot(q.Band1));
        m_vfo.SendInfoToRadioVFOMB(m_s.VFOMB);
        // As a band key does: outside PMS the knobs tune the new band's whole coverage.
        if (m_s.VFOMRMode != state::kModePMS)
            m_vfo.UseCoverageLimits(m_s.BandIdxMB);
        m_meter.TurnOnLMeter();
    } else if (m_s.QMBRecall) {
        Disarm();
        m_dialogs.Beep();
        m_dialogs.MessageBox("The Quick Memory position " + std::to_string(n) +
                                 " does not contain any information. Please store information in this position "
                                 "before attempting to recall.",
                             "Quick Memory Recall", Icon::Exclamation, Buttons::Ok);
    }
}

void QuickMemories::SwitchOff()
{
    if (m_s.QMBStore || m_s.QMBRecall)
        Disarm();
}

} // namespace kivo::panel
