#include "panel/FrontPanel.h"

namespace kivo::panel {

FrontPanel::FrontPanel(const PanelContext& ctx)
    : m_keys(ctx), m_vfo(ctx, m_keys), m_power(ctx, m_vfo, m_keys),
      m_tuning(ctx, m_vfo, m_keys, m_power.TimerSendFreq()), m_steps(ctx.s, ctx.display), m_keypad(ctx, m_vfo, m_keys),
      m_band(ctx, m_vfo, m_keypad), m_repeater(ctx, m_keypad), m_ctcss(ToneCodes::Kind::CTCSS, ctx.s, ctx.cat),
      m_dcs(ToneCodes::Kind::DCS, ctx.s, ctx.cat), m_shifts(ctx), m_transmit(ctx, m_keys)
{
    // The jog stops with the link; the feature units to come add their timers here, and
    // themselves with their place in the power-off sequence.
    m_power.StopAtPowerOff(m_tuning.TmrKnob());
    m_power.AddSwitchable(m_band, SwitchOffOrder::HOME);
    m_power.AddSwitchable(m_transmit, SwitchOffOrder::MOX);
    m_power.StopAtPowerOff(ctx.meter.TimerPowerMeter());
    m_tuning.SetMhzKeyEntry(&m_keypad);

    // The automatic repeater shift follows every move of the main VFO that may cross a
    // repeater sub-band edge.
    const auto autoShift = [this] { m_repeater.AutoRptShift(); };
    m_tuning.hooks.autoRptShift = autoShift;
    m_keypad.hooks.autoRptShift = autoShift;
    m_band.hooks.autoRptShift = autoShift;
    ctx.cat.hooks.autoRepeaterShift = autoShift;

    m_keys.ToggleFunctionButtons();
    m_keys.ChangeTuningKnob();

    auto& s = ctx.s;
    auto& memory = ctx.memory;
    auto& window = ctx.window;
    auto& meter = ctx.meter;
    memory.hooks.setTitle = [&window](const std::string& t) { window.SetTitle(t); };
    memory.hooks.changeToVFOfunction = [this, &s] {
        if (s.CATOn)
            m_vfo.ChangeToVFOfunction();
    };
    memory.hooks.turnOffLMeter = [&meter] { meter.TurnOffLMeter(); };
    memory.hooks.turnOnLMeter = [&meter, &s] {
        if (s.CATOn)
            meter.TurnOnLMeter();
    };
    ctx.cat.hooks.portVanished = [this] { m_power.PortVanished(); };
}

} // namespace kivo::panel
