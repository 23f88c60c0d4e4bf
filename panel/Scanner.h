#pragma once
// SCAN, SEARCH and the jog keys while scanning: the VFO scan, the memory scan and the FM search
// that stores busy channels. The program steps and polls the radio itself; the radio's own
// scanner is never used.

#include "panel/KeyEnabling.h"
#include "panel/Keypad.h"
#include "panel/Memories.h"
#include "panel/PanelContext.h"
#include "panel/ScanSpeeds.h"
#include "panel/ScanStatus.h"
#include "panel/Switchable.h"
#include "panel/Tuning.h"
#include "panel/VfoModel.h"

#include <array>
#include <functional>
#include <memory>

namespace kivo::panel {

class Scanner final : public Switchable, private ContextRefs {
public:
    Scanner(const PanelContext& ctx, VfoModel& vfo, KeyEnabling& keys, Tuning& tuning, Memories& memories,
            Keypad& keypad);

    struct Hooks {
        // A digit key while a quick-memory store or recall is pending.
        std::function<void(int digit)> quickMemory;
    } hooks;

    // SCAN: digit 4, quick memory 4, the skip flag in memory check; else arms or disarms.
    void PressScan();
    // A jog key click while SCAN is armed (dir 1 UP, -1 DWN): starts or stops the scan.
    void PressJog(int dir);
    // SEARCH: starts or stops the FM search.
    void PressSearch();
    // Settings > Update Intervals > Scanning and > Pause.
    void ChooseScanSpeed(int index);
    void ChoosePauseInterval(int index) { m_speeds.ChoosePauseInterval(index); }
    void SwitchOff() override;

    // Ends an armed scan, running or not, as the second press of SCAN does.
    void Disarm();
    // One step of each scan: wait for the status of the channel, then move on.
    void TimerScanner_Tick();
    void TimerScannerMR_Tick();
    // One pass of the hand-shake and evaluation for each scan; flags by reference.
    void ReadScanStatus(bool& done, bool& sendReq);
    void ReadScanStatusMR(bool& done, bool& sendReq);
    // Moves CurMemPos to the next scannable position in `direction` and recalls it; false (with
    // nothing changed) when no position is used, not skipped and in a selected bank.
    bool ChangeMemoryScanning(int direction);
    // Looks for VFOMB's frequency in positions 1..999 and for the first empty one; `channel`
    // stays 0 when every position is used.
    void FindSearchChannel(bool& found, int& channel) const;

    using Waited = ScanStatus::Waited;
    // Runs the status hand-shake of one step until the channel is done or holds the scan, ScanDir
    // turns 0, or the radio stops answering; says nothing itself. The priority check listens on channel 0 with
    // the memory scan's rules through this too.
    Waited AwaitStatus(bool memory);

    // The pause on a busy channel, from the stored Pause choice (the priority check shares it).
    int PauseSecs() const { return m_speeds.PauseSecs(); }
    platform::Timer& TimerScanner() { return *m_timer; }
    platform::Timer& TimerScannerMR() { return *m_timerMR; }
    ScanStatus& Status() { return m_status; }

private:
    Long ChannelStep(Integer mode) const;
    void StartScan(int dir);
    void StopScan();
    void SendSplitMemory();
    // Runs one tick's wait, with a message when the radio fell silent.
    Waited AwaitStep(bool memory);
    // Waits `secs` or until the scan stops or, when `whileCentred`, the signal leaves centre.
    void TimedPause(int secs, bool whileCentred, bool& done, bool& sendReq);
    void StopWithMessage(const char* text, const char* title);
    void ShowMemoryDesc(bool on);

    VfoModel& m_vfo;
    KeyEnabling& m_keys;
    Tuning& m_tuning;
    Memories& m_memories;
    Keypad& m_keypad;
    ScanSpeeds m_speeds;
    ScanStatus m_status;
    std::unique_ptr<platform::Timer> m_timer;
    std::unique_ptr<platform::Timer> m_timerMR;
    bool m_holding = false; // the last reading holds the scan on its channel
    // A split memory passed in the scan put its transmit VFO into the sub VFO, which only goes
    // to the radio when the scan stops.
    bool m_subLoaded = false;
};

} // namespace kivo::panel
