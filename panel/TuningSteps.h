#pragma once
// The tuning-steps dialog as a model: which entry each list box shows, and
// what SAVE, DEFAULT and CANCEL do to the step tables. The window draws it from the display
// model: "frmTuningSteps" (visible, caption), the frame captions "fraSteps(0..4)", the boxes
// "CHboxFM(k)", "CHboxAM(k)", "CHboxSSB(k)" (k 0..3) and "VFObox(3..5)" with the selected
// entry as their value and the entries as their caption, separated by '|'.

#include "platform/DisplayModel.h"
#include "state/ModKIVO.h"

#include <array>
#include <string>
#include <vector>

namespace kivo::panel {

struct StepEntry {
    const char* text;
    state::Long value; // 10 Hz units
};

extern const std::vector<StepEntry> kCHboxFM;
extern const std::vector<StepEntry> kCHboxAM;
extern const std::vector<StepEntry> kCHboxSSB;
extern const std::vector<StepEntry> kVFObox;

class TuningSteps {
public:
    TuningSteps(state::ModKIVO& s, platform::DisplayModel& display);

    // Opens the dialog showing the live tables.
    void Show();
    // The user picks an entry of a box, e.g. Select("CHboxFM", 3, 1).
    void Select(const std::string& box, int index, int entry);
    void SAVE();
    void DEFAULT();
    void CANCEL();
    bool IsOpen() const;

    // The value the box shows now, or 0 when it shows none.
    state::Long ValueOf(const std::string& box, int index) const;

private:
    void DisplayStepValues();
    void Show(const std::string& box, int index, const std::vector<StepEntry>& list, state::Long value);
    static const std::vector<StepEntry>& ListOf(const std::string& box);

    state::ModKIVO& m_s;
    platform::DisplayModel& m_display;
};

} // namespace kivo::panel
