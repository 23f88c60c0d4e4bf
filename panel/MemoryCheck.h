#pragma once
// Memory check (MCK): a first press browses the memory positions with the channel knob without
// tuning the radio; a short second press leaves it; a second press held for more than half a
// second stores the VFOs into the position shown.

#include "panel/KeyEnabling.h"
#include "panel/Memories.h"
#include "panel/PanelContext.h"
#include "panel/Switchable.h"
#include "panel/TimerDelay.h"
#include "panel/VfoDisplay.h"

namespace kivo::panel {

// How long the second press must be held to store, in seconds.
inline constexpr double kHoldToStore = 0.5;
// The blink interval of memory check, in ms.
inline constexpr int kMckBlinkMs = 250;

class MemoryCheck final : public Switchable, private ContextRefs {
public:
    // Adds itself to `timer`'s users: it blinks lblMCK and watches the held key while MCK is on.
    MemoryCheck(const PanelContext& ctx, Memories& memories, KeyEnabling& keys, TimerDelay& timer);

    // The MCK key pressed: enters memory check, or (on), starts the second press. No effect before
    // the first POWER on.
    void MCKbutton_MouseDown();
    // The MCK key released: a second press held long enough stores, a shorter one leaves.
    void MCKbutton_MouseUp();
    // Leaves memory check: in MR back to the memory used before, elsewhere the main VFO shown as
    // the radio holds it.
    void TurnOffMCK();

    // Leaves memory check when it is on.
    void SwitchOff() override;

private:
    void Tick();
    void Store();
    bool HeldLongEnough() const;
    // The main display shows the main VFO again, and the last-sent cache forgets what browsing
    // put in it, so the next send is complete.
    void ShowMainVFO();

    VfoDisplay m_shown;
    Memories& m_memories;
    KeyEnabling& m_keys;
    TimerDelay& m_timer;
    double m_keyPressTime = 0; // monotonic seconds at the last press; 0 after release
    bool m_held = false;
    bool m_lit = false; // lblMCK's blink phase
};

} // namespace kivo::panel
