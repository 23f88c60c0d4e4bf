#pragma once
// Settings > Update Intervals > Scanning and > Pause: the menus' ticks and the stored choices.

#include "platform/DisplayModel.h"
#include "state/ModKIVO.h"

#include <array>

namespace kivo::panel {

// Scanning menu entries in ms, by index; the last is "OFF".
inline constexpr std::array<int, 7> kScanIntervals{1000, 500, 400, 300, 250, 200, 0};
inline constexpr std::array<const char*, 7> kScanSpeedCaptions{"1000 ms.", "500 ms.", "400 ms.", "300 ms.",
                                                               "250 ms.",  "200 ms.", "OFF"};
// Pause menu entries in seconds, by index; the last is "OFF".
inline constexpr std::array<int, 5> kPauseSeconds{30, 15, 5, 3, 0};
inline constexpr std::array<const char*, 5> kPauseCaptions{"30 sec.", "15 sec.", "5 sec.", "3 sec.", "OFF"};

class ScanSpeeds {
public:
    ScanSpeeds(state::ModKIVO& s, platform::DisplayModel& display);

    // Ticks the entry and stores it (an index out of range: the first); the scan's step in ms.
    int ChooseScanSpeed(int index);
    // Ticks the entry and stores it (an index out of range: 5 s).
    void ChoosePauseInterval(int index);
    // The pause on a busy channel, from the stored choice.
    int PauseSecs() const;

private:
    state::ModKIVO& m_s;
    platform::DisplayModel& m_display;
};

} // namespace kivo::panel
