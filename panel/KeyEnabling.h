#pragma once
// Which front-panel keys, knobs and jog keys accept input in the current panel state; and the
// one list of the front-panel keys with their captions.

#include "panel/PanelContext.h"
#include "platform/Elements.h"

#include <array>
#include <string>
#include <vector>

namespace kivo::panel {

struct FrontKey {
    const char* name;
    const char* caption;
};

// The front-panel push buttons whose enabled state follows the panel state.
inline constexpr std::array<FrontKey, 29> kFrontKeys{{
    {el::PowerButton, "POWER"},
    {el::MOXbutton, "MOX"},
    {el::SEARCHbutton, "SEARCH"},
    {el::SYNCbutton, "SYNC"},
    {el::FASTbutton, "FAST"},
    {el::LOCKbutton, "LOCK"},
    {el::HOMEbutton, "HOME"},
    {el::VFOMRbutton, "V/M"},
    {el::ABbutton, "A > B"},
    {el::MCKbutton, "MCK"},
    {el::SPLITbutton, "SPLIT"},
    {el::SUBbutton, "SUB"},
    {el::RPTbutton, "RPT"},
    {el::REVbutton, "REV"},
    {el::TONEbutton, "TONE"},
    {el::SCOPEbutton, "SCOPE"},
    {el::SCANbutton, "SCAN"},
    {el::PRIbutton, "PRI"},
    {el::DOPbutton, "DOP"},
    {el::BandDownButton, "BAND \u25BC"},
    {el::BandUpButton, "BAND \u25B2"},
    {el::PMSbutton, "PMS"},
    {el::ENTbutton, "ENT"},
    {el::CLARbutton, "CLAR"},
    {el::RCLbutton, "RCL"},
    {el::STObutton, "STO"},
    {el::SWAPbutton, "A < > B"},
    {el::MhzUpButton, "MHz \u25B2"},
    {el::MhzDownButton, "MHz \u25BC"},
}};
// The names of kFrontKeys alone.
extern const std::vector<std::string> kFunctionKeys;

// The mode keys `ModeButton(0..7)` (by mode code) and band keys `BandButton(0..11)` (by band
// index) are enabled together.
inline constexpr int kModeKeyCount = 8;
inline constexpr int kBandKeyCount = 12;

class KeyEnabling {
public:
    // Gives the keys their captions.
    explicit KeyEnabling(const PanelContext& ctx);

    // Enables the keys of the first row of the key table that the panel state matches and
    // disables every other key (MOX keeps its state while transmitting). Sends nothing.
    void ToggleFunctionButtons();
    // Enables the knobs and jog keys the panel state allows: none while the keypad is open, the
    // panel dark, the radio on air or LOCK on.
    void ChangeTuningKnob();

private:
    state::ModKIVO& m_s;
    platform::DisplayModel& m_display;
};

} // namespace kivo::panel
