#pragma once
// Band and mode selection, and HOME: the twelve band keys, band up and down, the eight mode
// keys, and the HOME key that recalls (and with MCK stores) each band's HOME channel. They act
// on the VFO being changed: the sub VFO while SUB is active, else the main VFO.

#include "panel/Keypad.h"
#include "panel/PanelContext.h"
#include "panel/Switchable.h"
#include "panel/VfoModel.h"

#include <array>
#include <functional>

namespace kivo::panel {

// The band keys' captions, by band index.
inline constexpr std::array<const char*, kBandKeyCount> kBandKeyCaptions{"430", "144", "50", "28", "24",  "21",
                                                                         "18",  "14",  "10", "7",  "3.5", "1.8"};

class BandMode final : public Switchable {
public:
    // Captions the band keys. Band up and down are the keypad's digits 8 and 7 while an entry
    // is pending.
    BandMode(const PanelContext& ctx, VfoModel& vfo, Keypad& keypad);

    // What this unit asks of other units; FrontPanel wires them.
    struct Hooks : FunctionHooks, OtherKeyHooks {
        // Leaves memory check once HOME has stored into the HOME channel.
        std::function<void()> turnOffMCK;
        // Automatic repeater shift after a mode change of the main VFO.
        std::function<void()> autoRptShift;
    } hooks;

    // Band key `band` (0 430 MHz .. 11 1.8 MHz): the VFO being changed leaves its state in the
    // old band's slot and takes the new band's, its frequency kept within the band's edges. In
    // PMS the main VFO takes the band's PMS state; the sub VFO stays.
    void BandButton_Click(int band);
    // Band up (towards 430 MHz) and down, wrapping between 430 MHz and 1.8 MHz; the stored
    // frequency goes out as it is.
    void BandUpButton_Click();
    void BandDownButton_Click();
    // Mode key `mode` (0 LSB .. 7 PKT): the mode of the VFO being changed, then read back from
    // the radio.
    void ModeButton_Click(int mode);
    // HOME: with MCK, stores the VFOs as the band's HOME channel; otherwise recalls it (refused
    // with a message when empty), or, while it is shown, returns to the function in use.
    void HOMEbutton_Click();

    // Leaves the HOME channel shown.
    void SwitchOff() override;

private:
    void BandStep(int delta);
    void StoreHome();
    void RecallHome(const state::MemRec& home);
    void LeaveHome();
    Long IntoBandEdges(Long freq, int band) const;
    void ShowMemoryTune();

    state::ModKIVO& m_s;
    platform::DisplayModel& m_display;
    platform::Dialogs& m_dialogs;
    radio::Cat& m_cat;
    radio::Meter& m_meter;
    VfoModel& m_vfo;
    Keypad& m_keypad;
};

} // namespace kivo::panel
