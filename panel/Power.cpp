#include "panel/FrontPanel.h"

namespace kivo::panel {

using platform::Buttons;
using platform::DisplayModel;
using platform::Icon;

namespace {

constexpr const char* kTuneOnStartupMenu = "mnuSettingsArray(14)";

// Elements the power-off sequence hides, and which are therefore hidden while the panel is dark.
const char* const kDarkHidden[] = {
    "lblTXRX",
    "lblRXTX",
    "lblMainDEC",
    "lblSubDEC",
    "lblMainENC",
    "lblSubENC",
    "lblMainDCS",
    "lblSubDCS",
    "ImgRPTdirection(0)",
    "ImgRPTdirection(1)",
    "ledMRnumber",
    "lblMCK",
    "lblMT",
    "ledFreq",
    "ledSubFreq",
    "lblCH",
    "lblSKIP",
    "lblBusy",
    "lblOnAir",
    "lblMemoryDesc",
};

struct KeyCaption {
    const char* name;
    const char* caption;
};
const KeyCaption kKeyCaptions[] = {
    {"CATbutton", "POWER"},
    {"MOXbutton", "MOX"},
    {"SEARCHbutton", "SEARCH"},
    {"SYNCbutton", "SYNC"},
    {"FASTbutton", "FAST"},
    {"LOCKbutton", "LOCK"},
    {"HOMEbutton", "HOME"},
    {"VFOMRbutton", "V/M"},
    {"ABbutton", "A > B"},
    {"MCKbutton", "MCK"},
    {"SPLITbutton", "SPLIT"},
    {"SUBbutton", "SUB"},
    {"RPTbutton", "RPT"},
    {"REVbutton", "REV"},
    {"TONEbutton", "TONE"},
    {"SCOPEbutton", "SCOPE"},
    {"SCANbutton", "SCAN"},
    {"PRIbutton", "PRI"},
    {"DOPbutton", "DOP"},
    {"BandDownButton", "BAND \u25BC"},
    {"BandUpButton", "BAND \u25B2"},
    {"PMSbutton", "PMS"},
    {"ENTbutton", "ENT"},
    {"CLARbutton", "CLAR"},
    {"RCLbutton", "RCL"},
    {"STObutton", "STO"},
    {"SWAPbutton", "A < > B"},
    {"MhzUpButton", "MHz \u25B2"},
    {"MhzDownButton", "MHz \u25BC"},
};
const char* const kModeKeyCaptions[kModeKeyCount] = {"L S B", "U S B", "C W", "C W R", "A M", "F M", "D I G", "P K T"};

} // namespace

FrontPanel::FrontPanel(state::ModKIVO& s, platform::DisplayModel& display, platform::Dialogs& dialogs,
                       platform::EventLoop& loop, platform::Window& window, radio::Cat& cat, radio::CommPort& comm,
                       radio::Meter& meter, state::DataFiles& files, state::MemoryFile& memory)
    : m_s(s), m_display(display), m_dialogs(dialogs), m_loop(loop), m_window(window), m_cat(cat), m_comm(comm),
      m_meter(meter), m_files(files), m_memory(memory), m_timerSendFreq(loop.CreateTimer()),
      m_tmrKnob(loop.CreateTimer()), m_timerDelay(loop.CreateTimer()), m_timerScanner(loop.CreateTimer()),
      m_timerScannerMR(loop.CreateTimer()), m_timerPriority(loop.CreateTimer())
{
    m_timerSendFreq->SetInterval(250);
    m_timerSendFreq->onTick = [this] {
        // A detent has just gone out: this tick would only wait behind it.
        if (m_cat.LineBusy())
            return;
        SendTunedFreq();
    };
    m_tmrKnob->SetInterval(200);
    m_tmrKnob->onTick = [this] {
        m_tmrKnob->SetEnabled(false);
        StepFrequency();
        if (JogHeld)
            m_tmrKnob->SetEnabled(true);
    };
    m_timerDelay->SetInterval(500);

    // The dark panel as the window first shows it.
    for (int k = 0; k < 8; ++k) {
        const char* caption = radio::ModeTable[k].caption;
        m_display.SetCaption(DisplayModel::Indexed("lblMBmode", k), caption);
        m_display.SetVisible(DisplayModel::Indexed("lblMBmode", k), false);
        m_display.SetCaption(DisplayModel::Indexed("lblSBmode", k), caption);
        m_display.SetVisible(DisplayModel::Indexed("lblSBmode", k), false);
    }
    for (const char* n : kDarkHidden)
        m_display.SetVisible(n, false);
    for (const char* n : {"lblSPLIT", "lblSCAN", "lblSEARCH", "LMeter"})
        m_display.SetVisible(n, false);
    m_display.SetCaption("ledMRnumber", "001");
    for (const char* n : {"ledLOCK", "ledFAST", "LEDsub"})
        m_display.SetValue(n, 0);
    m_display.SetColor("DisplayPanel", kUnlitColor);
    m_display.SetColor("LMeter", kUnlitColor);
    for (const auto& k : kKeyCaptions)
        m_display.SetCaption(k.name, k.caption);
    for (int m = 0; m < kModeKeyCount; ++m)
        m_display.SetCaption(DisplayModel::Indexed("ModeButton", m), kModeKeyCaptions[m]);
    m_display.SetChecked(kTuneOnStartupMenu, false);
    const char* meterSpeeds[7] = {"1000 ms.", "500 ms.", "400 ms.", "300 ms.", "200 ms.", "100 ms.", "OFF"};
    for (int i = 0; i < 7; ++i)
        m_display.SetCaption(DisplayModel::Indexed("mnuMeterSpeed", i), meterSpeeds[i]);
    ToggleFunctionButtons();
    ChangeTuningKnob();

    m_memory.hooks.setTitle = [this](const std::string& t) { m_window.SetTitle(t); };
    m_memory.hooks.changeToVFOfunction = [this] {
        if (m_s.CATOn)
            ChangeToVFOfunction();
    };
    m_memory.hooks.turnOffLMeter = [this] { m_meter.TurnOffLMeter(); };
    m_memory.hooks.turnOnLMeter = [this] {
        if (m_s.CATOn)
            m_meter.TurnOnLMeter();
    };

    // A port that goes away is closed at once; the message and the dark panel follow from the
    // event loop, outside whatever sequence was writing when it was noticed.
    m_cat.hooks.portVanished = [this] {
        m_comm.PortLost(); // the meter polls stop by themselves on a closed port
        m_timerSendFreq->SetEnabled(false);
        m_loop.CallAt(m_loop.Now(), [this] {
            if (m_s.CATOn)
                PowerOff();
            m_dialogs.MessageBox("The radio's serial port has gone away: the cable was unplugged or the radio was "
                                 "switched off. Press POWER to connect again once the radio is back.",
                                 "SERIAL PORT ERROR", Icon::Exclamation, Buttons::Ok);
        });
    };
    m_cat.hooks.autoRepeaterShift = [this] {
        if (keys.AutoRptShift)
            keys.AutoRptShift();
    };
}

bool FrontPanel::Visible(const char* name) const { return m_display.Has(name) && m_display.Get(name).visible; }

std::string FrontPanel::VersionText(int major, int minor, int revision)
{
    return "Version  " + std::to_string(major) + ". " + std::to_string(minor) + ". " + std::to_string(revision);
}

void FrontPanel::mnuMeterSpeed_Click(int index)
{
    if (index < 0 || index > 6)
        index = 1;
    for (int i = 0; i < 7; ++i)
        m_display.SetChecked(DisplayModel::Indexed("mnuMeterSpeed", i), i == index);
    m_s.Settings.MeterSpeed = Integer(index);
    m_meter.SetInterval(kMeterIntervals[index]);
}

void FrontPanel::mnuTuneOnStartup_Click()
{
    const bool on = !TuneOnStartup();
    m_display.SetChecked(kTuneOnStartupMenu, on);
    m_s.Settings.TuneOnStartup = on ? -1 : 0;
}

bool FrontPanel::TuneOnStartup() const
{
    return m_display.Has(kTuneOnStartupMenu) && m_display.Get(kTuneOnStartupMenu).checked;
}

void FrontPanel::Load()
{
    m_window.ShowSplash(VersionText(1, 0, 0));
    m_window.SetBusyCursor(true);

    m_files.OpenBandDataFile();
    for (int b = 0; b < kBandKeyCount; ++b) {
        const Integer mhz = m_s.BandData.BandMHz[b];
        m_display.SetCaption(DisplayModel::Indexed("BandButton", b), std::to_string(mhz));
    }
    const int last = BandSlot(m_s.BandData.LastBandMB);
    m_s.BandIdxMB = Integer(last);
    m_s.BandIdxSB = Integer(last);
    m_s.VFOMB = m_s.BandData.BandVFOMB[last];
    m_s.VFOSB = m_s.BandData.BandVFOMB[last];

    m_s.VFOMRMode = state::kModeVFO;
    m_s.CurMemPos = 0;
    m_s.RadioSplitOn = false;
    m_s.CATOn = false;
    ToggleFunctionButtons();

    state::SettingsMenuHandlers menus;
    menus.commPort = [this](int i) { m_comm.mnuCommPortArray_Click(i); };
    menus.catRate = [this](int i) { m_comm.mnuCatRate_Click(i); };
    menus.meterSpeed = [this](int i) { mnuMeterSpeed_Click(i); };
    menus.tuneOnStartup = [this](bool on) { m_display.SetChecked(kTuneOnStartupMenu, on); };
    bool placed = false;
    m_files.OpenSettingsFile(
        menus,
        [this, &placed](Long left, Long top) {
            placed = m_window.OnScreen(left, top);
            return placed;
        },
        &m_memory);
    // A position on a screen that is gone (a second monitor unplugged) would hide the window.
    if (placed)
        m_window.MoveTo(m_s.Settings.FormLeft, m_s.Settings.FormTop);
    else
        m_window.Centre();
    m_window.SetTitle(m_memory.Title());

    m_files.OpenHomeFile();

    m_display.SetColor("DisplayPanel", kUnlitColor);
    m_display.SetColor("LMeter", kUnlitColor);
    m_display.SetVisible("LMeter", false);

    platform::Pause(m_loop, 2.0);
    m_window.HideSplash();
    m_window.ShowMain();
    m_window.SetBusyCursor(false);
}

void FrontPanel::ApplyLitColour()
{
    unsigned c = 0;
    if (m_s.Settings.ColorDepth == 7)
        c = kLit16BitColor;
    else if (m_s.Settings.ColorDepth == 8)
        c = kLit8BitColor;
    else
        return;
    m_display.SetColor("DisplayPanel", c);
    m_display.SetColor("LMeter", c);
}

void FrontPanel::CATbutton_Click()
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

void FrontPanel::PowerOn()
{
    m_s.CATOn = true;
    auto& g = m_meter.Gauge();
    g.Select(0);
    g.SetValue(0);
    g.Select(1);
    g.SetValue(0);
    g.SetMarker(2, 0);
    g.SetMarker(3, 0);
    ApplyLitColour();
    for (const char* n : {"LMeter", "ledFreq", "ledSubFreq"})
        m_display.SetVisible(n, true);

    if (TuneOnStartup()) {
        SYNCbutton_Click();
        SaveInfoVFOMB();
        m_cat.ToggleVFOAB();
        m_s.SubSelected = true;
        SYNCbutton_Click();
        m_s.SubSelected = false;
        SaveInfoVFOSB();
        m_cat.ToggleVFOAB();
    }
    m_cat.ResetLastInfoVFO();
    ChangeToVFOfunction();
    TimerDelayTag = "OFF";
    ToggleFunctionButtons();
    ChangeTuningKnob();
    m_meter.TurnOnLMeter();
}

void FrontPanel::SaveWindowPosition()
{
    m_s.Settings.FormLeft = Long(m_window.LeftTwips());
    m_s.Settings.FormTop = Long(m_window.TopTwips());
}

void FrontPanel::PowerOff()
{
    m_s.CATOn = false;
    auto press = [](const std::function<void()>& key) {
        if (key)
            key();
    };
    if (Visible("lblOnAir"))
        press(keys.MOX);
    if (m_s.ScanArmed)
        press(keys.SCAN);
    if (m_s.ClarOn)
        press(keys.CLAR);
    if (m_s.PRIOn)
        press(keys.PRI);
    if (m_s.MCKOn)
        press(keys.TurnOffMCK);
    if (m_s.SubSelected)
        press(keys.SUB);
    if (m_s.HomeOn)
        press(keys.HOME);
    if (m_s.SplitOn)
        press(keys.SPLIT);
    if (m_s.VFOMRMode == state::kModeVFO) {
        SaveInfoVFOMB();
        SaveInfoVFOSB();
    } else if (m_s.VFOMRMode == state::kModePMS) {
        press(keys.SavePMSInfo);
    }
    m_files.SaveBandDataFile();
    SaveWindowPosition();
    m_files.SaveSettingsFile();
    m_files.SaveHomeFile();
    m_meter.TurnOffLMeter();
    m_meter.TimerSignalMeter().SetEnabled(false);
    for (platform::Timer* t :
         {m_timerScanner.get(), m_timerScannerMR.get(), m_timerPriority.get(), m_timerDelay.get(), m_tmrKnob.get()})
        t->SetEnabled(false);
    for (int k = 0; k < 8; ++k) {
        m_display.SetVisible(DisplayModel::Indexed("lblMBmode", k), false);
        m_display.SetVisible(DisplayModel::Indexed("lblSBmode", k), false);
    }
    m_s.ScanArmed = false;
    for (const char* n : kDarkHidden)
        m_display.SetVisible(n, false);
    m_display.SetColor("DisplayPanel", kUnlitColor);
    m_display.SetColor("LMeter", kUnlitColor);
    m_display.SetVisible("LMeter", false);
    for (const char* n : {"ledLOCK", "ledFAST", "LEDsub"})
        m_display.SetValue(n, 0);
    ToggleFunctionButtons();
    ChangeTuningKnob();
}

bool FrontPanel::EndKIVO()
{
    if (!m_memory.ExitQuestion())
        return false;
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
    m_dialogs.CloseHelp();
    return true;
}

} // namespace kivo::panel
