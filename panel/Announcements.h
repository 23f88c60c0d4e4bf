#pragma once
// What a screen reader is told without being asked: a change of the frequency, the mode, the
// memory channel, the function (VFO, memory, PMS, HOME) or ON AIR, as the display shows it;
// the meter on a change of a whole S-unit only when Settings > "Announce S-Meter Changes" is on
// (kept in "announce-smeter.txt" in the data folder); and, on the key that asks, the whole state.

#include "panel/SpokenNames.h"
#include "platform/DisplayModel.h"
#include "platform/FileSystem.h"
#include "state/ModKIVO.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace kivo::panel {

inline constexpr const char* kAnnounceSMeterFileName = "announce-smeter.txt";
// The Settings menu entry `mnuSettingsArray(18)`: "Announce S-Meter Changes" (17 is "Detect CAT Rate...").
inline constexpr int kAnnounceSMeterEntry = 18;

// The file's one line, "on" or "off"; anything else reads as off.
bool ParseAnnounceSMeterFile(std::string_view text);

class Announcements {
public:
    // Listens to `display` while both live; the choice is off until Load.
    Announcements(const state::ModKIVO& s, platform::DisplayModel& display, platform::FileSystem& fs,
                  const std::string& dataDir);

    // What to say, one change at a time; the window hands it to the screen reader.
    std::function<void(const std::string&)> onSpeak;
    // The meter reached another whole S-unit and the operator wants to hear it.
    std::function<void()> onMeterUnit;

    // Takes the remembered choice.
    void Load();
    // Settings > Announce S-Meter Changes: on or off, remembered.
    void mnuAnnounceSMeter_Click();
    bool SMeterOn() const { return m_sMeterOn; }
    // The key that speaks the state: frequency, mode, function and meter.
    void SpeakState();

private:
    void Changed(const std::string& name, const platform::Element& e);
    void Say(const std::string& words);
    void ShowChoice();

    const state::ModKIVO& m_s;
    platform::DisplayModel& m_display;
    platform::FileSystem& m_fs;
    std::string m_file;
    bool m_sMeterOn = false;
    // What was said last of each; a repeat of the same is not said again.
    std::string m_freq, m_mode, m_function;
    bool m_onAir = false;
    int m_sUnit = -1;
    // The model may outlive us and keep changing (the panel's own shutdown): then nobody listens.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

} // namespace kivo::panel
