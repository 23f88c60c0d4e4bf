#include "panel/FrontPanel.h"

namespace kivo::panel {

FrontPanel::FrontPanel(const PanelContext& ctx)
    : m_keys(ctx), m_vfo(ctx, m_keys), m_power(ctx, m_vfo, m_keys),
      m_tuning(ctx, m_vfo, m_keys, m_power.TimerSendFreq()), m_steps(ctx.s, ctx.display), m_keypad(ctx, m_vfo, m_keys),
      m_band(ctx, m_vfo, m_keypad), m_vfoOps(ctx, m_vfo, m_keys), m_split(ctx, m_vfo, m_keys), m_clar(ctx, m_keys),
      m_timerDelay(ctx.loop), m_memories(ctx, m_vfo, m_keys), m_mck(ctx, m_memories, m_keys, m_timerDelay),
      m_quick(ctx, m_vfo, m_keys, m_timerDelay), m_scanner(ctx, m_vfo, m_keys, m_tuning, m_memories, m_keypad)
{
    // Power-off stops these timers, and asks each feature to switch itself off in its place.
    m_power.StopAtPowerOff(m_tuning.TmrKnob());
    m_power.StopAtPowerOff(m_vfoOps.BlinkTimer());
    m_power.StopAtPowerOff(m_timerDelay.Timer());
    m_power.StopAtPowerOff(m_scanner.TimerScanner());
    m_power.StopAtPowerOff(m_scanner.TimerScannerMR());
    m_power.AddSwitchable(m_scanner, SwitchOffOrder::SCAN);
    m_power.AddSwitchable(m_clar, SwitchOffOrder::CLAR);
    m_power.AddSwitchable(m_mck, SwitchOffOrder::MCK);
    m_power.AddSwitchable(m_quick, SwitchOffOrder::QMB);
    m_power.AddSwitchable(m_vfoOps, SwitchOffOrder::SUB);
    m_power.AddSwitchable(m_band, SwitchOffOrder::HOME);
    m_power.AddSwitchable(m_split, SwitchOffOrder::SPLIT);

    // What one unit asks of another.
    m_tuning.SetMhzKeyEntry(&m_keypad);
    m_tuning.SetMemoryStepper(&m_memories);
    m_tuning.SetScanJog([this](int dir) { m_scanner.JogButton_Click(dir); });
    m_scanner.hooks.quickMemory = [this](int digit) { m_quick.QMBinfo(digit); };
    m_power.settingsMenus.scanSpeed = [this](int i) { m_scanner.mnuScanSpeed_Click(i); };
    m_power.settingsMenus.pauseInterval = [this](int i) { m_scanner.mnuPauseInterval_Click(i); };
    m_keypad.hooks.quickMemory = [this](int digit) { m_quick.QMBinfo(digit); };
    m_vfo.hooks.clarKey = [this] { m_clar.CLARbutton_Click(); };
    m_band.hooks.clarKey = [this] { m_clar.CLARbutton_Click(); };
    m_band.hooks.splitKey = [this] { m_split.SPLITbutton_Click(); };
    m_band.hooks.changeToMRfunction = [this] { m_memories.ChangeToMRfunction(); };
    m_band.hooks.turnOffMCK = [this] { m_mck.TurnOffMCK(); };
    m_memories.hooks.splitKey = [this] { m_split.SPLITbutton_Click(); };
    m_memories.hooks.clarKey = [this] { m_clar.CLARbutton_Click(); };
    m_split.hooks.changeToMRfunction = [this] { m_memories.ChangeToMRfunction(); };

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
