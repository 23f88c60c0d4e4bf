#include "panel/ScanSpeeds.h"

#include "platform/Elements.h"

#include <algorithm>

namespace kivo::panel {

ScanSpeeds::ScanSpeeds(state::ModKIVO& s, platform::DisplayModel& display) : m_s(s), m_display(display)
{
    for (std::size_t i = 0; i < kScanSpeedCaptions.size(); ++i)
        m_display.SetCaption(el::mnuScanSpeed(int(i)), kScanSpeedCaptions[i]);
    for (std::size_t i = 0; i < kPauseCaptions.size(); ++i)
        m_display.SetCaption(el::mnuPauseInterval(int(i)), kPauseCaptions[i]);
}

int ScanSpeeds::ChooseScanSpeed(int index)
{
    if (index < 0 || index >= int(kScanIntervals.size()))
        index = 0;
    for (int i = 0; i < int(kScanIntervals.size()); ++i)
        m_display.SetChecked(el::mnuScanSpeed(i), i == index);
    m_s.Settings.ScanSpeed = state::Integer(index);
    return kScanIntervals[std::size_t(index)];
}

void ScanSpeeds::ChoosePauseInterval(int index)
{
    if (index < 0 || index >= int(kPauseSeconds.size()))
        index = 2;
    for (int i = 0; i < int(kPauseSeconds.size()); ++i)
        m_display.SetChecked(el::mnuPauseInterval(i), i == index);
    m_s.Settings.PauseInterval = state::Integer(index);
}

int ScanSpeeds::PauseSecs() const
{
    return kPauseSeconds[std::size_t(std::clamp<int>(m_s.Settings.PauseInterval, 0, int(kPauseSeconds.size()) - 1))];
}

} // namespace kivo::panel
