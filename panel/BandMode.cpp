#include "panel/BandMode.h"

namespace kivo::panel {

using platform::Buttons;
using platform::Icon;
using state::kModeMR;
using state::kModePMS;
using state::kModeVFO;

BandMode::BandMode(const PanelContext& ctx, VfoModel& vfo, Keypad& keypad)
    : ContextRefs(ctx), m_vfo(vfo), m_keypad(keypad)
{
    for (int b = 0; b < kBandKeyCount; ++b)
        m_display.SetCaption(el::BandButton(b), kBandKeyCaptions[std::size_t(b)]);
}

Long BandMode::IntoBandEdges(Long freq, int band) const
{
    const auto& bd = m_s.BandData;
    if (freq > bd.BandHigh[band])
        return bd.BandHigh[band];
    if (freq < bd.BandLow[band])
        return bd.BandLow[band];
    return freq;
}

void BandMode::ShowMemoryTune()
{
    m_s.MTOn = true;
    m_display.SetVisible(el::lblMT, true);
}

void BandMode::PressBand(int band)
{
    if (band < 0 || band >= kBandKeyCount)
        return;
    const Integer mode = m_s.VFOMRMode;
    if (m_s.SubSelected && mode == kModePMS)
        return;
    m_meter.TurnOffLMeter();
    const auto i = Integer(band);
    if (mode != kModePMS)
        m_vfo.UseCoverageLimits(i);
    if (m_s.SubSelected) {
        if (mode == kModeVFO)
            m_vfo.SaveInfoVFOSB();
        m_s.BandIdxSB = i;
        m_vfo.GetInfoVFOSB();
        m_s.VFOSB.Freq = IntoBandEdges(m_s.VFOSB.Freq, band);
        m_vfo.SendInfoToRadioVFOSB();
        m_vfo.SaveInfoVFOSB();
    } else if (mode == kModePMS) {
        m_vfo.SavePMSInfo();
        m_s.BandIdxMB = i;
        m_vfo.GetPMSInfo();
        m_vfo.SendInfoToRadioVFOMB(m_s.VFOMB);
        m_vfo.SavePMSInfo();
    } else {
        if (mode == kModeVFO)
            m_vfo.SaveInfoVFOMB();
        m_s.BandIdxMB = i;
        m_vfo.GetInfoVFOMB();
        m_s.VFOMB.Freq = IntoBandEdges(m_s.VFOMB.Freq, band);
        m_vfo.SendInfoToRadioVFOMB(m_s.VFOMB);
        m_vfo.SaveInfoVFOMB();
        if (mode == kModeMR)
            ShowMemoryTune(); // a VFO tuned while in MR
    }
    m_meter.TurnOnLMeter();
}

void BandMode::PressBandUp()
{
    if (!m_keypad.DigitKey(8))
        BandStep(-1);
}

void BandMode::PressBandDown()
{
    if (!m_keypad.DigitKey(7))
        BandStep(1);
}

void BandMode::BandStep(int delta)
{
    const auto next = [delta](Integer b) { return Integer((BandSlot(b) + delta + kBandKeyCount) % kBandKeyCount); };
    const Integer mode = m_s.VFOMRMode;
    m_meter.TurnOffLMeter();
    if (m_s.ClarOn && hooks.clarKey)
        hooks.clarKey();
    if (m_s.SubSelected) {
        if (mode == kModeVFO)
            m_vfo.SaveInfoVFOSB();
        m_s.BandIdxSB = next(m_s.BandIdxSB);
        // In every function: a sub VFO left on the old band's frequency would contradict its band.
        m_vfo.GetInfoVFOSB();
        if (mode != kModePMS)
            m_vfo.UseCoverageLimits(m_s.BandIdxSB);
        m_vfo.SendInfoToRadioVFOSB();
    } else {
        if (mode == kModeVFO)
            m_vfo.SaveInfoVFOMB();
        else if (mode == kModePMS)
            m_vfo.SavePMSInfo();
        m_s.BandIdxMB = next(m_s.BandIdxMB);
        if (mode == kModePMS) {
            m_vfo.GetPMSInfo();
        } else {
            m_vfo.GetInfoVFOMB();
            m_vfo.UseCoverageLimits(m_s.BandIdxMB);
            if (mode == kModeMR)
                ShowMemoryTune();
        }
        m_vfo.SendInfoToRadioVFOMB(m_s.VFOMB);
    }
    m_meter.TurnOnLMeter();
}

void BandMode::PressMode(int mode)
{
    if (mode < 0 || mode >= kModeKeyCount)
        return;
    m_meter.TurnOffLMeter();
    if (m_s.SubSelected) {
        m_s.VFOSB.Mode = Integer(mode);
        m_cat.SendModeSB();
    } else {
        m_s.VFOMB.Mode = Integer(mode);
        m_cat.SendModeMB();
        if ((m_s.Settings.AutoRptShift144 != 0 || m_s.Settings.AutoRptShift430 != 0) && hooks.autoRptShift)
            hooks.autoRptShift();
    }
    // The panel then shows the mode the radio really took.
    m_cat.ReadFreqModeFromRadio();
    m_meter.TurnOnLMeter();
}

void BandMode::PressHome()
{
    if (m_s.MCKOn) {
        StoreHome();
        return;
    }
    if (m_s.HomeOn) {
        LeaveHome();
        return;
    }
    const state::MemRec home = m_s.HomeMem[BandSlot(m_s.BandIdxMB)];
    if (home.VFO1.Freq <= 0) {
        m_dialogs.Beep();
        m_dialogs.MessageBox("You must save HOME information for the current band before you can recall it.", "Help",
                             Icon::Exclamation, Buttons::Ok);
        return;
    }
    RecallHome(home);
}

void BandMode::StoreHome()
{
    state::MemRec& home = m_s.HomeMem[BandSlot(m_s.BandIdxMB)];
    home.VFO1 = m_s.VFOMB;
    home.Band1 = m_s.BandIdxMB;
    if (m_s.SplitOn) {
        home.VFO2 = m_s.VFOSB;
        home.Band2 = m_s.BandIdxSB;
        home.Split = -1;
    } else {
        home.Split = 0;
    }
    if (hooks.turnOffMCK)
        hooks.turnOffMCK();
}

void BandMode::RecallHome(const state::MemRec& home)
{
    m_s.HomeOn = true;
    if (m_s.VFOMRMode == kModeVFO) {
        m_vfo.SaveInfoVFOMB();
        m_vfo.SaveInfoVFOSB();
    } else if (m_s.VFOMRMode == kModePMS) {
        m_vfo.SavePMSInfo();
    }
    if (m_s.ClarOn && hooks.clarKey)
        hooks.clarKey();
    if (m_s.PRIOn) {
        m_s.PRIOn = false;
        if (hooks.stopPriorityMonitor)
            hooks.stopPriorityMonitor();
    }
    m_display.SetCaption(el::ledMRnumber, "H");
    m_display.SetVisible(el::ledMRnumber, true);
    m_s.VFOMB = home.VFO1;
    m_s.BandIdxMB = Integer(BandSlot(home.Band1));
    if (home.Split == 0) {
        m_vfo.SendInfoToRadioVFOMB(m_s.VFOMB);
        return;
    }
    m_s.VFOSB = home.VFO2;
    m_s.BandIdxSB = Integer(BandSlot(home.Band2));
    m_vfo.SendInfoToRadioVFOMB(m_s.VFOMB);
    m_cat.ToggleVFOAB();
    m_vfo.SendInfoToRadioVFOSB();
    m_cat.ToggleVFOAB();
    if (hooks.splitKey)
        hooks.splitKey();
}

void BandMode::LeaveHome()
{
    // Re-entering the function in use reloads its VFOs and clears HomeOn.
    m_vfo.ReenterFunction(hooks);
}

void BandMode::SwitchOff()
{
    if (m_s.HomeOn)
        LeaveHome();
}

} // namespace kivo::panel
