#pragma once
// The keys between the two VFOs: A > B copies the main VFO into the sub VFO, A < > B exchanges
// them, and SUB makes the sub VFO the one being tuned. The radio's current VFO always holds the
// VFO being tuned, so a send to the other one goes between two VFO toggles.

#include "panel/KeyEnabling.h"
#include "panel/PanelContext.h"
#include "panel/Switchable.h"
#include "panel/VfoModel.h"

#include <memory>

namespace kivo::panel {

// How fast the sub VFO's mode label blinks while SUB is active.
inline constexpr int kSubBlinkMs = 250;

class VfoOperations final : public Switchable, private ContextRefs {
public:
    VfoOperations(const PanelContext& ctx, VfoModel& vfo, KeyEnabling& keys);

    // A > B, in any function: the sub VFO becomes a copy of the main VFO, on the main VFO's band
    // (a split marker arrives as simplex), and goes into the radio's other VFO.
    void PressAToB();
    // A < > B, in the VFO function only: the two VFOs exchange bands and states, and both go to
    // the radio. A HOME channel shown is left for the VFOs.
    void PressSwap();
    // SUB: the sub VFO becomes the one tuned and changed, or the main VFO again; the radio's
    // current VFO follows. While active, the sub VFO's mode label blinks.
    void PressSub();

    // SUB off when it is active.
    void SwitchOff() override;

    // Blinks the sub mode label while SUB is active.
    platform::Timer& BlinkTimer() { return *m_blink; }

private:
    void ShowSubMode(bool lit);

    VfoModel& m_vfo;
    KeyEnabling& m_keys;
    std::unique_ptr<platform::Timer> m_blink;
    bool m_blinkLit = true;
};

} // namespace kivo::panel
