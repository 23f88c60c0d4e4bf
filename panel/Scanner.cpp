#include "panel/Scanner.h"

#include "radio/CatCodec.h"

#include <algorithm>

namespace kivo::panel {

namespace {
constexpr int kFM = 5;
constexpr Long kSlowStep = 5;                        // 50 Hz while a sideband or CW signal is heard
constexpr Long kQuietStep = 50;                      // 500 Hz while nothing is
bool ChannelMode(Integer mode) { return mode >= 4; } // AM, FM, DIG, PKT; below: LSB, USB, CW, CWR
} // namespace

Scanner::Scanner(const PanelContext& ctx, VfoModel& vfo, KeyEnabling& keys, Tuning& tuning, Memories& memories,
                 Keypad& keypad)
    : ContextRefs(ctx), m_vfo(vfo), m_keys(keys), m_tuning(tuning), m_memories(memories), m_keypad(keypad),
      m_speeds(ctx.s, ctx.display), m_status(ctx.cat, ctx.loop), m_timer(ctx.loop.CreateTimer()),
      m_timerMR(ctx.loop.CreateTimer())
{
    ChooseScanSpeed(0);
    m_timer->onTick = [this] { TimerScanner_Tick(); };
    m_timerMR->onTick = [this] { TimerScannerMR_Tick(); };
}

Long Scanner::ChannelStep(Integer mode) const
{
    const int m = std::clamp<int>(mode, 0, state::kStepModeSlots - 1);
    const Long step = m_s.Settings.ChannelStep[std::size_t(BandSlot(m_s.BandIdxMB))][std::size_t(m)];
    return step > 0 ? step : 1; // a damaged step table must not stop the scan
}

void Scanner::ChooseScanSpeed(int index)
{
    const int ms = m_speeds.ChooseScanSpeed(index);
    m_timer->SetInterval(ms);
    m_timerMR->SetInterval(ms);
}

void Scanner::ShowMemoryDesc(bool on)
{
    if (on)
        m_display.SetCaption(el::lblMemoryDesc, m_s.MemData[std::size_t(WrapPosition(m_s.CurMemPos))].Desc.Text());
    m_display.SetVisible(el::lblMemoryDesc, on);
}

void Scanner::PressScan()
{
    if (m_s.KeypadOn) {
        m_keypad.DisplayNumericKeypadEntry('4');
        return;
    }
    if (m_s.QMBStore || m_s.QMBRecall) {
        if (hooks.quickMemory)
            hooks.quickMemory(4);
        return;
    }
    const bool mr = m_s.VFOMRMode == state::kModeMR;
    if (mr && m_s.MCKOn) {
        state::MemRec& m = m_s.MemData[std::size_t(WrapPosition(m_s.CurMemPos))];
        m.Skip = m.Skip != 0 ? 0 : -1;
        m_display.SetVisible(el::lblSKIP, m.Skip != 0);
        m_s.MemChanged = true;
        return;
    }
    if ((mr && m_s.MemCount <= 1) || (!mr && m_s.VFOMRMode != state::kModeVFO && m_s.VFOMRMode != state::kModePMS))
        return;
    if (!m_s.ScanArmed) {
        if (m_timer->Interval() == 0) {
            m_dialogs.MessageBox("The scan interval under the Settings Menu has been turned off. You must select a "
                                 "scan interval before scanning can take place.",
                                 "Scan Interval OFF", platform::Icon::Exclamation, platform::Buttons::Ok);
            return;
        }
        if (mr)
            m_display.SetVisible(el::lblMemoryDesc, false);
        m_s.ScanArmed = true;
        m_display.SetVisible(el::lblSCAN, true);
        m_s.ScanDir = 0;
        m_keys.ToggleFunctionButtons();
        m_keys.ChangeTuningKnob();
        PressJog(1);
        return;
    }
    Disarm();
}

void Scanner::Disarm()
{
    const bool mr = m_s.VFOMRMode == state::kModeMR;
    m_s.ScanArmed = false;
    m_display.SetVisible(el::lblSCAN, false);
    m_display.SetVisible(el::lblBusy, false);
    m_timer->SetEnabled(false);
    m_timerMR->SetEnabled(false);
    m_s.ScanDir = 0;
    if (mr) {
        m_display.SetVisible(el::lblMemoryDesc, true);
        SendSplitMemory();
    }
    m_meter.TurnOnLMeter();
    m_keys.ToggleFunctionButtons();
    m_keys.ChangeTuningKnob();
}

void Scanner::SendSplitMemory()
{
    if (m_s.MemData[std::size_t(WrapPosition(m_s.CurMemPos))].Split != -1 && !m_subLoaded)
        return;
    m_subLoaded = false;
    m_vfo.SendSubVfo();
}

void Scanner::PressJog(int dir)
{
    if (!m_s.ScanArmed)
        return;
    if (m_s.ScanDir == 0)
        StartScan(dir < 0 ? -1 : 1);
    else
        StopScan();
}

void Scanner::StartScan(int dir)
{
    // With SUB the radio works the sub VFO: the memories scanned would land there.
    if (m_s.VFOMRMode == state::kModeMR && m_s.SubSelected) {
        m_dialogs.Beep();
        return;
    }
    m_meter.TurnOffLMeter();
    m_s.ScanDir = dir;
    m_keys.ChangeTuningKnob();
    m_keys.ToggleFunctionButtons();
    if (m_s.VFOMRMode == state::kModeMR) {
        if (ChangeMemoryScanning(dir))
            m_timerMR->SetEnabled(true);
        return;
    }
    // With SUB the scan steps the sub VFO: rounding the main one would leave it where the radio
    // is not.
    state::VFOInfo& v = m_vfo.TunedVFO();
    const Long step = ChannelMode(v.Mode) ? ChannelStep(v.Mode) : kSlowStep;
    m_s.ScanStep = dir * step;
    v.Freq = RoundFreqToStep(v.Freq, step);
    m_tuning.StepFrequency();
    m_timer->SetEnabled(true);
}

void Scanner::StopScan()
{
    m_timerMR->SetEnabled(false);
    m_timer->SetEnabled(false);
    m_s.ScanDir = 0;
    if (m_s.VFOMRMode == state::kModeMR) {
        SendSplitMemory();
        if (m_s.MemData[std::size_t(WrapPosition(m_s.CurMemPos))].Split != -1 && m_s.RadioSplitOn)
            m_cat.SendSplitOff();
    }
    m_keys.ChangeTuningKnob();
    m_keys.ToggleFunctionButtons();
    m_meter.TurnOnLMeter();
}

void Scanner::PressSearch()
{
    if (m_s.SearchOn) {
        m_timer->SetEnabled(false);
        m_s.SearchOn = false;
        m_s.ScanDir = 0;
        m_display.SetVisible(el::lblSEARCH, false);
        m_display.SetVisible(el::lblBusy, false);
        m_keys.ChangeTuningKnob();
        m_keys.ToggleFunctionButtons();
        m_meter.TurnOnLMeter();
        return;
    }
    if (m_s.VFOMB.Mode != kFM) {
        m_dialogs.MessageBox("The search function can only be activated while in FM mode.", "Search Function Warning",
                             platform::Icon::Exclamation, platform::Buttons::Ok);
        return;
    }
    m_s.SearchOn = true;
    m_display.SetVisible(el::lblSEARCH, true);
    m_meter.TurnOffLMeter();
    m_s.ScanDir = 1;
    m_keys.ChangeTuningKnob();
    m_keys.ToggleFunctionButtons();
    m_s.ScanStep = ChannelStep(kFM);
    m_s.VFOMB.Freq = RoundFreqToStep(m_s.VFOMB.Freq, m_s.ScanStep);
    m_tuning.StepFrequency();
    m_timer->SetEnabled(true);
}

void Scanner::SwitchOff()
{
    if (m_s.SearchOn)
        PressSearch();
    // Not through the SCAN key: an open keypad or quick memory would take the press as a digit
    // and leave the scan running on a dark panel.
    if (m_s.ScanArmed)
        Disarm();
    m_timer->SetEnabled(false);
    m_timerMR->SetEnabled(false);
}

void Scanner::StopWithMessage(const char* text, const char* title)
{
    m_dialogs.Beep();
    if (m_s.SearchOn)
        PressSearch();
    else if (m_s.ScanArmed && m_s.ScanDir != 0)
        StopScan();
    m_dialogs.MessageBox(text, title, platform::Icon::Exclamation, platform::Buttons::Ok);
}

Scanner::Waited Scanner::AwaitStatus(bool memory)
{
    const auto pass = [this, memory](bool& done, bool& sendReq) {
        memory ? ReadScanStatusMR(done, sendReq) : ReadScanStatus(done, sendReq);
    };
    return m_status.Await(
        pass, [this] { return m_s.ScanDir == 0; }, m_holding);
}

Scanner::Waited Scanner::AwaitStep(bool memory)
{
    const Waited w = AwaitStatus(memory);
    if (w == Waited::Silent)
        StopWithMessage("The radio is not answering. Scanning has been stopped.", "Scan Stopped");
    return w;
}

void Scanner::TimerScanner_Tick()
{
    // In another unit's toggle–send–toggle the step would land on the VFO the scan does not
    // tune, and inside a frequency read its status poll would take the reply: it waits for the
    // next tick.
    if (m_cat.MidToggle() || m_cat.Reading())
        return;
    m_timer->SetEnabled(false); // no second tick while this one waits
    const Waited w = AwaitStep(false);
    if (w == Waited::Done)
        m_tuning.StepFrequency();
    if (w == Waited::Done || w == Waited::Holding)
        m_timer->SetEnabled(true); // holding: the next tick reads the same channel again
}

void Scanner::TimerScannerMR_Tick()
{
    if (m_cat.MidToggle() || m_cat.Reading())
        return;
    m_timerMR->SetEnabled(false);
    const Waited w = AwaitStep(true);
    if (w == Waited::Holding || (w == Waited::Done && ChangeMemoryScanning(m_s.ScanDir)))
        m_timerMR->SetEnabled(true);
}

void Scanner::TimedPause(int secs, bool whileCentred, bool& done, bool& sendReq)
{
    const double end = m_loop.Now() + secs;
    m_meter.TimerSignalMeter().SetEnabled(true);
    while (m_loop.Now() < end && (!whileCentred || m_meter.SignalCentred)) {
        m_loop.ProcessEventsUntil(end);
        if (m_s.ScanDir == 0) {
            m_meter.TimerSignalMeter().SetEnabled(false);
            done = true;
            sendReq = false;
            return;
        }
    }
    m_meter.TimerSignalMeter().SetEnabled(false);
    done = true;
    sendReq = true;
}

void Scanner::ReadScanStatus(bool& done, bool& sendReq)
{
    const auto byte = m_status.Poll(sendReq);
    if (!byte)
        return;
    const radio::RxStatus rx = radio::DecodeRxStatus(*byte);
    const Integer mode = m_vfo.TunedVFO().Mode;
    m_meter.SignalCentred = rx.centred;
    if (rx.busy) {
        if (rx.centred && mode == kFM && m_s.SearchOn) {
            bool found = false;
            int channel = 0;
            FindSearchChannel(found, channel);
            if (found && channel > 0) {
                m_memories.SaveVFOInfoToMemory(channel);
                m_s.MemChanged = true;
            }
            done = sendReq = true;
            m_meter.ShowSMeter(rx.sMeter);
            if (found && channel == 0)
                StopWithMessage("The memory is full: positions 1 to 999 are all used. The search has been stopped.",
                                "Memory Full");
            return;
        }
        m_display.SetVisible(el::lblBusy, true);
        if (!ChannelMode(mode)) {
            m_s.ScanStep = m_s.ScanDir * kSlowStep;
            done = sendReq = true;
        } else if (PauseSecs() > 0 && rx.centred) {
            m_meter.ShowSMeter(rx.sMeter);
            TimedPause(PauseSecs(), true, done, sendReq);
            return;
        } else if (PauseSecs() > 0) {
            done = sendReq = true;
        } else {
            done = !rx.centred;
            sendReq = true;
            m_holding = !done;
        }
    } else {
        m_display.SetVisible(el::lblBusy, false);
        if ((m_s.ScanStep == kSlowStep || m_s.ScanStep == -kSlowStep) && !ChannelMode(mode)) {
            m_s.ScanStep = m_s.ScanDir * kQuietStep;
            state::VFOInfo& v = m_vfo.TunedVFO();
            v.Freq = RoundFreqToStep(v.Freq, kQuietStep);
        }
        done = sendReq = true;
    }
    m_meter.ShowSMeter(rx.sMeter);
}

void Scanner::ReadScanStatusMR(bool& done, bool& sendReq)
{
    const auto byte = m_status.Poll(sendReq);
    if (!byte)
        return;
    const radio::RxStatus rx = radio::DecodeRxStatus(*byte);
    m_meter.SignalCentred = rx.centred;
    m_meter.ShowSMeter(rx.sMeter);
    if (!rx.busy) {
        m_display.SetVisible(el::lblBusy, false);
        done = sendReq = true;
        return;
    }
    m_display.SetVisible(el::lblBusy, true);
    ShowMemoryDesc(true);
    if (PauseSecs() >= 1) {
        TimedPause(PauseSecs(), false, done, sendReq);
        if (m_s.ScanDir != 0)
            ShowMemoryDesc(false);
        return;
    }
    sendReq = true; // hold on the channel until the squelch closes
    m_holding = true;
}

bool Scanner::ChangeMemoryScanning(int direction)
{
    const auto scannable = [this](int pos) {
        const state::MemRec& m = m_s.MemData[std::size_t(pos)];
        return m.VFO1.Freq > 0 && m.Skip == 0 && m.BankSel == -1;
    };
    int pos = WrapPosition(m_s.CurMemPos);
    for (int n = 0; n < state::kMemCount; ++n) {
        pos = WrapPosition(pos + direction);
        if (scannable(pos)) {
            m_s.CurMemPos = pos;
            m_display.SetCaption(el::ledMRnumber, MemoryNumberText(pos));
            m_memories.GetMemoryInfo();
            if (m_s.MemData[std::size_t(pos)].Split == -1)
                m_subLoaded = true;
            return true;
        }
    }
    // One full round found nothing: stopping beats searching forever.
    StopWithMessage("No memory can be scanned: every used position is skipped or in a bank that is not selected.",
                    "Memory Scan");
    return false;
}

void Scanner::FindSearchChannel(bool& found, int& channel) const
{
    found = false;
    channel = 0;
    for (int pos = 1; pos < state::kMemCount; ++pos) {
        const Long f = m_s.MemData[std::size_t(pos)].VFO1.Freq;
        if (f == m_s.VFOMB.Freq)
            return;
        if (f == 0 && channel == 0)
            channel = pos;
    }
    found = true;
}

} // namespace kivo::panel
