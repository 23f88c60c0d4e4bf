#pragma once
// FM repeater operation on the panel: RPT cycles the main VFO's shift, REV swaps its receive
// and transmit frequencies, TONE cycles the tone squelch mode, and the automatic repeater shift
// sets the main VFO's shift from where it is on 2 m and 70 cm.

#include "panel/Keypad.h"
#include "panel/PanelContext.h"

#include <functional>

namespace kivo::panel {

// The shift the automatic repeater shift gives an FM frequency (10 Hz units): -1 minus, 1 plus,
// 0 simplex, by the repeater sub-bands of 2 m and 70 cm.
Integer AutoShiftOf(Long freq);

class RepeaterTones {
public:
    // RPT, REV and TONE are the keypad's digits 1, 2 and 3 while an entry is pending.
    RepeaterTones(const PanelContext& ctx, Keypad& keypad);

    // What this unit asks of other units; FrontPanel wires them.
    struct Hooks {
        // REV in memory check on a memory channel clears that channel instead.
        std::function<void()> clearMemory;
    } hooks;

    // RPT: the main VFO's shift simplex, minus, plus and round again; only in FM, never in split.
    void PressRpt();
    // REV: moves the main VFO onto its transmit frequency with the opposite shift, and back again
    // on the next press. Refused with a message without a shift, in PMS, or when that would leave
    // the range the radio tunes.
    void PressRev();
    // TONE: off, ENC, ENC/DEC, DCS and round again, on the VFO being changed; only in FM.
    void PressTone();
    // The main VFO's shift from its frequency in FM, simplex in any other mode; sent when it
    // differs from what the radio was last given. The offset stays. The split marker stays too.
    void AutoRptShift();

private:
    // Runs `send` with the radio's current VFO holding the main VFO: inside two VFO toggles
    // while SUB has the sub VFO there.
    void SendToMain(const std::function<void()>& send);

    state::ModKIVO& m_s;
    platform::Dialogs& m_dialogs;
    radio::RadioLink& m_cat;
    Keypad& m_keypad;
};

} // namespace kivo::panel
