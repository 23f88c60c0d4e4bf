#pragma once
// The computer keyboard as a second way to work the panel: key-down and key-up mapped onto the
// handlers the mouse uses (front-panel keys, knob detents, frequency steps, push-to-talk). Codes
// are Windows virtual-key numbers; the window translates its toolkit's key events into them and
// forwards every one before any control sees it.

#include "state/ModKIVO.h"

#include <map>
#include <string>

namespace kivo::panel {

// Virtual-key numbers of the keys the panel uses. Letters and top-row digits are their ASCII
// capitals and digits ('L' is 76, '0' is 48).
namespace vk {
inline constexpr int kEnter = 13;
inline constexpr int kEscape = 27;
inline constexpr int kSpace = 32;
inline constexpr int kPageUp = 33;
inline constexpr int kPageDown = 34;
inline constexpr int kNumpad0 = 96; // .. kNumpad0 + 9
inline constexpr int kMultiply = 106;
inline constexpr int kAdd = 107;
inline constexpr int kSeparator = 108;
inline constexpr int kSubtract = 109;
inline constexpr int kDecimal = 110;
inline constexpr int kDivide = 111;
inline constexpr int kF1 = 112; // .. kF1 + 11 for F12
} // namespace vk

// Modifier bits. The table compares the sum exactly: Ctrl with Shift (3) is neither Ctrl nor Shift.
inline constexpr int kShiftDown = 1;
inline constexpr int kCtrlDown = 2;
inline constexpr int kAltDown = 4;

// What the keys act on: the panel's own handlers in the program, a recorder in tests.
class KeyTargets {
public:
    virtual ~KeyTargets() = default;
    // A click on the front-panel, mode or band key of that element name.
    virtual void Press(const std::string& key) = 0;
    // The MCK key's mouse-down and mouse-up.
    virtual void MCKDown() = 0;
    virtual void MCKUp() = 0;
    // A jog key pressed while SCAN is armed (dir -1 DWN, 1 UP): starts or stops the scan.
    virtual void JogPress(int dir) = 0;
    // Knob 1 main, 2 sub, 3 channel: grab (-1) or release (1), and one detent in direction dir.
    virtual void SetupTuningKnob(int knob, int action) = 0;
    virtual void KnobDetent(int knob, int dir) = 0;
    // One step of ScanStep on the VFO being tuned, sent.
    virtual void StepFrequency() = 0;
    virtual void TurnOffLMeter() = 0;
    virtual void TurnOnLMeter() = 0;
    // Whether the key, knob or jog key of that element name takes input now.
    virtual bool Enabled(const std::string& element) const = 0;
    // Says the frequency, mode, function and meter to the screen reader.
    virtual void SpeakState() = 0;
};

class Keyboard {
public:
    Keyboard(state::ModKIVO& s, KeyTargets& targets);

    // A key went down; `repeat` when it is the auto-repeat of a key held down. Returns whether
    // the key is one of the panel's, so the window keeps it from the focused control.
    bool KeyDown(int code, int modifiers, bool repeat = false);
    // A key came up. Auto-repeat's synthetic releases must not come here.
    void KeyUp(int code, int modifiers);
    // The window lost the keyboard (a dialog, another window, a screen lock): the key-ups of
    // the keys still held will never come, so each is released now. Space held keeps the
    // transmitter keyed otherwise.
    void FocusLost();

    // The keys of the table, whatever the modifiers.
    static bool IsPanelKey(int code);

private:
    void Press(const std::string& key);
    // A knob key: knob k, direction d.
    void KnobStep(int knob, int dir);
    void KnobRelease(int knob);
    // D (dir -1) or U (dir 1).
    void FrequencyStep(int dir, bool repeat);
    void FrequencyStepEnd();
    bool& HeldFlag(int knob);

    state::ModKIVO& m_s;
    KeyTargets& m_t;
    // Keys down now, with the modifiers of their key-down.
    std::map<int, int> m_down;
    // D or U is stepping the frequency with the meter off.
    bool m_stepping = false;
};

} // namespace kivo::panel
