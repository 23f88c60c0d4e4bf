#pragma once
// The VFO fields of the display: the frequencies, the mode labels, the repeater shift arrows and
// the tone labels. Drawn from what goes to the radio and when the panel only redraws.

#include "platform/DisplayModel.h"
#include "state/ModKIVO.h"

namespace kivo::panel {

using state::Integer;
using state::Long;

class VfoDisplay {
public:
    VfoDisplay(const state::ModKIVO& s, platform::DisplayModel& display) : m_s(s), m_display(display) {}

    // A VFO's frequency display.
    void ShowFreq(bool main, Long freq);
    // The VFO's current frequency, for a frame that goes out later.
    void ShowFreqMB() { ShowFreq(true, m_s.VFOMB.Freq); }
    void ShowFreqSB() { ShowFreq(false, m_s.VFOSB.Freq); }
    // The one of the eight labels under `prefix` ("lblMBmode", "lblSBmode") that names the mode.
    void ShowModeLabels(const char* prefix, Integer mode);
    // The arrows of a repeater shift direction (-11: both, split); an unknown one leaves them.
    void ShowRptDirection(Integer dir);
    void ShowToneLabels(bool main, Integer toneMode);

private:
    const state::ModKIVO& m_s;
    platform::DisplayModel& m_display;
};

} // namespace kivo::panel
