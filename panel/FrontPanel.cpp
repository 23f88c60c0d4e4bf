#include "panel/FrontPanel.h"

namespace kivo::panel {

FrontPanel::FrontPanel(const PanelContext& ctx)
    : m_keys(ctx), m_vfo(ctx, m_keys), m_power(ctx, m_vfo, m_keys),
      m_tuning(ctx, m_vfo, m_keys, m_power.TimerSendFreq()), m_steps(ctx.s, ctx.display), m_keypad(ctx, m_vfo, m_keys),
      m_band(ctx, m_vfo, m_keypad)
{
    // The jog stops with the link; the feature units to come add their timers here, and
    // themselves with their place in the power-off sequence.
    m_power.StopAtPowerOff(m_tuning.TmrKnob());
    m_power.AddSwitchable(m_band, SwitchOffOrder::HOME);
    m_tuning.SetMhzKeyEntry(&m_keypad);

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
