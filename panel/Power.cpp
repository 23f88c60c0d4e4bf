#include "panel/Power.h"

#include "platform/Version.h"

#include <algorithm>

namespace kivo::panel {

using platform::Buttons;
using platform::Icon;

namespace {

// Elements the power-off sequence hides, and which are therefore hidden while the panel is dark.
const char* const kDarkHidden[] = {
    el::lblTXRX,    el::lblRXTX,   el::lblMainDEC, el::lblSubDEC,   el::lblMainENC, el::lblSubENC,
    el::lblMainDCS, el::lblSubDCS, el::lblMT,      el::ledMRnumber, el::lblMCK,     el::ledFreq,
    el::ledSubFreq, el::lblCH,     el::lblSKIP,    el::lblBusy,     el::lblOnAir,   el::lblMemoryDesc,
};

const char* const kMeterSpeedCaptions[7] = {"1000 ms.", "500 ms.", "400 ms.", "300 ms.", "200 ms.", "100 ms.", "OFF"};

} // namespace

Power::Power(const PanelContext& ctx, VfoModel& vfo, KeyEnabling& keys)
    : ContextRefs(ctx), m_window(ctx.window), m_comm(ctx.comm), m_files(ctx.files), m_memory(ctx.memory), m_vfo(vfo),
      m_keys(keys), m_timerSendFreq(ctx.loop.CreateTimer())
{
    // A port lost on air and now given up for another, or for none, may never be opened again:
    // back, it hears the transmit off it is owed first.
    m_comm.onGivingUpLost = [this] { SendPttOffOwedOnPortNow(); };
    m_timerSendFreq->SetInterval(250);
    m_timerSendFreq->onTick = [this] {
        // A detent has just gone out: this tick would only wait behind it. Between the toggles of
        // a toggle–send–toggle (a split memory the channel knob reached) it would land on the
        // radio's other VFO.
        if (m_cat.LineBusy() || m_cat.MidToggle())
            return;
        m_vfo.SendTunedFreq();
    };

    // The dark panel as the window first shows it.
    for (const char* n : kDarkHidden)
        m_display.SetVisible(n, false);
    for (int i = 0; i < 2; ++i)
        m_display.SetVisible(el::ImgRPTdirection(i), false);
    for (const char* n : {el::lblSPLIT, el::lblSCAN, el::lblSEARCH, el::LMeter})
        m_display.SetVisible(n, false);
    m_display.SetCaption(el::ledMRnumber, "001");
    m_display.SetValue(el::LEDsub, 0);
    m_display.SetColor(el::DisplayPanel, kUnlitColor);
    m_display.SetColor(el::LMeter, kUnlitColor);
    ShowTuneOnStartup();
    for (int i = 0; i < 7; ++i)
        m_display.SetCaption(el::mnuMeterSpeed(i), kMeterSpeedCaptions[i]);
}

Power::~Power() { m_comm.onGivingUpLost = nullptr; }

std::string Power::VersionText(int major, int minor, int revision)
{
    return "Version  " + std::to_string(major) + ". " + std::to_string(minor) + ". " + std::to_string(revision);
}

void Power::AddSwitchable(Switchable& unit, SwitchOffOrder order)
{
    const auto after = std::find_if(m_switchables.begin(), m_switchables.end(),
                                    [order](const auto& entry) { return entry.first > order; });
    m_switchables.insert(after, {order, &unit});
}

void Power::ChooseMeterSpeed(int index)
{
    if (index < 0 || index > 6)
        index = 1;
    for (int i = 0; i < 7; ++i)
        m_display.SetChecked(el::mnuMeterSpeed(i), i == index);
    m_s.Settings.MeterSpeed = Integer(index);
    m_meter.SetInterval(kMeterIntervals[index]);
}

void Power::ToggleTuneOnStartup()
{
    m_s.Settings.TuneOnStartup = TuneOnStartup() ? 0 : -1;
    ShowTuneOnStartup();
}

void Power::ShowTuneOnStartup() { m_display.SetChecked(el::mnuSettingsArray(kTuneOnStartupEntry), TuneOnStartup()); }

void Power::Load()
{
    m_window.ShowSplash(VersionText(platform::kVersionMajor, platform::kVersionMinor, platform::kVersionPatch));
    m_window.SetBusyCursor(true);

    m_files.OpenBandDataFile();
    const int last = BandSlot(m_s.BandData.LastBandMB);
    m_s.BandIdxMB = Integer(last);
    m_s.BandIdxSB = Integer(last);
    m_s.VFOMB = m_s.BandData.BandVFOMB[last];
    m_s.VFOSB = m_s.BandData.BandVFOMB[last];

    m_s.VFOMRMode = state::kModeVFO;
    m_s.CurMemPos = 0;
    m_s.RadioSplitOn = false;
    m_s.CATOn = false;
    m_keys.ToggleFunctionButtons();

    state::SettingsMenuHandlers menus = settingsMenus;
    menus.commPort = [this](int i) {
        m_comm.ChooseCommPort(i == radio::kPortNone && m_comm.NetworkChosen() ? radio::kPortNetwork : i);
    };
    menus.catRate = [this](int i) { m_comm.ChooseCatRate(i); };
    menus.meterSpeed = [this](int i) { ChooseMeterSpeed(i); };
    menus.priSpeed = [this](int i) {
        if (hooks.priSpeed)
            hooks.priSpeed(i);
    };
    menus.tuneOnStartup = [this](bool) { ShowTuneOnStartup(); }; // the option is already in Settings
    bool placed = false;
    m_files.OpenSettingsFile(
        menus,
        [this, &placed](Long left, Long top) {
            placed = m_window.OnScreen(left / state::kTwipsPerPixel, top / state::kTwipsPerPixel);
            return placed;
        },
        &m_memory);
    // A position on a screen that is gone (a second monitor unplugged) would hide the window.
    if (placed)
        m_window.MoveTo(m_s.Settings.FormLeft / state::kTwipsPerPixel, m_s.Settings.FormTop / state::kTwipsPerPixel);
    else
        m_window.Centre();
    m_window.SetTitle(m_memory.Title());

    m_files.OpenHomeFile();

    // The last run may have ended with the radio still owed what a lost port kept from it.
    m_owedOnDisk = m_files.OpenRadioOwedFile();
    m_pttOffOwed = m_owedOnDisk.pttOff;
    if (m_owedOnDisk.vfoToggle)
        m_cat.RadioLeftOnOtherVfo();
    m_s.RadioSplitOn = m_owedOnDisk.splitOff;

    m_display.SetColor(el::DisplayPanel, kUnlitColor);
    m_display.SetColor(el::LMeter, kUnlitColor);
    m_display.SetVisible(el::LMeter, false);

    platform::Pause(m_loop, 2.0);
    m_window.HideSplash();
    m_window.ShowMain();
    m_window.SetBusyCursor(false);
}

void Power::ApplyLitColour()
{
    unsigned c = 0;
    if (m_s.Settings.ColorDepth == 7)
        c = kLit16BitColor;
    else if (m_s.Settings.ColorDepth == 8)
        c = kLit8BitColor;
    else
        return;
    m_display.SetColor(el::DisplayPanel, c);
    m_display.SetColor(el::LMeter, c);
}

void Power::PressPower()
{
    if (!m_s.PortReady) {
        // A port lost while in use comes back without a word once its device is there again.
        if (m_comm.WasLost() && m_comm.ReopenLost()) {
            m_cat.PortReopened();
        } else {
            m_dialogs.MessageBox(
                "Please select a new Serial Port in the Settings Menu. Either the current serial port is not "
                "available to the KIVO software, or a serial port has not been selected yet.",
                "SERIAL PORT ERROR", Icon::Exclamation, Buttons::Ok);
            return;
        }
    }
    if (!m_s.CATOn)
        PowerOn();
    else
        PowerOff();
}

void Power::PortVanished()
{
    // Nothing reaches the radio now, PTT off included: it goes out first once the port is back.
    const bool onAir = m_s.Transmitting;
    m_pttOffOwed = m_pttOffOwed || onAir;
    m_comm.PortLost(); // the meter polls stop by themselves on a closed port
    m_timerSendFreq->SetEnabled(false);
    m_loop.CallAt(m_loop.Now(), [this, onAir] {
        if (m_s.CATOn)
            PowerOff();
        std::string text = "The radio's serial port has gone away: the cable was unplugged or the radio was switched "
                           "off. Press POWER to connect again once the radio is back.";
        if (m_s.Settings.CommPort == radio::kPortNetwork)
            text = "The connection to the radio's network port was lost: the computer beside the radio, its serial "
                   "port server or the network went away. Press POWER to connect again once it is back.";
        if (onAir)
            text = "The radio's serial port has gone away while the radio was transmitting: the cable was unplugged "
                   "or the radio was switched off. The radio may still be transmitting: release it on the radio "
                   "itself. Press POWER to connect again once the radio is back; transmit off is sent first.";
        m_dialogs.MessageBox(text, "SERIAL PORT ERROR", Icon::Exclamation, Buttons::Ok);
    });
}

void Power::SendPttOffOwed()
{
    // A radio the port was lost from on air hears transmit off before anything else, twice as
    // MOX sends it (one lost on a noisy line must not leave it transmitting). Owed until it really
    // went out: the port may have gone again meanwhile.
    if (m_pttOffOwed) {
        const bool sent = m_cat.SendPTT(false);
        m_pttOffOwed = !(m_cat.SendPTT(false) || sent);
    }
}

void Power::SendPttOffOwedOnPortNow()
{
    if (m_pttOffOwed && m_comm.ReopenLost()) {
        m_cat.PortReopened();
        SendPttOffOwed();
    }
}

void Power::SendWhatALostPortOwes()
{
    // The port may have been opened from the Serial Port menu since it was last lost: a loss of
    // this one must be reported as well.
    m_cat.PortReopened();
    SendPttOffOwed();
    // A port lost with SUB on, or between the toggles of a sequence, left the radio on its other
    // VFO: everything after this is meant for the main one.
    m_cat.BringVfoInStep();
}

state::RadioOwed Power::RadioOwedNow() const
{
    return {m_pttOffOwed, m_cat.VfoOutOfStep(), !m_s.CATOn && m_s.RadioSplitOn};
}

void Power::KeepRadioOwed()
{
    const state::RadioOwed now = RadioOwedNow();
    if (now == m_owedOnDisk)
        return;
    if (m_files.SaveRadioOwedFile(now))
        m_owedOnDisk = now;
}

void Power::PowerOn()
{
    SendWhatALostPortOwes();
    m_s.CATOn = true;
    auto& g = m_meter.Gauge();
    g.Select(0);
    g.SetValue(0);
    g.Select(1);
    g.SetValue(0);
    g.SetMarker(2, 0);
    g.SetMarker(3, 0);
    ApplyLitColour();
    for (const char* n : {el::LMeter, el::ledFreq, el::ledSubFreq})
        m_display.SetVisible(n, true);

    if (TuneOnStartup()) {
        // Take over both of the radio's VFOs before sending anything.
        m_vfo.PressSync();
        m_vfo.SaveInfoVFOMB();
        m_cat.ToggleVFOAB();
        m_s.SubSelected = true;
        m_vfo.PressSync();
        m_s.SubSelected = false;
        m_vfo.SaveInfoVFOSB();
        m_cat.ToggleVFOAB();
    }
    m_cat.ResetLastInfoVFO();
    m_vfo.ChangeToVFOfunction();
    m_s.TimerDelayTag = "OFF";
    m_keys.ToggleFunctionButtons();
    m_keys.ChangeTuningKnob();
    m_meter.TurnOnLMeter();
    // Sent now (or owed again to a port lost meanwhile, which exit records).
    KeepRadioOwed();
}

void Power::SaveWindowPosition()
{
    m_s.Settings.FormLeft = Long(m_window.Left()) * state::kTwipsPerPixel;
    m_s.Settings.FormTop = Long(m_window.Top()) * state::kTwipsPerPixel;
}

void Power::PowerOff()
{
    m_s.CATOn = false;
    // Their keys run their normal handlers, CAT commands included, before the link goes quiet.
    for (const auto& [order, unit] : m_switchables)
        unit->SwitchOff();
    if (m_s.VFOMRMode == state::kModeVFO) {
        m_vfo.SaveInfoVFOMB();
        m_vfo.SaveInfoVFOSB();
    }
    m_files.SaveBandDataFile();
    SaveWindowPosition();
    m_files.SaveSettingsFile();
    m_files.SaveHomeFile();
    m_meter.TurnOffLMeter();
    m_meter.TimerSignalMeter().SetEnabled(false);
    for (platform::Timer* t : m_stopTimers)
        t->SetEnabled(false);
    for (int k = 0; k < 8; ++k) {
        m_display.SetVisible(el::lblMBmode(k), false);
        m_display.SetVisible(el::lblSBmode(k), false);
    }
    m_s.ScanArmed = false;
    // The dark panel shows none of these; the states behind them end with it.
    m_s.Transmitting = false;
    m_s.MTOn = false;
    for (const char* n : kDarkHidden)
        m_display.SetVisible(n, false);
    for (int i = 0; i < 2; ++i)
        m_display.SetVisible(el::ImgRPTdirection(i), false);
    m_display.SetColor(el::DisplayPanel, kUnlitColor);
    m_display.SetColor(el::LMeter, kUnlitColor);
    m_display.SetVisible(el::LMeter, false);
    m_s.FastOn = false;
    m_s.LockOn = false;
    for (const char* n : {el::ledLOCK, el::ledFAST, el::LEDsub})
        m_display.SetValue(n, 0);
    m_keys.ToggleFunctionButtons();
    m_keys.ChangeTuningKnob();
}

bool Power::EndKIVO()
{
    if (!m_memory.ExitQuestion())
        return false;
    SaveAndGoDark();
    m_dialogs.CloseHelp();
    return true;
}

void Power::SaveAndGoDark()
{
    // A port lost, POWER not pressed since: what the radio is owed (transmit off, the main VFO,
    // split off) goes out before the program ends, as POWER would send it, on the lost port
    // back again or on one chosen since. With no port it is remembered for the next start.
    if (!m_s.CATOn && RadioOwedNow().Any() && m_comm.ReopenLost()) {
        SendWhatALostPortOwes();
        if (m_s.RadioSplitOn)
            m_cat.SendSplitOff();
    }
    if (!m_s.CATOn) {
        m_files.SaveBandDataFile();
        SaveWindowPosition();
        m_files.SaveSettingsFile();
        m_files.SaveHomeFile();
    } else {
        // What POWER does when on, without its port check: a port lost on the way out must
        // not stop the saves.
        PowerOff();
    }
    // Transmit off still owed, with the program about to go: the port was lost on the way out
    // (its release found it gone) or chosen again from the menus since it was lost. Whichever
    // port opens now hears it, or nobody ever would.
    SendPttOffOwedOnPortNow();
    KeepRadioOwed();
}

void Power::EndUnattended()
{
    // Whatever else fails, the radio must not be left transmitting (a held push-to-talk, say).
    if (m_s.CATOn)
        m_cat.SendPTT(false);
    // Nobody can be asked about unsaved memories now: they go to a recovery file that the next
    // start offers back, and the memory file stays as the user last saved it.
    if (m_s.MemChanged)
        m_memory.WriteRecovery();
    SaveAndGoDark();
    m_dialogs.CloseHelp();
}

} // namespace kivo::panel
