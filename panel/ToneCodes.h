#pragma once
// The CTCSS tone dialog and the DCS code dialog as one model each: the
// VFO they act on (the sub VFO while SUB is active, else the main VFO), the option selected,
// and SAVE, DEFAULT and CANCEL. The window draws the options from Options() and asks Selected().

#include "radio/RadioLink.h"
#include "state/ModKIVO.h"

#include <string>
#include <vector>

namespace kivo::panel {

class ToneCodes {
public:
    enum class Kind { CTCSS, DCS };
    // The tone dialog's default is 88.5 Hz; the code dialog's is 023.
    static constexpr int kDefaultCTCSS = 8;
    static constexpr int kDefaultDCS = 0;

    ToneCodes(Kind kind, state::ModKIVO& s, radio::RadioLink& cat);

    // Opens the dialog on the VFO being changed, with that VFO's tone or code selected.
    void Show();
    bool IsOpen() const { return m_open; }
    // "CTCSS Tone (MAIN VFO)", "DCS Code (SUB VFO)"; "CTCSS Tone", "DCS Code" before the first Show.
    const std::string& Caption() const { return m_caption; }
    // The frame around the options: "Frequency (Hz)" or "Code Number".
    const char* Frame() const;
    // The options in index order: "67.0" .. "250.3" (39), or "023" .. "754" (104).
    const std::vector<std::string>& Options() const { return m_options; }
    int Selected() const { return m_selected; }
    // The user picks an option; out of range does nothing.
    void Select(int index);

    // The selected option into the VFO and the radio; closes.
    void SAVE();
    // The default into the VFO and the radio at once; stays open.
    void DEFAULT();
    // Closes; what DEFAULT stored stays.
    void CANCEL() { m_open = false; }

private:
    // `index` into the VFO of the dialog, and to the radio while the link is on (the radio takes
    // no DCS code for its other VFO: the sub VFO's is only remembered); while dark, into the
    // band store POWER on loads the VFO from.
    void Store(int index);

    Kind m_kind;
    state::ModKIVO& m_s;
    radio::RadioLink& m_cat;
    std::vector<std::string> m_options;
    std::string m_caption;
    bool m_sub = false;
    bool m_open = false;
    int m_selected = 0;
};

} // namespace kivo::panel
