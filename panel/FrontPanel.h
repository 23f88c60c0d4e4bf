#pragma once
// The front panel's logic: the two VFO states and their display, key enabling, start-up,
// the POWER key and shutdown, and tuning. Plain C++ over the state, the radio link and the
// platform interfaces; the window only binds to the display model and calls the handlers.

#include "platform/Dialogs.h"
#include "platform/DisplayModel.h"
#include "platform/EventLoop.h"
#include "platform/Window.h"
#include "radio/Cat.h"
#include "radio/CommPort.h"
#include "radio/Meter.h"
#include "state/DataFiles.h"
#include "state/MemoryFile.h"
#include "state/ModKIVO.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kivo::panel {

using state::Integer;
using state::Long;

// A band index that is safe to index the per-band tables with.
inline int BandSlot(Integer b) { return b >= 0 && b < state::kBandCount ? b : 0; }

// The front-panel keys whose enabled state follows the panel state.
extern const std::vector<std::string> kFunctionKeys;
inline constexpr int kModeKeyCount = 8;
inline constexpr int kBandKeyCount = 12;

// Display colours (0xRRGGBB) of the display panel and the meter.
inline constexpr unsigned kUnlitColor = 0x404040;
inline constexpr unsigned kLit16BitColor = 0x00C8F0;
inline constexpr unsigned kLit8BitColor = 0x00FFFF;

// Gap a radio needs between two frames; closer frames are dropped.
inline constexpr double kRadioFrameGap = 0.1;

// Meter update menu entries 0..6 in ms; 0 is "OFF".
inline constexpr int kMeterIntervals[7] = {1000, 500, 400, 300, 200, 100, 0};

// Handlers of keys and operations that other parts of the panel provide. Each step of a
// sequence that needs one tests its flag first and calls the handler only when it is set.
struct PanelKeys {
    std::function<void()> MOX;
    std::function<void()> SCAN;
    std::function<void()> CLAR;
    std::function<void()> PRI;
    std::function<void()> TurnOffMCK;
    std::function<void()> SUB;
    std::function<void()> HOME;
    std::function<void()> SPLIT;
    std::function<void()> SavePMSInfo;
    std::function<void()> ChangeToMRfunction;
    std::function<void()> ChangeToPMSfunction;
    std::function<void()> TurnOffClar;
    std::function<void()> AutoRptShift;
    // Channel knob in memory mode: step through the memories.
    std::function<void(int delta)> ChangeMemory;
    // Jog keys while a scan is armed: start or stop the scan (direction 1 up, -1 down).
    std::function<void(int dir)> JogScan;
    // MHz keys while a keypad entry or quick-memory choice is pending (true: the UP key).
    std::function<void(bool up)> MhzKeyEntry;
};

enum Knob { kMainKnob = 1, kSubKnob = 2, kChannelKnob = 3 };
enum KnobAction { kGrab = -1, kRelease = 1 };

class FrontPanel {
public:
    FrontPanel(state::ModKIVO& s, platform::DisplayModel& display, platform::Dialogs& dialogs,
               platform::EventLoop& loop, platform::Window& window, radio::Cat& cat, radio::CommPort& comm,
               radio::Meter& meter, state::DataFiles& files, state::MemoryFile& memory);

    PanelKeys keys;

    // Start-up: tables, files, port, dark panel, splash for at least 2 s.
    void Load();
    // POWER (`CATbutton`).
    void CATbutton_Click();
    // Shutdown; false when the user cancelled (or the memory save failed) and the program runs on.
    bool EndKIVO();

    // VFO model.
    void GetLastVFOindices();
    void GetInfoVFOMB();
    void GetInfoVFOSB();
    void SaveInfoVFOMB();
    void SaveInfoVFOSB();
    void SwapVFOMBSB();
    void SendInfoToRadioVFOMB(const state::VFOInfo& rec);
    void SendInfoToRadioVFOSB();
    void DisplayVFOInfo();
    void ChangeToVFOfunction();
    // SYNC: reads the radio into the VFO being tuned.
    void SYNCbutton_Click();

    void ToggleFunctionButtons();
    void ChangeTuningKnob();

    // Tuning.
    void SetupTuningKnob(int knob, int action);
    void MainKnob_Change(Long value);
    void SubKnob_Change(Long value);
    void ChannelKnob_Change(Long value);
    // Remembers the knobs' positions without tuning (start-up, or a knob widget reset).
    void SetKnobPositions(Long main, Long sub, Long channel);
    void JogButton_Press(int dir);
    void JogButton_Release();
    void StepFrequency();
    void MhzButton_Click(bool up);
    void FASTbutton_Click();
    void LOCKbutton_Click();
    Long KnobStep = 1;
    bool AutoShiftPending = false;

    // Settings menus the settings loader calls.
    void mnuMeterSpeed_Click(int index);
    void mnuTuneOnStartup_Click();
    bool TuneOnStartup() const;

    platform::Timer& TimerSendFreq() { return *m_timerSendFreq; }
    platform::Timer& TmrKnob() { return *m_tmrKnob; }
    platform::Timer& TimerDelay() { return *m_timerDelay; }
    std::string TimerDelayTag;
    platform::Timer& TimerScanner() { return *m_timerScanner; }
    platform::Timer& TimerScannerMR() { return *m_timerScannerMR; }
    platform::Timer& TimerPriorityMonitor() { return *m_timerPriority; }

    // A jog key is held down (tuning, not scanning).
    bool JogHeld = false;

    // "Version  1. 0. 0": each number with the leading blank of its text.
    static std::string VersionText(int major, int minor, int revision);

    state::ModKIVO& State() { return m_s; }
    platform::DisplayModel& Display() { return m_display; }
    radio::Cat& Cat() { return m_cat; }
    radio::Meter& Meter() { return m_meter; }

private:
    state::VFOInfo& TunedVFO() { return m_s.SubSelected ? m_s.VFOSB : m_s.VFOMB; }
    int TunedBand() const { return BandSlot(m_s.SubSelected ? m_s.BandIdxSB : m_s.BandIdxMB); }
    void SendTunedFreq();
    // The per-detent send: skipped while the line is within its frame gap, so a fast knob
    // never waits or builds a backlog; the send timer and the release catch up.
    void SendFreqPaced(bool main);
    bool AutoShiftBand(int band) const;
    bool Fast() const;
    void PowerOn();
    void PowerOff();
    void SaveWindowPosition();
    bool Visible(const char* name) const;
    void ApplyLitColour();

    state::ModKIVO& m_s;
    platform::DisplayModel& m_display;
    platform::Dialogs& m_dialogs;
    platform::EventLoop& m_loop;
    platform::Window& m_window;
    radio::Cat& m_cat;
    radio::CommPort& m_comm;
    radio::Meter& m_meter;
    state::DataFiles& m_files;
    state::MemoryFile& m_memory;
    Long m_lastMain = 0, m_lastSub = 0, m_lastChannel = 0;
    std::unique_ptr<platform::Timer> m_timerSendFreq;
    std::unique_ptr<platform::Timer> m_tmrKnob;
    std::unique_ptr<platform::Timer> m_timerDelay;
    std::unique_ptr<platform::Timer> m_timerScanner;
    std::unique_ptr<platform::Timer> m_timerScannerMR;
    std::unique_ptr<platform::Timer> m_timerPriority;
};

// RoundFreqToStep: the frequency moved onto the grid of the step; upward for a positive step,
// downward for a negative one; a frequency on the grid comes back unchanged.
Long RoundFreqToStep(Long freq, Long step);

} // namespace kivo::panel
