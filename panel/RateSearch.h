#pragma once
// Settings > Detect CAT Rate...: finds the rate the radio's CAT port is set to. A rate that does
// not match the radio's own is the commonest reason for a radio that never answers, and the
// radio's menu is easy to forget. The rate found is chosen as the CAT Rate menu would choose it.

#include "panel/PortChoice.h"
#include "platform/Dialogs.h"
#include "radio/RadioLink.h"
#include "state/ModKIVO.h"

namespace kivo::panel {

class RateSearch {
public:
    RateSearch(state::ModKIVO& s, radio::RadioLink& cat, PortChoice& comm, platform::Dialogs& dialogs);

    // The menu entry: refused while the CAT system is on (as the rate menu is) and with no port
    // chosen; otherwise searches, selects the rate found (or keeps the old one) and says which.
    void DetectCatRate();
    // The search alone: the rate index 0..2 the radio answered at, or -1. Leaves the port open
    // at the last rate tried and PortReady false; the caller settles both.
    int Search();

private:
    state::ModKIVO& m_s;
    radio::RadioLink& m_cat;
    PortChoice& m_comm;
    platform::Dialogs& m_dialogs;
    bool m_busy = false;
};

} // namespace kivo::panel
