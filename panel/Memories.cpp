#include "panel/Memories.h"

#include <algorithm>
#include <cstdio>

namespace kivo::panel {

using platform::Buttons;
using platform::Icon;
using state::kMemCount;
using state::kModeMR;
using state::kModePMS;
using state::kModeVFO;

std::string MemoryNumberText(int pos)
{
    char text[8];
    std::snprintf(text, sizeof text, "%03d", WrapPosition(pos));
    return text;
}

int WrapPosition(int pos) { return ((pos % kMemCount) + kMemCount) % kMemCount; }

Memories::Memories(const PanelContext& ctx, VfoModel& vfo, KeyEnabling& keys)
    : ContextRefs(ctx), m_shown(ctx.s, ctx.display), m_vfo(vfo), m_keys(keys)
{
}

bool Memories::AnyUsed() const
{
    return std::any_of(m_s.MemData.begin(), m_s.MemData.end(), [](const state::MemRec& m) { return m.Used(); });
}

void Memories::PressVfoMr()
{
    const Integer mode = m_s.VFOMRMode;
    if (m_s.PRIOn) {
        m_s.PRIOn = false;
        m_s.ScanDir = 0; // the monitor's; left set, it holds the dial reading off for good
        if (hooks.stopPriorityMonitor)
            hooks.stopPriorityMonitor();
        if (mode == kModeMR) {
            m_s.CurMemPos = m_s.PrevMemPos;
            ChangeToMRfunction();
        } else if (mode == kModeVFO) {
            m_vfo.ChangeToVFOfunction();
        } else if (hooks.changeToPMSfunction) {
            hooks.changeToPMSfunction();
        }
        return;
    }
    if (mode == kModePMS) {
        if (hooks.pmsKey)
            hooks.pmsKey();
        return;
    }
    if (mode == kModeMR && m_s.MTOn) {
        ChangeToMRfunction(); // back to the stored memory
        return;
    }
    if (mode == kModeMR || m_s.HomeOn) {
        m_vfo.ChangeToVFOfunction();
        return;
    }
    // MemCount is only a counter, so the database itself is asked as well.
    if (m_s.MemCount == 0 || !AnyUsed()) {
        m_dialogs.Beep();
        m_dialogs.MessageBox("You must either open a memory (*.MEM) file containing saved frequency information, or "
                             "save some frequency information to memory before selecting the MR function.",
                             "Help", Icon::Exclamation, Buttons::Ok);
        return;
    }
    ChangeToMRfunction();
}

void Memories::ChangeToMRfunction()
{
    if (!AnyUsed()) {
        // Nothing to show: MR is not entered, or is left (the last memory was deleted meanwhile).
        m_dialogs.Beep();
        if (m_s.VFOMRMode != kModeVFO || m_s.HomeOn)
            m_vfo.ChangeToVFOfunction();
        return;
    }
    m_display.SetVisible(el::lblMemoryDesc, true);
    if (m_s.HomeOn || m_s.SplitOn) {
        m_s.HomeOn = false;
        if (m_s.SplitOn) {
            if (hooks.splitKey)
                hooks.splitKey();
            m_vfo.GetInfoVFOSB();
            m_vfo.SendSubVfo();
        }
        m_display.SetVisible(el::ledMRnumber, false);
    }
    if (m_s.ClarOn && hooks.clarKey)
        hooks.clarKey();
    if (m_s.VFOMRMode == kModeVFO) {
        m_vfo.SaveInfoVFOMB();
        m_vfo.SaveInfoVFOSB();
    } else if (m_s.VFOMRMode == kModePMS) {
        m_vfo.SavePMSInfo();
    }
    m_s.VFOMRMode = kModeMR;
    // The stored memory is shown again, not a VFO tuned away from it.
    m_s.MTOn = false;
    m_display.SetVisible(el::lblMT, false);
    m_keys.ToggleFunctionButtons();
    m_keys.ChangeTuningKnob();
    m_meter.TurnOffLMeter();
    m_s.CurMemPos = WrapPosition(m_s.CurMemPos) - 1;
    ChangeMemory(1);
    m_meter.TurnOnLMeter();
    m_display.SetVisible(el::ledMRnumber, true);
    m_display.SetVisible(el::lblCH, true);
    m_vfo.UseCoverageLimits(m_s.BandIdxMB);
    m_keys.ChangeTuningKnob();
}

bool Memories::ChangeMemory(int step)
{
    if (m_s.MCKOn) {
        m_s.CurMemPos = WrapPosition(m_s.CurMemPos + step);
        m_display.SetCaption(el::ledMRnumber, MemoryNumberText(m_s.CurMemPos));
        m_display.SetVisible(el::lblSKIP, Current().Skip != 0);
        DisplayMCKinfo();
        return true;
    }
    // With SUB the radio works the sub VFO: a memory recalled now would land there.
    if (m_s.SubSelected) {
        m_dialogs.Beep();
        return false;
    }
    // One full round at most: a counter that says a memory is used does not make it so.
    int pos = m_s.CurMemPos;
    bool found = false;
    for (int n = 0; n < kMemCount && !found; ++n) {
        pos = WrapPosition(pos + step);
        found = m_s.MemData[std::size_t(pos)].Used();
        if (step == 0)
            break;
    }
    if (!found) {
        m_dialogs.Beep();
        m_s.CurMemPos = WrapPosition(m_s.CurMemPos);
        return false;
    }
    m_s.CurMemPos = pos;
    const state::MemRec& m = Current();
    m_display.SetVisible(el::lblSKIP, m.Skip != 0);
    m_display.SetCaption(el::ledMRnumber, MemoryNumberText(pos));
    GetMemoryInfo();
    // The radio's other VFO and split follow the memory: a split memory's transmit VFO goes there
    // and split on, and a memory without split ends a split the last one left on the radio.
    if (m.Split == -1) {
        m_vfo.SendSubVfo();
        m_cat.SendSplitOn();
    } else if (m_s.RadioSplitOn && !m_s.SplitOn) {
        m_cat.SendSplitOff();
    }
    m_display.SetCaption(el::lblMemoryDesc, m.Desc.Text());
    // The decimal key follows whether this memory is a split one.
    m_keys.ToggleFunctionButtons();
    return true;
}

void Memories::GetMemoryInfo()
{
    const state::MemRec& m = Current();
    m_s.VFOMB = m.VFO1;
    m_s.BandIdxMB = Integer(BandSlot(m.Band1));
    m_s.VFOMB.RptOffset = m_s.BandData.BandVFOMB[std::size_t(m_s.BandIdxMB)].RptOffset;
    m_vfo.SendInfoToRadioVFOMB(m_s.VFOMB);
    if (m.Split != -1) {
        m_display.SetVisible(el::lblRXTX, false);
        return;
    }
    m_s.VFOSB = m.VFO2;
    m_s.BandIdxSB = Integer(BandSlot(m.Band2));
    m_shown.ShowFreqSB();
    m_shown.ShowModeLabels(el::lblSBmode.name, m_s.VFOSB.Mode);
    m_display.SetVisible(el::lblRXTX, true);
}

void Memories::DisplayMCKinfo()
{
    const state::VFOInfo& v = Current().VFO1;
    if (v.Freq != 0) {
        m_display.SetCaption(el::ledFreq, radio::FreqText(v.Freq));
        m_shown.ShowModeLabels(el::lblMBmode.name, v.Mode);
        m_shown.ShowRptDirection(v.RptDir);
        m_shown.ShowToneLabels(true, v.ToneMode);
        // Shown only, never sent: the cache must not take the channel for what the radio holds,
        // or leaving the check another way (File New) would skip sending what differs from it.
        m_cat.ResetLastInfoVFO();
        return;
    }
    m_display.SetCaption(el::ledFreq, "");
    for (int k = 0; k < 8; ++k)
        m_display.SetVisible(el::lblMBmode(k), false);
    for (int i = 0; i < 2; ++i)
        m_display.SetVisible(el::ImgRPTdirection(i), false);
    for (const char* n : {el::lblMainENC, el::lblMainDEC, el::lblMainDCS})
        m_display.SetVisible(n, false);
    m_cat.ResetLastInfoVFO();
}

void Memories::SaveVFOInfoToMemory(int pos)
{
    state::MemRec& m = m_s.MemData[std::size_t(WrapPosition(pos))];
    if (m.VFO1.Freq == 0)
        ++m_s.MemCount;
    m.VFO1 = m_s.VFOMB;
    m.Band1 = m_s.BandIdxMB;
    if (m_s.SplitOn) {
        m.Split = -1;
        m.VFO2 = m_s.VFOSB;
        m.Band2 = m_s.BandIdxSB;
    } else {
        m.Split = 0; // VFO2 and Band2 keep what they held; a recall ignores them
    }
    m.Skip = 0;
}

} // namespace kivo::panel
