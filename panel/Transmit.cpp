#include "panel/Transmit.h"

namespace kivo::panel {

using platform::Buttons;
using platform::Icon;

Transmit::Transmit(const PanelContext& ctx, KeyEnabling& keys)
    : ContextRefs(ctx), m_shown(ctx.s, ctx.display), m_keys(keys)
{
}

bool Transmit::Split() const { return m_s.SplitOn || m_s.RadioSplitOn || m_s.VFOMB.RptDir == -11; }

void Transmit::SendMainFreq(Long freq)
{
    m_display.SetCaption(el::ledFreq, radio::FreqText(freq));
    if (auto f = radio::FreqFrame(freq))
        m_cat.Write(*f);
}

void Transmit::PressMox()
{
    if (m_s.Transmitting) {
        Release();
        return;
    }
    // The lock only refuses keying: a transmitter the lock caught on air can still be released.
    if (m_s.MenusLocked || !m_s.CATOn)
        return;
    Key();
}

void Transmit::SwitchOff()
{
    if (m_s.Transmitting)
        Release();
}

void Transmit::Key()
{
    m_meter.TurnOffLMeter();
    if (m_s.PRIOn) {
        // Ends the monitor as PRI does, a check that is listening on channel 0 included, and
        // returns to the function in use. The transmitter stays off.
        m_s.ScanDir = 0;
        if (hooks.vfoMRbutton)
            hooks.vfoMRbutton();
        m_meter.TurnOnLMeter();
        return;
    }
    const state::VFOInfo& v = m_s.VFOMB;
    // Where the radio receives without the clarifier, which moves only the receiver.
    const Long unclarified = m_s.ClarOn ? v.Freq - v.ClarOffset : v.Freq;
    if (Split()) {
        m_txFreq = m_s.VFOSB.Freq;
    } else if (v.RptDir == 1 || v.RptDir == -1) {
        m_txFreq = unclarified + v.RptDir * v.RptOffset;
        const int b = BandSlot(m_s.BandIdxMB);
        // Checked before anything is sent, so a refusal leaves the radio where it was.
        if (m_txFreq < m_s.BandData.TuneLow[b] || m_txFreq >= m_s.BandData.TuneHigh[b]) {
            m_dialogs.MessageBox("The transmit frequency is outside the current band limit. This may be due to the PMS "
                                 "frequency limits. Please adjust your offset, the frequency, or your PMS limits.",
                                 "Help", Icon::Exclamation, Buttons::Ok);
            m_meter.TurnOnLMeter();
            return;
        }
        if (m_s.ClarOn)
            SendMainFreq(unclarified);
        // Shown only: the radio applies the shift itself.
        m_display.SetCaption(el::ledFreq, radio::FreqText(m_txFreq));
    } else {
        m_txFreq = unclarified;
        if (m_s.ClarOn)
            SendMainFreq(unclarified);
    }
    // On air from here: the keys and knobs that would change the transmission are refused.
    m_s.Transmitting = true;
    m_keys.ChangeTuningKnob();
    m_keys.ToggleFunctionButtons();
    m_display.SetVisible(el::lblOnAir, true);
    m_cat.SendPTT(true);
    // Released while PTT on waited for the line: its PTT off went out first, so again.
    if (!m_s.Transmitting) {
        m_cat.SendPTT(false);
        return;
    }
    m_meter.TimerPowerMeter().SetEnabled(true);
    if (hooks.onAirChanged)
        hooks.onAirChanged();
}

void Transmit::Release()
{
    // Off the air before anything else, whatever the display does after. Twice: nothing checks
    // that a frame arrived, and one lost on a noisy line must not leave the radio transmitting
    // (the radio acknowledges the second with F0, already off).
    m_meter.TimerPowerMeter().SetEnabled(false);
    m_cat.SendPTT(false);
    m_cat.SendPTT(false);
    m_s.Transmitting = false;
    m_display.SetVisible(el::lblOnAir, false);
    auto& g = m_meter.Gauge();
    g.Select(0);
    g.SetValue(0);
    g.Select(1);
    g.SetStart(0);
    g.SetValue(0);
    g.SetMarker(2, 0);
    m_keys.ChangeTuningKnob();
    m_keys.ToggleFunctionButtons();
    if (!Split()) {
        if (m_s.ClarOn)
            m_cat.SendFreqMB(); // back onto the clarified receive frequency
        else
            m_shown.ShowFreqMB(); // the receive frequency in place of a repeater's transmit one
    }
    // Power-off releases with the link already off; its receive meter stays off.
    if (m_s.CATOn)
        m_meter.TurnOnLMeter();
    if (hooks.onAirChanged)
        hooks.onAirChanged();
}

} // namespace kivo::panel
