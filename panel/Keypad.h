#pragma once
// Keypad frequency entry: ENT starts and ends an entry, ten front-panel keys double as digit
// keys while it is in progress, the decimal key marks the MHz part. The digits show in a mask in
// the display of the VFO being changed.

#include "panel/KeyEnabling.h"
#include "panel/PanelContext.h"
#include "panel/Tuning.h"
#include "panel/VfoModel.h"

#include <array>
#include <functional>
#include <string>

namespace kivo::panel {

struct DigitKey {
    int digit;
    const char* key;
};
// The keys that double as the digit keys, by digit.
inline constexpr std::array<DigitKey, 10> kDigitKeys{{
    {0, el::MhzUpButton},
    {1, el::RPTbutton},
    {2, el::REVbutton},
    {3, el::TONEbutton},
    {4, el::SCANbutton},
    {5, el::PRIbutton},
    {6, el::PMSbutton},
    {7, el::BandDownButton},
    {8, el::BandUpButton},
    {9, el::MhzDownButton},
}};

// The mask of an entry with no digit yet.
inline constexpr const char* kEmptyMask = "---.---.--";

class Keypad final : public MhzKeyEntry {
public:
    Keypad(const PanelContext& ctx, VfoModel& vfo, KeyEnabling& keys);

    // What this unit asks of other units; FrontPanel wires them.
    struct Hooks {
        // A digit key while a quick-memory store or recall is pending.
        std::function<void(int digit)> quickMemory;
        // Automatic repeater shift after an entry put the main VFO on a new FM frequency.
        std::function<void()> autoRptShift;
    } hooks;

    // ENT: starts an entry, or ends the one in progress: no digit cancels it; a value no band
    // covers, or that the knobs could not reach, is refused with a message; any other value
    // goes to the VFO being changed and the radio.
    void ENTbutton_Click();
    // The decimal key: the digits so far are the MHz part. Refused with a message before the
    // first digit and after four digits; again, it drops the digits typed after the first one.
    void DOPbutton_Click();
    // Digit '0'..'9' into the entry in progress; the last position finishes it as ENT does.
    void DisplayNumericKeypadEntry(char digit);
    // A key that doubles as `digit` was pressed: true when the digit was taken (an entry or a
    // quick-memory choice is pending), false when the key does its own function.
    bool DigitKey(int digit);
    // MHz UP is the digit 0, MHz DOWN the digit 9.
    void MhzKey(bool up) override;
    // Puts `value` (10 Hz units) on the main VFO, or the sub VFO when `sub`, and the radio, as a
    // finished entry does. False when refused (no band covers it, the knobs could not reach it,
    // outside the PMS limits); the message is shown only when `tell`.
    bool TakeFrequency(Long value, bool sub, bool tell);

    // The mask of the entry in progress, as shown.
    const std::string& Mask() const { return m_mask; }

private:
    void Finish();
    // Refuses `value` with its message when no band covers it or the knobs could not reach it.
    bool Refused(Long value, Integer band, bool sub, bool tell);
    void ShowMask();
    void ShowCurrentFreq();

    state::ModKIVO& m_s;
    platform::DisplayModel& m_display;
    platform::Dialogs& m_dialogs;
    radio::Cat& m_cat;
    radio::Meter& m_meter;
    VfoModel& m_vfo;
    KeyEnabling& m_keys;
    std::string m_mask = kEmptyMask;
    std::string m_buffer; // the digits typed, at most 8
    std::string m_mhz;    // the digits before the decimal key
    bool m_decimal = false;
};

} // namespace kivo::panel
