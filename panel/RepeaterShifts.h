#pragma once
// The repeater shift dialog ("Repeater Shift") as a model: the shift of each of
// the four VHF/UHF and 10 m bands as megahertz text, the automatic shift of 2 m and 70 cm, and
// SAVE, DEFAULT and CANCEL. A text that is not a shift the radio can take is refused with a
// message, and the box gets back the text it had.

#include "panel/PanelContext.h"

#include <array>
#include <optional>
#include <string>

namespace kivo::panel {

struct RptShiftBox {
    const char* label;       // the band
    const char* hint;        // the usual range, as a reminder; not enforced
    const char* defaultText; // DEFAULT's text
};
// The boxes `txtRPToffset(k)`, by band index k.
inline constexpr std::array<RptShiftBox, 4> kRptShiftBoxes{{
    {"430 MHz", "( 0 - 20.00 MHz )", "5.00"},
    {"144 MHz", "( 0 - 4.00 MHz )", ".60"},
    {"50 MHz", "( 0 - 4.00 MHz )", "1.00"},
    {"29 MHz", "( 0 - 1.70 MHz )", ".10"},
}};
inline constexpr int kRptShiftBoxCount = int(kRptShiftBoxes.size());

// An offset (10 Hz units) as the boxes show it, in whole 10 kHz: 60000 ".60", 500000 "5.00".
std::string RptOffsetText(Long offset);
// A box's text in megahertz as an offset in 10 Hz units, rounded to 10 kHz as the box then
// shows it: ".6" and "0.60" give 60000. Nothing for a text that is not a number, is negative,
// or comes to 100 MHz or more.
std::optional<Long> ParseRptOffset(const std::string& text);

class RepeaterShifts {
public:
    static constexpr const char* kCaption = "Repeater Shift";

    explicit RepeaterShifts(const PanelContext& ctx);

    // Opens the dialog on the band store's main-VFO shifts and the two automatic-shift settings.
    void Show();
    bool IsOpen() const { return m_open; }

    // The text of box k (0..3), as typed or as last reformatted.
    const std::string& Text(int k) const { return m_text.at(std::size_t(k)); }
    // Typing into box k.
    void SetText(int k, const std::string& text);
    // Leaving box k: a shift is reformatted ("0.6" becomes ".60"); anything else is refused
    // with a message and the box gets back its text from before. False when refused.
    bool LeaveBox(int k);

    // The "On" options of "Auto Repeater Shift".
    bool AutoShift144() const { return m_auto144; }
    bool AutoShift430() const { return m_auto430; }
    void SetAutoShift144(bool on) { m_auto144 = on; }
    void SetAutoShift430(bool on) { m_auto430 = on; }

    // Stores the settings and every band's shift, main and PMS VFO, and gives the main VFO its
    // band's shift; closes. With a box refused it stores nothing and stays open.
    void SAVE();
    // "On" for both and the usual shifts in the boxes; nothing stored until SAVE.
    void DEFAULT();
    void CANCEL() { m_open = false; }

private:
    state::ModKIVO& m_s;
    platform::Dialogs& m_dialogs;
    radio::RadioLink& m_cat;
    std::array<std::string, kRptShiftBoxes.size()> m_text;
    std::array<std::string, kRptShiftBoxes.size()> m_kept; // the last good text of each box
    bool m_auto144 = true;
    bool m_auto430 = true;
    bool m_open = false;
};

} // namespace kivo::panel
