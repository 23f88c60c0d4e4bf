#include "panel/FrontPanel.h"

namespace kivo::panel {

FrontPanel::FrontPanel(const PanelContext& ctx)
    : m_keys(ctx), m_vfo(ctx, m_keys), m_power(ctx, m_vfo, m_keys),
      m_tuning(ctx, m_vfo, m_keys, m_power.TimerSendFreq()), m_steps(ctx.s, ctx.display), m_keypad(ctx, m_vfo, m_keys),
      m_band(ctx, m_vfo, m_keypad), m_timerDelay(ctx.loop), m_memories(ctx, m_vfo, m_keys),
      m_mck(ctx, m_memories, m_keys, m_timerDelay), m_quick(ctx, m_vfo, m_keys, m_timerDelay)
{
    // The jog stops with the link; the feature units to come add their timers here, and
    // themselves with their place in the power-off sequence.
    m_power.StopAtPowerOff(m_tuning.TmrKnob());
    m_power.AddSwitchable(m_band, SwitchOffOrder::HOME);
    m_power.AddSwitchable(m_mck, SwitchOffOrder::MCK);
    m_power.AddSwitchable(m_quick, SwitchOffOrder::QMB);
    m_power.StopAtPowerOff(m_timerDelay.Timer());
    m_tuning.SetMhzKeyEntry(&m_keypad);
    m_tuning.SetMemoryStepper(&m_memories);
    m_band.hooks.changeToMRfunction = [this] { m_memories.ChangeToMRfunction(); };
    m_band.hooks.turnOffMCK = [this] { m_mck.TurnOffMCK(); };
    m_keypad.hooks.quickMemory = [this](int digit) { m_quick.QMBinfo(digit); };

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
    memory.hooks.changeMemory = [this, &s](int step) {
        if (s.CATOn)
            m_memories.ChangeMemory(step);
    };
    memory.hooks.turnOffLMeter = [&meter] { meter.TurnOffLMeter(); };
    memory.hooks.turnOnLMeter = [&meter, &s] {
        if (s.CATOn)
            meter.TurnOnLMeter();
    };
    ctx.cat.hooks.portVanished = [this] { m_power.PortVanished(); };
}

} // namespace kivo::panel
