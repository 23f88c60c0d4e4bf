#include "panel/FrontPanel.h"

namespace kivo::panel {

FrontPanel::FrontPanel(const PanelContext& ctx)
    : m_portMenu(ctx.s, ctx.comm, ctx.display), m_linkReports(ctx.s, ctx.display, ctx.cat), m_keys(ctx),
      m_vfo(ctx, m_keys), m_power(ctx, m_vfo, m_keys), m_tuning(ctx, m_vfo, m_keys, m_power.TimerSendFreq()),
      m_steps(ctx.s, ctx.display), m_keypad(ctx, m_vfo, m_keys), m_band(ctx, m_vfo, m_keypad),
      m_vfoOps(ctx, m_vfo, m_keys), m_split(ctx, m_vfo, m_keys), m_clar(ctx, m_keys), m_timerDelay(ctx.loop),
      m_memories(ctx, m_vfo, m_keys), m_mck(ctx, m_memories, m_keys, m_timerDelay),
      m_quick(ctx, m_vfo, m_keys, m_timerDelay), m_repeater(ctx, m_keypad),
      m_ctcss(ToneCodes::Kind::CTCSS, ctx.s, ctx.cat), m_dcs(ToneCodes::Kind::DCS, ctx.s, ctx.cat), m_shifts(ctx),
      m_transmit(ctx, m_keys), m_follow(ctx, m_vfo), m_pms(ctx, m_vfo, m_keys, m_keypad),
      m_scanner(ctx, m_vfo, m_keys, m_tuning, m_memories, m_keypad),
      m_pri(ctx, m_vfo, m_keys, m_keypad, m_memories, m_pms, m_scanner), m_keyTargets(ctx, *this),
      m_keyboard(ctx.s, m_keyTargets), m_displaySettings(ctx)
{
    // Power-off stops these timers, and asks each feature to switch itself off in its place.
    m_power.StopAtPowerOff(m_tuning.TmrKnob());
    m_power.StopAtPowerOff(m_vfoOps.BlinkTimer());
    m_power.StopAtPowerOff(m_timerDelay.Timer());
    m_power.StopAtPowerOff(m_pri.TimerPriorityMonitor());
    m_power.StopAtPowerOff(m_scanner.TimerScanner());
    m_power.StopAtPowerOff(m_scanner.TimerScannerMR());
    m_power.AddSwitchable(m_scanner, SwitchOffOrder::SCAN);
    m_power.AddSwitchable(m_clar, SwitchOffOrder::CLAR);
    m_power.AddSwitchable(m_pri, SwitchOffOrder::PRI);
    m_power.AddSwitchable(m_mck, SwitchOffOrder::MCK);
    m_power.AddSwitchable(m_quick, SwitchOffOrder::QMB);
    m_power.AddSwitchable(m_vfoOps, SwitchOffOrder::SUB);
    m_power.AddSwitchable(m_band, SwitchOffOrder::HOME);
    m_power.AddSwitchable(m_split, SwitchOffOrder::SPLIT);
    m_power.AddSwitchable(m_transmit, SwitchOffOrder::MOX);
    m_power.StopAtPowerOff(ctx.meter.TimerPowerMeter());

    // What one unit asks of another.
    m_tuning.SetMhzKeyEntry(&m_keypad);
    m_tuning.SetMemoryStepper(&m_memories);
    m_tuning.SetScanJog([this](int dir) { m_scanner.PressJog(dir); });
    m_scanner.hooks.quickMemory = [this](int digit) { m_quick.QMBinfo(digit); };
    m_power.settingsMenus.scanSpeed = [this](int i) { m_scanner.ChooseScanSpeed(i); };
    m_power.settingsMenus.resizeDisplay = [this](int i) { m_displaySettings.ChooseDisplay(i); };
    m_power.settingsMenus.pauseInterval = [this](int i) { m_scanner.ChoosePauseInterval(i); };
    m_keypad.hooks.quickMemory = [this](int digit) { m_quick.QMBinfo(digit); };
    m_vfo.hooks.clarKey = [this] { m_clar.PressClar(); };
    m_band.hooks.clarKey = [this] { m_clar.PressClar(); };
    m_band.hooks.splitKey = [this] { m_split.PressSplit(); };
    m_band.hooks.changeToMRfunction = [this] { m_memories.ChangeToMRfunction(); };
    m_band.hooks.turnOffMCK = [this] { m_mck.TurnOffMCK(); };
    m_memories.hooks.splitKey = [this] { m_split.PressSplit(); };
    m_memories.hooks.clarKey = [this] { m_clar.PressClar(); };
    m_split.hooks.changeToMRfunction = [this] { m_memories.ChangeToMRfunction(); };
    m_transmit.hooks.vfoMRbutton = [this] { m_memories.PressVfoMr(); };

    // The automatic repeater shift follows every move of the main VFO that may cross a
    // repeater sub-band edge.
    const auto autoShift = [this] { m_repeater.AutoRptShift(); };
    m_tuning.hooks.autoRptShift = autoShift;
    m_keypad.hooks.autoRptShift = autoShift;
    m_band.hooks.autoRptShift = autoShift;
    m_linkReports.hooks.autoRepeaterShift = autoShift;
    // A held knob turns the meter poll off until its final send is out; the resend and jog
    // timers say so too, for a poll that was switched on meanwhile.
    m_follow.hooks.panelChanging = [this] { return m_power.TimerSendFreq().Enabled() || m_tuning.TmrKnob().Enabled(); };
    m_pms.hooks.turnOffMCK = [this] { m_mck.TurnOffMCK(); };
    m_pms.hooks.changeToMRfunction = [this] { m_memories.ChangeToMRfunction(); };
    m_band.hooks.changeToPMSfunction = [this] { m_pms.ChangeToPMSfunction(); };
    m_split.hooks.changeToPMSfunction = [this] { m_pms.ChangeToPMSfunction(); };
    m_memories.hooks.changeToPMSfunction = [this] { m_pms.ChangeToPMSfunction(); };
    m_memories.hooks.pmsKey = [this] { m_pms.PressPms(); };
    m_band.hooks.stopPriorityMonitor = [this] { m_pri.StopTimer(); };
    m_memories.hooks.stopPriorityMonitor = [this] { m_pri.StopTimer(); };
    m_power.hooks.priSpeed = [this](int i) { m_pri.ChoosePriSpeed(i); };

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
