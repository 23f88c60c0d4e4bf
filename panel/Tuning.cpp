#include "panel/Tuning.h"

#include <algorithm>

namespace kivo::panel {

namespace {
Long Clamp1(Long d) { return std::clamp<Long>(d, -1, 1); }
} // namespace

Long TuneLimits::Around(Long f) const
{
    // Past one edge the dial comes round from the other. A frequency far outside (a VFO left on
    // another band's) comes in too, rather than stepping a whole span per detent out of range.
    const Long span = high - low;
    if (span <= 0 || (f >= low && f < high))
        return f;
    const Long r = (f - low) % span;
    return low + (r < 0 ? r + span : r);
}

Long TuneLimits::Reset(Long f, bool up, bool down, Long fromBelow) const
{
    if (up && f >= high)
        return low;
    if (down && f < low)
        return fromBelow;
    return f;
}

Tuning::Tuning(const PanelContext& ctx, VfoModel& vfo, KeyEnabling& keys, platform::Timer& sendFreq)
    : ContextRefs(ctx), m_shown(ctx.s, ctx.display), m_vfo(vfo), m_keys(keys), m_sendFreq(sendFreq),
      m_tmrKnob(ctx.loop.CreateTimer())
{
    m_tmrKnob->SetInterval(200);
    m_tmrKnob->onTick = [this] {
        // In another unit's toggle–send–toggle the step would land on the VFO the jog does not
        // tune: it waits for the next tick.
        if (m_cat.MidToggle())
            return;
        m_tmrKnob->SetEnabled(false);
        StepFrequency();
        if (m_s.JogHeld)
            m_tmrKnob->SetEnabled(true);
    };
    ShowFastLock();
}

TuneLimits Tuning::LimitsOf(int band) const
{
    const int b = BandSlot(Integer(band));
    return {m_s.BandData.TuneLow[b], m_s.BandData.TuneHigh[b]};
}

bool Tuning::AutoShiftBand(int band) const
{
    return (band == 1 && m_s.Settings.AutoRptShift144 != 0) || (band == 0 && m_s.Settings.AutoRptShift430 != 0);
}

void Tuning::AutoShiftNow()
{
    if (!m_s.SubSelected && m_s.VFOMB.Mode == 5 && AutoShiftBand(BandSlot(m_s.BandIdxMB)) && hooks.autoRptShift)
        hooks.autoRptShift();
}

void Tuning::ShowFastLock()
{
    m_display.SetValue(el::ledFAST, m_s.FastOn ? 1 : 0);
    m_display.SetValue(el::ledLOCK, m_s.LockOn ? 1 : 0);
}

void Tuning::SendFreqPaced(bool main)
{
    if (m_cat.LineBusy()) {
        // Show it now; the frame follows with the send timer or the release.
        if (main)
            m_shown.ShowFreqMB();
        else
            m_shown.ShowFreqSB();
        return;
    }
    if (main)
        m_cat.SendFreqMB();
    else
        m_cat.SendFreqSB();
}

void Tuning::SetKnobPositions(Long main, Long sub, Long channel)
{
    m_lastMain = main;
    m_lastSub = sub;
    m_lastChannel = channel;
}

void Tuning::SetupTuningKnob(int knob, int action)
{
    const bool browsing = knob == kChannelKnob && m_s.MCKOn;
    if (action == kGrab) {
        if ((knob == kMainKnob || knob == kChannelKnob) && m_s.HomeOn) {
            m_vfo.SaveInfoVFOMB();
            m_vfo.SaveInfoVFOSB();
            m_vfo.ChangeToVFOfunction();
        }
        m_meter.TurnOffLMeter();
        const state::VFOInfo& v = m_vfo.TunedVFO();
        const int mode = std::clamp<int>(v.Mode, 0, state::kStepModeSlots - 1);
        if (knob == kMainKnob)
            m_knobStep = m_s.Settings.DialStep[m_vfo.TunedBand()][mode];
        else if (knob == kSubKnob)
            m_knobStep = 1;
        else
            m_knobStep = m_s.Settings.ChannelStep[m_vfo.TunedBand()][mode];
        if (m_knobStep <= 0)
            m_knobStep = 1; // a damaged step table must not stop the knob
        if ((knob == kMainKnob || knob == kChannelKnob) && !m_s.SubSelected && m_s.VFOMB.Mode == 5 &&
            AutoShiftBand(BandSlot(m_s.BandIdxMB)))
            m_autoShiftPending = true;
        if (knob == kMainKnob) {
            if (m_s.FastOn)
                m_knobStep *= 10;
            if (!m_s.ClarOn)
                m_s.VFOMB.ClarOffset = 0;
            if (m_s.VFOMRMode == state::kModeMR) {
                m_s.MTOn = true;
                m_display.SetVisible(el::lblMT, true);
            }
        }
        // Browsing in memory check tunes nothing; a resend would put the VFO over the memory shown.
        if (!browsing)
            m_sendFreq.SetEnabled(true);
        return;
    }

    m_sendFreq.SetEnabled(false);
    if (browsing) {
        m_meter.TurnOnLMeter();
        return;
    }
    platform::Pause(m_loop, 0.2);
    m_vfo.SendTunedFreq();
    if (knob == kChannelKnob && m_s.VFOMRMode == state::kModeMR && !m_s.SubSelected) {
        const auto pos = std::size_t(std::clamp(m_s.CurMemPos, 0, state::kMemCount - 1));
        if (m_s.MemData[pos].Split != 0) {
            m_cat.ToggleVFOAB();
            m_vfo.SendInfoToRadioVFOSB();
            m_cat.ToggleVFOAB();
            m_cat.SendSplitOn();
        } else if (m_s.RadioSplitOn) {
            m_cat.SendSplitOff();
        }
    }
    m_meter.TurnOnLMeter();
    if (knob == kMainKnob || knob == kChannelKnob)
        m_autoShiftPending = false;
}

void Tuning::MainKnob_Change(Long value)
{
    const Long delta = Clamp1(value - m_lastMain);
    m_lastMain = value;
    MainDetent(delta);
}

void Tuning::SubKnob_Change(Long value)
{
    const Long delta = Clamp1(value - m_lastSub);
    m_lastSub = value;
    SubDetent(delta);
}

void Tuning::ChannelKnob_Change(Long value)
{
    const Long delta = Clamp1(value - m_lastChannel);
    m_lastChannel = value;
    ChannelDetent(delta);
}

void Tuning::KnobDetent(int knob, int dir)
{
    const Long d = Clamp1(dir);
    if (knob == kMainKnob)
        MainDetent(d);
    else if (knob == kSubKnob)
        SubDetent(d);
    else if (knob == kChannelKnob)
        ChannelDetent(d);
}

void Tuning::MainDetent(Long delta)
{
    const Long amount = delta * m_knobStep;
    // The VFO SUB selects, also with SPLIT on: the radio's current VFO holds it, so a frame for
    // the main VFO would land in the radio's sub VFO.
    const bool main = !m_s.SubSelected;
    state::VFOInfo& v = main ? m_s.VFOMB : m_s.VFOSB;
    v.Freq = LimitsOf(main ? m_s.BandIdxMB : m_s.BandIdxSB).Around(v.Freq + amount);
    SendFreqPaced(main);
    if (!m_s.SplitOn && main && m_autoShiftPending && hooks.autoRptShift)
        hooks.autoRptShift();
}

void Tuning::SubDetent(Long delta)
{
    const Long amount = delta * m_knobStep;
    if (!m_s.ClarOn)
        return;
    const Long clar = m_s.VFOMB.ClarOffset + amount;
    if (clar < -999 || clar > 999)
        return;
    m_s.VFOMB.ClarOffset = clar;
    m_s.VFOMB.Freq = LimitsOf(m_s.BandIdxMB).Around(m_s.VFOMB.Freq + amount);
    SendFreqPaced(true);
}

void Tuning::ChannelDetent(Long delta)
{
    // In memory check the knob visits every position, used or not, so a first memory can be stored
    // anywhere; on a memory channel it steps through the used ones.
    if (m_s.MCKOn) {
        if (m_memories && delta != 0)
            m_memories->ChangeMemory(int(delta));
        return;
    }
    if (m_s.VFOMRMode == state::kModeMR && !m_s.MTOn) {
        if (m_memories && delta != 0 && m_s.MemCount > 0)
            m_memories->ChangeMemory(int(delta));
        return;
    }
    if (!(m_s.MTOn || m_s.VFOMRMode == state::kModeVFO || m_s.VFOMRMode == state::kModePMS))
        return;
    const Long amount = delta * m_knobStep;
    state::VFOInfo& v = m_vfo.TunedVFO();
    const TuneLimits lim = LimitsOf(m_vfo.TunedBand());
    v.Freq = lim.Reset(RoundFreqToStep(v.Freq + amount, m_knobStep), true, true, lim.high + amount);
    SendFreqPaced(!m_s.SubSelected);
    if (!m_s.SubSelected && m_autoShiftPending && hooks.autoRptShift)
        hooks.autoRptShift();
}

void Tuning::JogButton_Press(int dir)
{
    dir = dir < 0 ? -1 : 1;
    if (m_s.ScanArmed) {
        if (m_scanJog)
            m_scanJog(dir); // the jog keys start and stop the scan then
        return;
    }
    m_s.ScanStep = dir * (m_s.FastOn ? 10000 : 1000);
    m_s.ScanDir = dir;
    m_s.JogHeld = true;
    m_keys.ToggleFunctionButtons();
    m_tmrKnob->SetInterval(200);
    m_meter.TurnOffLMeter();
    m_tmrKnob->SetEnabled(true);
}

void Tuning::JogButton_Release()
{
    if (!m_s.JogHeld)
        return; // the press started a scan, or never reached us
    m_s.ScanDir = 0;
    m_s.JogHeld = false;
    m_tmrKnob->SetEnabled(false);
    m_keys.ToggleFunctionButtons();
    platform::Pause(m_loop, 0.2);
    m_vfo.SendTunedFreq();
    m_meter.TurnOnLMeter();
}

void Tuning::StepFrequency()
{
    state::VFOInfo& v = m_vfo.TunedVFO();
    const int band = BandSlot(Integer(m_vfo.TunedBand()));
    TuneLimits lim = LimitsOf(band);
    // In PMS the main VFO runs between the band's memory limits.
    const bool main = !m_s.SubSelected;
    if (main && m_s.VFOMRMode == state::kModePMS && m_s.BandData.PMSLow[band] < m_s.BandData.PMSHigh[band])
        lim = {m_s.BandData.PMSLow[band], m_s.BandData.PMSHigh[band]};
    const Long step = m_s.ScanStep;
    v.Freq = lim.Reset(v.Freq + step, step >= 0, step < 0, lim.high + step);
    m_vfo.SendTunedFreq();
    AutoShiftNow();
}

void Tuning::PressMhz(bool up)
{
    if (m_s.KeypadOn || m_s.QMBStore || m_s.QMBRecall) {
        if (m_mhzEntry)
            m_mhzEntry->MhzKey(up);
        return;
    }
    m_meter.TurnOffLMeter();
    state::VFOInfo& v = m_vfo.TunedVFO();
    const TuneLimits lim = LimitsOf(m_vfo.TunedBand());
    const Long step = m_s.FastOn ? 1000000 : 100000;
    if (up)
        v.Freq = lim.Reset(v.Freq + step, true, false, lim.high);
    else
        v.Freq = lim.Reset(v.Freq - step, false, true, lim.high);
    m_vfo.SendTunedFreq();
    AutoShiftNow();
    m_meter.TurnOnLMeter();
}

void Tuning::PressFast()
{
    m_s.FastOn = !m_s.FastOn;
    ShowFastLock();
}

void Tuning::PressLock()
{
    m_s.LockOn = !m_s.LockOn;
    ShowFastLock();
    m_keys.ChangeTuningKnob();
}

} // namespace kivo::panel
