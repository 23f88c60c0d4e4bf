#pragma once
// Transmit: the MOX key keys the radio's transmitter and releases it again. Around the PTT
// commands it swaps the receive meter poll for the power-meter poll, moves the radio off a
// clarified frequency, checks that a repeater's transmit frequency is within the tuning limits,
// and shows the transmit frequency while on air. The radio itself carries out split and shift.

#include "panel/KeyEnabling.h"
#include "panel/PanelContext.h"
#include "panel/Switchable.h"
#include "panel/VfoDisplay.h"

#include <functional>

namespace kivo::panel {

class Transmit final : public Switchable, private ContextRefs {
public:
    Transmit(const PanelContext& ctx, KeyEnabling& keys);

    struct Hooks {
        // The VFO/MR key, which ends the priority monitor and returns to the function in use.
        std::function<void()> vfoMRbutton;
        // MOX keyed or released the transmitter.
        std::function<void()> onAirChanged;
    } hooks;

    // MOX: keys the transmitter, or releases it. Keying is refused while the menus are locked
    // (releasing never is), and with a shifted transmit frequency outside the band's tuning
    // limits (with a message). With the priority monitor on, MOX ends the monitor instead.
    void PressMox();
    // Back to receive when on air.
    void SwitchOff() override;

    // The transmit frequency worked out at the last keying, 10 Hz units.
    Long TXFreq() const { return m_txFreq; }

private:
    void Key();
    void Release();
    // The radio transmits on its other VFO: the panel's SPLIT, or a split memory.
    bool Split() const;
    // `freq` in ledFreq and to the radio's current VFO, VFOMB left as it is.
    void SendMainFreq(Long freq);

    VfoDisplay m_shown;
    KeyEnabling& m_keys;
    Long m_txFreq = 0;
};

} // namespace kivo::panel
