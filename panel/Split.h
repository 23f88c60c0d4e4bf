#pragma once
// SPLIT: receive on the main VFO, transmit on the sub VFO. The sub VFO goes into the radio's
// other VFO before the radio is put into split; leaving split reloads both VFOs through the
// function in use.

#include "panel/KeyEnabling.h"
#include "panel/PanelContext.h"
#include "panel/Switchable.h"
#include "panel/VfoModel.h"

#include <functional>

namespace kivo::panel {

class Split final : public Switchable {
public:
    Split(const PanelContext& ctx, VfoModel& vfo, KeyEnabling& keys);

    // What this unit asks of other units; FrontPanel wires them.
    // Re-enter the MR or PMS function after split off.
    FunctionHooks hooks;

    // SPLIT on: the sub VFO into the radio's other VFO, then split on after 0.2 s. SPLIT off:
    // split off after 0.2 s, then both VFOs afresh through the function in use.
    void SPLITbutton_Click();

    // SPLIT off when it is on.
    void SwitchOff() override;

private:
    void On();
    void Off();

    state::ModKIVO& m_s;
    platform::DisplayModel& m_display;
    platform::EventLoop& m_loop;
    radio::Cat& m_cat;
    radio::Meter& m_meter;
    VfoModel& m_vfo;
    KeyEnabling& m_keys;
};

} // namespace kivo::panel
