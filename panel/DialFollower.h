#pragma once
// Following the radio's own dial: about once a second the meter poll reads the radio's
// frequency and mode, and a change made at the radio (its knob, its MODE key) is taken into
// the main VFO, the displays, the last-sent cache and, across a band edge, the band store.

#include "panel/PanelContext.h"
#include "panel/VfoDisplay.h"
#include "panel/VfoModel.h"

#include <functional>
#include <optional>
#include <string>

namespace kivo::panel {

// The Settings menu entry `mnuSettingsArray(15)`: "Follow Radio Dial".
inline constexpr int kFollowDialEntry = 15;
// Least time between two reads of the radio's dial, in seconds.
inline constexpr double kFollowDialPeriod = 1.0;

class DialFollower final : public FreqModeListener, private ContextRefs {
public:
    // Registers with the meter poll; following is on until the option says otherwise.
    DialFollower(const PanelContext& ctx, VfoModel& vfo);
    ~DialFollower() override;
    DialFollower(const DialFollower&) = delete;
    DialFollower& operator=(const DialFollower&) = delete;

    struct Hooks {
        // True while the panel itself is changing the radio in a way the state flags do not
        // show: a knob held, the final send after its release, a jog key held.
        std::function<bool()> panelChanging;
        // The option changed from the menu; the program remembers it.
        std::function<void(bool)> optionChanged;
    } hooks;

    // Settings > Follow Radio Dial: toggles the option.
    void ToggleFollowDial();
    // Sets the option (from the remembered settings) and its check mark.
    void SetFollowing(bool on);
    bool Following() const { return m_on; }

    bool FreqModeReadDue() override;
    void FreqModeRead(std::optional<radio::FreqMode> reading) override;

private:
    // True while a reading must not be taken: the radio is being changed by the panel, or its
    // current VFO is not the main VFO.
    bool Held() const;
    void Take(const radio::FreqMode& fm);

    VfoDisplay m_shown;
    VfoModel& m_vfo;
    bool m_on = true;
    double m_lastAsk = -1e9;
    unsigned long m_togglesAtAsk = 0;
    // The main VFO when the read was asked: one the panel changed since (its frame may still be
    // waiting for the line) makes the reading stale.
    Long m_freqAtAsk = 0;
    Integer m_modeAtAsk = 0;
};

// The remembered option as its line in the options file, and back; text without the line
// leaves following on.
std::string FollowDialOptionText(bool on);
bool ParseFollowDialOption(const std::string& text);

} // namespace kivo::panel
