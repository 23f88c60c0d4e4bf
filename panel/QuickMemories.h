#pragma once
// The ten quick memories: STO or RCL, then one of the keys that double as digits, stores the two
// VFOs into that quick memory or recalls its main VFO. Five seconds without a digit disarms.

#include "panel/KeyEnabling.h"
#include "panel/PanelContext.h"
#include "panel/Switchable.h"
#include "panel/TimerDelay.h"
#include "panel/VfoModel.h"

namespace kivo::panel {

// Seconds after STO or RCL until the pending choice ends by itself.
inline constexpr double kQuickMemoryTimeout = 5.0;

class QuickMemories final : public Switchable, private ContextRefs {
public:
    // Adds itself to `timer`'s users: it blinks lblQMB and times out while a choice is pending.
    QuickMemories(const PanelContext& ctx, VfoModel& vfo, KeyEnabling& keys, TimerDelay& timer);

    // STO and RCL: the next digit key stores into, or recalls, a quick memory.
    void PressSto();
    void PressRcl();
    // Digit `n` (0..9) while STO or RCL is pending: stores both VFOs into quick memory n, or
    // recalls its main VFO into the main VFO and the radio; an empty one is refused with a
    // message.
    void QMBinfo(int n);

    // Ends a pending STO or RCL, so the lit panel does not start with one.
    void SwitchOff() override;

private:
    void Arm(bool& flag);
    void Disarm();
    void Tick();

    VfoModel& m_vfo;
    KeyEnabling& m_keys;
    TimerDelay& m_timer;
    double m_keyPressTime = 0; // monotonic seconds at STO or RCL
    bool m_lit = false;        // lblQMB's blink phase
};

} // namespace kivo::panel
