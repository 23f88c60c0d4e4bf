#pragma once
// The priority monitor: the PRI key, the PRI Monitor interval menu, and the check that every
// interval switches the radio to memory channel 0, listens there as the memory scan does, and
// returns to the VFO, memory channel or PMS the user was on. It listens with the memory scan's
// status hand-shake and rules.

#include "panel/KeyEnabling.h"
#include "panel/Keypad.h"
#include "panel/Memories.h"
#include "panel/PanelContext.h"
#include "panel/Pms.h"
#include "panel/Scanner.h"
#include "panel/Switchable.h"
#include "panel/VfoModel.h"

#include <memory>

namespace kivo::panel {

// PRI Monitor menu entries 0..3 in ms; 0 is "OFF".
inline constexpr int kPriIntervals[4] = {15000, 10000, 5000, 0};
// The PRI Monitor menu's captions.
inline constexpr const char* kPriSpeedCaptions[4] = {"15 sec.", "10 sec.", "5 sec.", "OFF"};

class PriorityMonitor final : public Switchable, private ContextRefs {
public:
    PriorityMonitor(const PanelContext& ctx, VfoModel& vfo, KeyEnabling& keys, Keypad& keypad, Memories& memories,
                    Pms& pms, Scanner& scanner);

    // PRI key: the digit 5 while an entry is pending, quick-memory slot 5 while one is armed,
    // else monitoring on (refused with a message when the interval is "OFF" or channel 0 is
    // empty) or off (through the VFO/MR key, which returns to the user's function).
    void PressPri();
    // Settings > Update Intervals > PRI Monitor entry 0..3 (3 is "OFF"); out of range picks
    // "5 sec.".
    void ChoosePriSpeed(int index);
    // One priority check; the timer's tick.
    void Check();
    // Stops the timer and clears the monitor's scan direction (left set, it holds the dial
    // reading off for good); PRIOn is already clear.
    void StopTimer();
    // PRI off when it is on.
    void SwitchOff() override;

    platform::Timer& TimerPriorityMonitor() { return *m_timer; }

private:
    // Monitoring off through the VFO/MR key, which returns to the user's function.
    void StopMonitoring();
    void ReturnToUser(Integer mode);
    void ReenableAfterCheck();
    void GiveUp();
    // The hold on a busy channel 0 is over: the timer back to the monitor's interval.
    void EndHold();

    VfoModel& m_vfo;
    KeyEnabling& m_keys;
    Keypad& m_keypad;
    Memories& m_memories;
    Pms& m_pms;
    Scanner& m_scanner;
    std::unique_ptr<platform::Timer> m_timer;
    // While channel 0 is busy the check stays there and reads it again this often.
    static constexpr int kHoldMs = 100;
    bool m_holding = false;
    Integer m_userMode = 0; // the function the check returns to
};

} // namespace kivo::panel
