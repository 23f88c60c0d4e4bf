#include "panel/FrontPanel.h"

#include <algorithm>

namespace kivo::panel {

namespace {
Long Clamp1(Long d) { return std::clamp<Long>(d, -1, 1); }
} // namespace

bool FrontPanel::Fast() const { return m_display.Has("ledFAST") && m_display.Get("ledFAST").value == 1; }

bool FrontPanel::AutoShiftBand(int band) const
{
    return (band == 1 && m_s.Settings.AutoRptShift144 != 0) || (band == 0 && m_s.Settings.AutoRptShift430 != 0);
}

void FrontPanel::SendTunedFreq()
{
    if (m_s.SubSelected)
        m_cat.SendFreqSB();
    else
        m_cat.SendFreqMB();
}

void FrontPanel::SendFreqPaced(bool main)
{
    if (m_cat.LineBusy()) {
        // Show it now; the frame follows with the send timer or the release.
        if (main)
            m_cat.ShowFreqMB();
        else
            m_cat.ShowFreqSB();
        return;
    }
    if (main)
        m_cat.SendFreqMB();
    else
        m_cat.SendFreqSB();
}

void FrontPanel::SetKnobPositions(Long main, Long sub, Long channel)
{
    m_lastMain = main;
    m_lastSub = sub;
    m_lastChannel = channel;
}

void FrontPanel::SetupTuningKnob(int knob, int action)
{
    if (action == kGrab) {
        if ((knob == kMainKnob || knob == kChannelKnob) && m_s.HomeOn) {
            SaveInfoVFOMB();
            SaveInfoVFOSB();
            ChangeToVFOfunction();
        }
        m_meter.TurnOffLMeter();
        const state::VFOInfo& v = TunedVFO();
        const int mode = std::clamp<int>(v.Mode, 0, state::kStepModeSlots - 1);
        if (knob == kMainKnob)
            KnobStep = m_s.Settings.DialStep[TunedBand()][mode];
        else if (knob == kSubKnob)
            KnobStep = 1;
        else
            KnobStep = m_s.Settings.ChannelStep[TunedBand()][mode];
        if (KnobStep <= 0)
            KnobStep = 1; // a damaged step table must not stop the knob
        if ((knob == kMainKnob || knob == kChannelKnob) && !m_s.SubSelected && m_s.VFOMB.Mode == 5 &&
            AutoShiftBand(BandSlot(m_s.BandIdxMB)))
            AutoShiftPending = true;
        if (knob == kMainKnob) {
            if (Fast())
                KnobStep *= 10;
            if (!m_s.ClarOn)
                m_s.VFOMB.ClarOffset = 0;
            if (m_s.VFOMRMode == state::kModeMR)
                m_display.SetVisible("lblMT", true);
        }
        m_timerSendFreq->SetEnabled(true);
        return;
    }

    m_timerSendFreq->SetEnabled(false);
    platform::Pause(m_loop, 0.2);
    SendTunedFreq();
    if (knob == kChannelKnob && m_s.VFOMRMode == state::kModeMR && !m_s.SubSelected) {
        const auto pos = std::size_t(std::clamp(m_s.CurMemPos, 0, state::kMemCount - 1));
        if (m_s.MemData[pos].Split != 0) {
            m_cat.ToggleVFOAB();
            SendInfoToRadioVFOSB();
            m_cat.ToggleVFOAB();
            m_cat.SendSplitOn();
        } else if (m_s.RadioSplitOn) {
            m_cat.SendSplitOff();
        }
    }
    m_meter.TurnOnLMeter();
    if (knob == kMainKnob || knob == kChannelKnob)
        AutoShiftPending = false;
}

void FrontPanel::MainKnob_Change(Long value)
{
    const Long amount = Clamp1(value - m_lastMain) * KnobStep;
    m_lastMain = value;
    const bool main = m_s.SplitOn || !m_s.SubSelected;
    state::VFOInfo& v = main ? m_s.VFOMB : m_s.VFOSB;
    const int b = BandSlot(main ? m_s.BandIdxMB : m_s.BandIdxSB);
    const Long lo = m_s.BandData.TuneLow[b], hi = m_s.BandData.TuneHigh[b];
    v.Freq += amount;
    if (v.Freq >= hi)
        v.Freq -= hi - lo;
    else if (v.Freq < lo)
        v.Freq += hi - lo;
    SendFreqPaced(main);
    if (!m_s.SplitOn && main && AutoShiftPending && keys.AutoRptShift)
        keys.AutoRptShift();
}

void FrontPanel::SubKnob_Change(Long value)
{
    const Long amount = Clamp1(value - m_lastSub) * KnobStep;
    m_lastSub = value;
    if (!m_s.ClarOn)
        return;
    const Long clar = m_s.VFOMB.ClarOffset + amount;
    if (clar < -999 || clar > 999)
        return;
    m_s.VFOMB.ClarOffset = clar;
    const int b = BandSlot(m_s.BandIdxMB);
    const Long lo = m_s.BandData.TuneLow[b], hi = m_s.BandData.TuneHigh[b];
    m_s.VFOMB.Freq += amount;
    if (m_s.VFOMB.Freq >= hi)
        m_s.VFOMB.Freq -= hi - lo;
    else if (m_s.VFOMB.Freq < lo)
        m_s.VFOMB.Freq += hi - lo;
    SendFreqPaced(true);
}

void FrontPanel::ChannelKnob_Change(Long value)
{
    const Long delta = Clamp1(value - m_lastChannel);
    m_lastChannel = value;
    const bool mt = m_display.Has("lblMT") && m_display.Get("lblMT").visible;
    if ((m_s.VFOMRMode == state::kModeMR && !mt) || m_s.MCKOn) {
        if (m_s.MemCount > 0 && delta != 0 && keys.ChangeMemory)
            keys.ChangeMemory(int(delta));
        return;
    }
    if (!(mt || m_s.VFOMRMode == state::kModeVFO || m_s.VFOMRMode == state::kModePMS))
        return;
    const Long amount = delta * KnobStep;
    state::VFOInfo& v = TunedVFO();
    const int b = TunedBand();
    const Long lo = m_s.BandData.TuneLow[b], hi = m_s.BandData.TuneHigh[b];
    Long f = RoundFreqToStep(v.Freq + amount, KnobStep);
    if (f >= hi)
        f = lo;
    else if (f < lo)
        f = hi + amount;
    v.Freq = f;
    SendFreqPaced(!m_s.SubSelected);
    if (!m_s.SubSelected && AutoShiftPending && keys.AutoRptShift)
        keys.AutoRptShift();
}

void FrontPanel::JogButton_Press(int dir)
{
    dir = dir < 0 ? -1 : 1;
    if (m_s.ScanArmed) {
        if (keys.JogScan)
            keys.JogScan(dir);
        return;
    }
    m_s.ScanStep = dir * (Fast() ? 10000 : 1000);
    m_s.ScanDir = dir;
    JogHeld = true;
    ToggleFunctionButtons();
    m_tmrKnob->SetInterval(200);
    m_meter.TurnOffLMeter();
    m_tmrKnob->SetEnabled(true);
}

void FrontPanel::JogButton_Release()
{
    if (!JogHeld)
        return; // the press started a scan, or never reached us
    m_s.ScanDir = 0;
    JogHeld = false;
    m_tmrKnob->SetEnabled(false);
    ToggleFunctionButtons();
    platform::Pause(m_loop, 0.2);
    SendTunedFreq();
    m_meter.TurnOnLMeter();
}

void FrontPanel::StepFrequency()
{
    state::VFOInfo& v = TunedVFO();
    const int b = TunedBand();
    const Long lo = m_s.BandData.TuneLow[b], hi = m_s.BandData.TuneHigh[b];
    Long f = v.Freq + m_s.ScanStep;
    if (m_s.ScanStep >= 0) {
        if (f >= hi)
            f = lo;
    } else if (f < lo) {
        f = hi + m_s.ScanStep;
    }
    v.Freq = f;
    SendTunedFreq();
    if (!m_s.SubSelected && m_s.VFOMB.Mode == 5 && AutoShiftBand(BandSlot(m_s.BandIdxMB)) && keys.AutoRptShift)
        keys.AutoRptShift();
}

void FrontPanel::MhzButton_Click(bool up)
{
    if (m_s.KeypadOn || m_s.QMBStore || m_s.QMBRecall) {
        if (keys.MhzKeyEntry)
            keys.MhzKeyEntry(up);
        return;
    }
    m_meter.TurnOffLMeter();
    state::VFOInfo& v = TunedVFO();
    const int b = TunedBand();
    const Long lo = m_s.BandData.TuneLow[b], hi = m_s.BandData.TuneHigh[b];
    const Long step = Fast() ? 1000000 : 100000;
    if (up) {
        v.Freq += step;
        if (v.Freq >= hi)
            v.Freq = lo;
    } else {
        v.Freq -= step;
        if (v.Freq < lo)
            v.Freq = hi;
    }
    SendTunedFreq();
    if (!m_s.SubSelected && m_s.VFOMB.Mode == 5 && AutoShiftBand(BandSlot(m_s.BandIdxMB)) && keys.AutoRptShift)
        keys.AutoRptShift();
    m_meter.TurnOnLMeter();
}

void FrontPanel::FASTbutton_Click() { m_display.SetValue("ledFAST", Fast() ? 0 : 1); }

void FrontPanel::LOCKbutton_Click()
{
    const bool locked = m_display.Has("ledLOCK") && m_display.Get("ledLOCK").value == 1;
    m_display.SetValue("ledLOCK", locked ? 0 : 1);
    ChangeTuningKnob();
}

} // namespace kivo::panel
