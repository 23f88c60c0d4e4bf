#pragma once
// Memory mode: the VFO/MR key, entering MR, stepping through the memory positions, recalling a
// position into the main VFO and the radio, showing a position while memory check browses, and
// storing the VFOs into a position.

#include "panel/KeyEnabling.h"
#include "panel/PanelContext.h"
#include "panel/Tuning.h"
#include "panel/VfoModel.h"

#include <functional>
#include <string>

namespace kivo::panel {

// The text of the memory-number display: 7 shows as "007".
std::string MemoryNumberText(int pos);
// A position moved into 0..999, wrapping both ways.
int WrapPosition(int pos);

class Memories final : public MemoryStepper {
public:
    Memories(const PanelContext& ctx, VfoModel& vfo, KeyEnabling& keys);

    // What this unit asks of other units; FrontPanel wires them.
    struct Hooks : OtherKeyHooks {
        // The PMS key's action, which ends PMS.
        std::function<void()> pmsKey;
        std::function<void()> changeToPMSfunction;
    } hooks;

    // VFO/MR: from VFO into MR (refused with a message when no position is used), from MR or a
    // HOME channel back to VFO, from memory tune back to the memory; in PMS it ends PMS.
    void VFOMRbutton_Click();
    // Enters MR on CurMemPos, or the next used position after it, and sends it to the radio.
    // With no position used it beeps and leaves MR for VFO.
    void ChangeToMRfunction();
    // Moves CurMemPos by `step` (-1, 0 or 1). In memory check every position is shown, on the main
    // display only; otherwise the next used position is recalled. When one full round finds no
    // used position it beeps, leaves the position and the display as they were, and returns false.
    bool ChangeMemory(int step) override;
    // Recalls MemData(CurMemPos) into the VFOs and the radio, the repeater shift from the band.
    void GetMemoryInfo();
    // Shows MemData(CurMemPos) on the main display; nothing is sent.
    void DisplayMCKinfo();
    // Stores the VFOs into position `pos`; a new position is counted, its description kept.
    void SaveVFOInfoToMemory(int pos);

private:
    bool AnyUsed() const;
    const state::MemRec& Current() const { return m_s.MemData[std::size_t(WrapPosition(m_s.CurMemPos))]; }

    state::ModKIVO& m_s;
    platform::DisplayModel& m_display;
    platform::Dialogs& m_dialogs;
    radio::Cat& m_cat;
    radio::Meter& m_meter;
    VfoModel& m_vfo;
    KeyEnabling& m_keys;
};

} // namespace kivo::panel
