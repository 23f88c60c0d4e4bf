#pragma once
// A feature that POWER off asks to switch itself off before the state is saved: MOX back to
// receive, SCAN disarmed, CLAR, PRI, MCK off, a pending quick memory disarmed, SUB, HOME and
// SPLIT off, in that order.

namespace kivo::panel {

// Where a feature stands in the power-off sequence; units register in any order.
enum class SwitchOffOrder { MOX, SCAN, CLAR, PRI, MCK, QMB, SUB, HOME, SPLIT };

class Switchable {
public:
    virtual ~Switchable() = default;
    // Presses the feature's own key off when the feature is on; does nothing otherwise. CATOn
    // is already false, but the key may still send its CAT commands.
    virtual void SwitchOff() = 0;
};

} // namespace kivo::panel
