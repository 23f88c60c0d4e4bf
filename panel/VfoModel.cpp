#include "panel/VfoModel.h"

#include <cstdlib>

namespace kivo::panel {

VfoModel::VfoModel(const PanelContext& ctx, KeyEnabling& keys) : ContextRefs(ctx), m_keys(keys)
{
    for (int k = 0; k < 8; ++k) {
        const char* caption = radio::ModeTable[k].caption;
        m_display.SetCaption(el::lblMBmode(k), caption);
        m_display.SetVisible(el::lblMBmode(k), false);
        m_display.SetCaption(el::lblSBmode(k), caption);
        m_display.SetVisible(el::lblSBmode(k), false);
    }
}

void VfoModel::SendTunedFreq()
{
    if (m_s.SubSelected)
        m_cat.SendFreqSB();
    else
        m_cat.SendFreqMB();
}

void VfoModel::GetLastVFOindices()
{
    m_s.BandIdxMB = m_s.BandData.LastBandMB;
    m_s.BandIdxSB = m_s.BandData.LastBandSB;
}

void VfoModel::GetInfoVFOMB() { m_s.VFOMB = m_s.BandData.BandVFOMB[BandSlot(m_s.BandIdxMB)]; }
void VfoModel::GetInfoVFOSB() { m_s.VFOSB = m_s.BandData.BandVFOSB[BandSlot(m_s.BandIdxSB)]; }

void VfoModel::SaveInfoVFOMB()
{
    const int b = BandSlot(m_s.BandIdxMB);
    m_s.BandData.BandVFOMB[b] = m_s.VFOMB;
    m_s.BandData.LastBandMB = Integer(b);
    // The split marker belongs to the live VFO only; the band store keeps simplex.
    if (m_s.BandData.BandVFOMB[b].RptDir == -11)
        m_s.BandData.BandVFOMB[b].RptDir = 0;
}

void VfoModel::SaveInfoVFOSB()
{
    const int b = BandSlot(m_s.BandIdxSB);
    m_s.BandData.BandVFOSB[b] = m_s.VFOSB;
    m_s.BandData.LastBandSB = Integer(b);
}

void VfoModel::SwapVFOMBSB()
{
    auto& bd = m_s.BandData;
    const int mb = BandSlot(m_s.BandIdxMB);
    const int sb = BandSlot(m_s.BandIdxSB);
    const state::VFOInfo temp = bd.BandVFOMB[mb];
    bd.BandVFOMB[sb] = bd.BandVFOSB[sb];
    bd.BandVFOSB[mb] = temp;
    bd.LastBandMB = Integer(sb);
    bd.LastBandSB = Integer(mb);
}

void VfoModel::SavePMSInfo() { m_s.BandData.BandPMSVFO[BandSlot(m_s.BandIdxMB)] = m_s.VFOMB; }

void VfoModel::GetPMSInfo()
{
    auto& bd = m_s.BandData;
    const int b = BandSlot(m_s.BandIdxMB);
    m_s.VFOMB = bd.BandPMSVFO[b];
    bd.TuneLow[b] = bd.PMSLow[b];
    bd.TuneHigh[b] = bd.PMSHigh[b];
}

void VfoModel::UseCoverageLimits(Integer band)
{
    auto& bd = m_s.BandData;
    const int b = BandSlot(band);
    bd.TuneLow[b] = bd.CoverLow[b];
    bd.TuneHigh[b] = bd.CoverHigh[b];
}

void VfoModel::SendInfoToRadioVFOMB(const state::VFOInfo& rec)
{
    auto& c = m_cat.LastInfo.MB;
    if (rec.Mode != c.Mode)
        m_cat.SendModeMB();
    m_cat.SendFreqMB();
    if (rec.RptDir != c.RptDir)
        m_cat.SendRptDirMB();
    if (rec.RptOffset != c.RptOffset)
        m_cat.SendRptOffset();
    if (rec.ToneMode != c.ToneMode)
        m_cat.SendToneModeMB();
    if (rec.CTCSSidx != c.CTCSSidx)
        m_cat.SendCTCSSToneMB();
    if (rec.DCSidx != c.DCSidx)
        m_cat.SendDCSCodeMB();
}

void VfoModel::SendInfoToRadioVFOSB()
{
    const state::VFOInfo& rec = m_s.VFOSB;
    auto& c = m_cat.LastInfo.SB;
    if (rec.Mode != c.Mode)
        m_cat.SendModeSB();
    m_cat.SendFreqSB();
    if (rec.ToneMode != c.ToneMode)
        m_cat.ShowToneModeSB();
    if (rec.CTCSSidx != c.CTCSSidx)
        m_cat.SendCTCSSToneSB();
    if (rec.DCSidx != c.DCSidx)
        m_cat.SendDCSCodeSB();
}

void VfoModel::SendSubVfo()
{
    if (m_s.SubSelected) {
        SendInfoToRadioVFOSB();
        return;
    }
    m_cat.ToggleVFOAB();
    SendInfoToRadioVFOSB();
    m_cat.ToggleVFOAB();
}

void VfoModel::DisplayVFOInfo()
{
    m_display.SetVisible(el::lblCH, false);
    m_display.SetVisible(el::lblSKIP, false);
    if (!m_s.PRIOn)
        m_display.SetVisible(el::ledMRnumber, false);
    m_keys.ToggleFunctionButtons();
    m_keys.ChangeTuningKnob();
    m_meter.TurnOffLMeter();
    GetLastVFOindices();
    GetInfoVFOMB();
    GetInfoVFOSB();
    // With SUB the radio is on the sub VFO: that one first, the main one in the other VFO.
    if (m_s.SubSelected) {
        SendInfoToRadioVFOSB();
        m_cat.ToggleVFOAB();
        SendInfoToRadioVFOMB(m_s.VFOMB);
        m_cat.ToggleVFOAB();
    } else {
        SendInfoToRadioVFOMB(m_s.VFOMB);
        SendSubVfo();
    }
    m_meter.TurnOnLMeter();
    UseCoverageLimits(m_s.BandIdxMB);
}

void VfoModel::ReenterFunction(const FunctionHooks& to)
{
    if (m_s.VFOMRMode == state::kModeMR) {
        if (to.changeToMRfunction)
            to.changeToMRfunction();
    } else if (m_s.VFOMRMode == state::kModePMS) {
        if (to.changeToPMSfunction)
            to.changeToPMSfunction();
    } else {
        ChangeToVFOfunction();
    }
}

void VfoModel::ChangeToVFOfunction()
{
    // A HOME channel shown in PMS is not the PMS VFO; PMS saved that before HOME took over.
    const bool fromPms = m_s.VFOMRMode == state::kModePMS && !m_s.HomeOn;
    m_display.SetVisible(el::lblMemoryDesc, false);
    if (m_s.HomeOn) {
        m_s.HomeOn = false;
        if (m_s.SplitOn) {
            m_s.SplitOn = false;
            m_display.SetVisible(el::lblSPLIT, false);
            GetInfoVFOSB();
            SendSubVfo();
        }
        m_display.SetVisible(el::ledMRnumber, false);
    }
    if (!m_s.SplitOn) {
        m_display.SetVisible(el::lblRXTX, false);
        m_display.SetVisible(el::lblTXRX, false);
    }
    if (m_s.ClarOn && hooks.clarKey)
        hooks.clarKey();
    if (fromPms)
        SavePMSInfo();
    // Memory tune is a state of MR only.
    m_s.MTOn = false;
    m_display.SetVisible(el::lblMT, false);
    m_s.VFOMRMode = state::kModeVFO;
    DisplayVFOInfo();
    if (m_s.RadioSplitOn)
        m_cat.SendSplitOff();
}

void VfoModel::PressSync()
{
    m_meter.TurnOffLMeter();
    if (m_s.SubSelected)
        SaveInfoVFOSB();
    else if (m_s.VFOMRMode == state::kModeVFO)
        SaveInfoVFOMB();
    else if (m_s.VFOMRMode == state::kModePMS)
        SavePMSInfo();
    m_cat.ReadFreqModeFromRadio();
    m_meter.TurnOnLMeter();
}

Long RoundFreqToStep(Long freq, Long step)
{
    const long long a = std::llabs(static_cast<long long>(step));
    long long m;
    if (a <= 9)
        m = 10;
    else if (a <= 99)
        m = 100;
    else if (a <= 999)
        m = 1000;
    else if (a <= 9999)
        m = 10000;
    else
        m = 100000;
    if (step == 0)
        return freq; // no grid to move onto
    const long long f = freq;
    if (step > 0) {
        long long v = (f / m) * m;
        while (v < f)
            v += step;
        return Long(v);
    }
    long long v = (f / m) * m + m;
    while (v > f)
        v += step;
    return Long(v);
}

} // namespace kivo::panel
