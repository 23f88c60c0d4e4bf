#pragma once
// The tuning controls: the three knobs, the jog keys, the MHz keys, FAST and LOCK.

#include "panel/KeyEnabling.h"
#include "panel/PanelContext.h"
#include "panel/VfoDisplay.h"
#include "panel/VfoModel.h"

#include <functional>
#include <memory>

namespace kivo::panel {

enum Knob { kMainKnob = 1, kSubKnob = 2, kChannelKnob = 3 };
enum KnobAction { kGrab = -1, kRelease = 1 };

// A band's tuning limits [low, high) and the two ways a frequency that a move took past them
// comes back in.
struct TuneLimits {
    Long low = 0;
    Long high = 0;
    // Main and sub knobs: past either limit, in again from the other by the overshoot.
    Long Around(Long f) const;
    // Channel knob, jog and MHz keys: at or past the top (checked when `up`) onto low; below the
    // bottom (checked when `down`) onto `fromBelow`.
    Long Reset(Long f, bool up, bool down, Long fromBelow) const;
};

// Takes the MHz keys while a keypad entry or quick-memory choice is pending (true: MHz UP).
class MhzKeyEntry {
public:
    virtual ~MhzKeyEntry() = default;
    virtual void MhzKey(bool up) = 0;
};

// Steps through the memory positions for the channel knob on a memory channel or in memory check.
class MemoryStepper {
public:
    virtual ~MemoryStepper() = default;
    // `step` is +1 or -1; false when no position could be shown.
    virtual bool ChangeMemory(int step) = 0;
};

class Tuning : private ContextRefs {
public:
    // `sendFreq` is the timer that resends the tuned frequency while a knob is held.
    Tuning(const PanelContext& ctx, VfoModel& vfo, KeyEnabling& keys, platform::Timer& sendFreq);

    struct Hooks {
        // Automatic repeater shift after the main VFO moved in FM on a band whose flag is on.
        std::function<void()> autoRptShift;
    } hooks;

    // Grab (kGrab) or release (kRelease) of knob 1 main, 2 sub, 3 channel: chooses the step and
    // runs the send timer while held; on release sends the final frequency after 0.2 s.
    void SetupTuningKnob(int knob, int action);
    // A knob moved to `value` (absolute detents): one step in its direction at most.
    void MainKnob_Change(Long value);
    void SubKnob_Change(Long value);
    void ChannelKnob_Change(Long value);
    // One detent of a knob (dir +1 or -1) from the keyboard, as one detent of the widget would
    // turn it; the widget's own position is left alone.
    void KnobDetent(int knob, int dir);
    // Remembers the knobs' positions without tuning (start-up, or a knob widget reset).
    void SetKnobPositions(Long main, Long sub, Long channel);
    // Jog key pressed (dir -1 DWN, 1 UP): a 10 kHz step every 200 ms until released.
    void JogButton_Press(int dir);
    void JogButton_Release();
    // One jog step of ScanStep on the VFO being tuned, reset to the other limit past a limit.
    void StepFrequency();
    // MHz UP or DOWN: 1 MHz (10 with FAST) on the VFO being tuned.
    void PressMhz(bool up);
    // FAST: steps ten times larger, or back. Sends nothing.
    void PressFast();
    // LOCK: the knobs refuse input, or accept it again. Sends nothing.
    void PressLock();

    // The step of the knob last grabbed, in 10 Hz units.
    Long KnobStep() const { return m_knobStep; }
    // Automatic repeater shift is due after this main-VFO tuning gesture.
    bool AutoShiftPending() const { return m_autoShiftPending; }
    // The jog key timer (200 ms).
    platform::Timer& TmrKnob() { return *m_tmrKnob; }
    // Where the MHz keys go while an entry is pending; none: they do nothing then.
    void SetMhzKeyEntry(MhzKeyEntry* entry) { m_mhzEntry = entry; }
    // What the channel knob steps on a memory channel and in memory check; none: it does nothing then.
    void SetMemoryStepper(MemoryStepper* memories) { m_memories = memories; }
    // What a jog key press does while SCAN is armed (dir 1 UP, -1 DWN); none: nothing.
    void SetScanJog(std::function<void(int dir)> jog) { m_scanJog = std::move(jog); }

private:
    TuneLimits LimitsOf(int band) const;
    // One detent (-1, 0 or +1) of each knob.
    void MainDetent(Long delta);
    void SubDetent(Long delta);
    void ChannelDetent(Long delta);
    // The per-detent send: skipped while the line is within its frame gap, so a fast knob
    // never waits or builds a backlog; the send timer and the release catch up.
    void SendFreqPaced(bool main);
    bool AutoShiftBand(int band) const;
    // After a jog step or MHz key: the automatic shift, when the main VFO is in FM on such a band.
    void AutoShiftNow();
    void ShowFastLock();

    VfoDisplay m_shown;
    VfoModel& m_vfo;
    KeyEnabling& m_keys;
    platform::Timer& m_sendFreq;
    std::unique_ptr<platform::Timer> m_tmrKnob;
    MhzKeyEntry* m_mhzEntry = nullptr;
    MemoryStepper* m_memories = nullptr;
    std::function<void(int)> m_scanJog;
    Long m_knobStep = 1;
    bool m_autoShiftPending = false;
    Long m_lastMain = 0;
    Long m_lastSub = 0;
    Long m_lastChannel = 0;
};

} // namespace kivo::panel
