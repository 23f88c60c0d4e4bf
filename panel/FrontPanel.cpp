#include "panel/FrontPanel.h"

namespace kivo::panel {

FrontPanel::FrontPanel(const PanelContext& ctx)
    : m_keys(ctx), m_vfo(ctx, m_keys), m_power(ctx, m_vfo, m_keys),
      m_tuning(ctx, m_vfo, m_keys, m_power.TimerSendFreq()), m_steps(ctx.s, ctx.display), m_keypad(ctx, m_vfo, m_keys),
      m_band(ctx, m_vfo, m_keypad), m_vfoOps(ctx, m_vfo, m_keys), m_split(ctx, m_vfo, m_keys), m_clar(ctx, m_keys)
{
    // The jog stops with the link; the feature units to come add their timers here, and
    // themselves with their place in the power-off sequence.
    m_power.StopAtPowerOff(m_tuning.TmrKnob());
    m_power.StopAtPowerOff(m_vfoOps.BlinkTimer());
    m_power.AddSwitchable(m_clar, SwitchOffOrder::CLAR);
    m_power.AddSwitchable(m_vfoOps, SwitchOffOrder::SUB);
    m_power.AddSwitchable(m_band, SwitchOffOrder::HOME);
    m_power.AddSwitchable(m_split, SwitchOffOrder::SPLIT);
    m_band.hooks.clarKey = [this] { m_clar.CLARbutton_Click(); };
    m_band.hooks.splitKey = [this] { m_split.SPLITbutton_Click(); };
    m_vfo.hooks.clarKey = [this] { m_clar.CLARbutton_Click(); };
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
