#pragma once
// PMS: the PMS key (a digit, a quick-memory slot, storing the PMS limits in memory check, or
// PMS on and off) and entering the PMS function, in which the main VFO runs on its band's PMS
// state and tunes within the band's PMS limits.

#include "panel/KeyEnabling.h"
#include "panel/Keypad.h"
#include "panel/PanelContext.h"
#include "panel/VfoModel.h"

#include <functional>

namespace kivo::panel {

// The title of every refusal of a PMS limit pair.
inline constexpr const char* kPmsLimitTitle = "PMS Limit Warning";
// PMS limits land on this grid (10 kHz, in 10 Hz units).
inline constexpr Long kPmsLimitGrid = 1000;

class Pms : private ContextRefs {
public:
    Pms(const PanelContext& ctx, VfoModel& vfo, KeyEnabling& keys, Keypad& keypad);

    // Operations of other units; unset, they do nothing.
    struct Hooks {
        // Ends memory check (whether the limits were stored or refused).
        std::function<void()> turnOffMCK;
        // Enters MR, when PMS was entered from MR.
        std::function<void()> changeToMRfunction;
    } hooks;

    // PMS key: the digit 6 while an entry is pending, quick-memory slot 6 while one is armed,
    // storing the PMS limits in memory check, else PMS off (back to the function it came
    // from) or on.
    void PressPms();
    // Enters PMS: the main VFO from the band's PMS state, tuning within its PMS limits, sent to
    // the radio; the radio's split goes off.
    void ChangeToPMSfunction();
    // The main VFO into its band's PMS state.
    void SavePMSInfo() { m_vfo.SavePMSInfo(); }

    // The function (MR or VFO) PMS returns to.
    Integer PMSPrevMode() const { return m_prevMode; }

private:
    // The main VFO holds the lower limit and the sub VFO the upper; refused pairs leave the
    // old limits with a message. Memory check ends either way.
    void StorePMSLimits();
    void LeavePMS();

    VfoModel& m_vfo;
    KeyEnabling& m_keys;
    Keypad& m_keypad;
    Integer m_prevMode = state::kModeVFO;
};

} // namespace kivo::panel
