#pragma once
// What the radio link reports, acted on by the panel: what went out is shown on the display, the
// radio's split is noted in the state, and a reading of the radio's frequency and mode is taken
// into the VFO it belongs to.

#include "panel/VfoDisplay.h"
#include "platform/DisplayModel.h"
#include "radio/RadioLink.h"
#include "state/ModKIVO.h"

#include <functional>

namespace kivo::panel {

class LinkReports {
public:
    // Takes over the link's reports for as long as it lives.
    LinkReports(state::ModKIVO& s, platform::DisplayModel& display, radio::RadioLink& link);
    ~LinkReports();
    LinkReports(const LinkReports&) = delete;
    LinkReports& operator=(const LinkReports&) = delete;

    struct Hooks {
        // Automatic repeater shift after a reading put a new main frequency in place.
        std::function<void()> autoRepeaterShift;
    } hooks;

    // A reading of the radio: the main VFO's (the sub VFO's while SUB is active) frequency, band
    // and mode, shown, and the mode sent back as the mode keys send it.
    void TakeReading(const radio::FreqMode& fm);

private:
    state::ModKIVO& m_s;
    VfoDisplay m_shown;
    radio::RadioLink& m_link;
};

} // namespace kivo::panel
