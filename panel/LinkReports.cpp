#include "panel/LinkReports.h"

#include "platform/Elements.h"
#include "state/Sanitize.h"

namespace kivo::panel {

LinkReports::LinkReports(state::ModKIVO& s, platform::DisplayModel& display, radio::RadioLink& link)
    : m_s(s), m_shown(s, display), m_link(link)
{
    auto& h = m_link.hooks;
    h.freqSent = [this](bool main, Long freq) { m_shown.ShowFreq(main, freq); };
    h.modeSent = [this](bool main, Integer mode) {
        m_shown.ShowModeLabels(main ? el::lblMBmode.name : el::lblSBmode.name, mode);
    };
    h.rptDirSent = [this](Integer dir) { m_shown.ShowRptDirection(dir); };
    h.toneModeSent = [this](bool main, Integer toneMode) { m_shown.ShowToneLabels(main, toneMode); };
    h.splitSent = [this](bool on) { m_s.RadioSplitOn = on; };
    h.readingTaken = [this](const radio::FreqMode& fm) { TakeReading(fm); };
}

LinkReports::~LinkReports()
{
    auto& h = m_link.hooks;
    h.freqSent = nullptr;
    h.modeSent = nullptr;
    h.rptDirSent = nullptr;
    h.toneModeSent = nullptr;
    h.splitSent = nullptr;
    h.readingTaken = nullptr;
}

void LinkReports::TakeReading(const radio::FreqMode& fm)
{
    if (!m_s.SubSelected) {
        m_s.VFOMB.Freq = fm.freq;
        m_s.BandIdxMB = state::BandOfReading(m_s.BandData, fm.freq, m_s.BandIdxMB);
        m_shown.ShowFreq(true, fm.freq);
        m_s.VFOMB.Mode = fm.mode;
        m_link.SendModeMB();
        if ((m_s.Settings.AutoRptShift144 || m_s.Settings.AutoRptShift430) && hooks.autoRepeaterShift)
            hooks.autoRepeaterShift();
    } else {
        m_s.VFOSB.Freq = fm.freq;
        m_s.BandIdxSB = state::BandOfReading(m_s.BandData, fm.freq, m_s.BandIdxSB);
        m_shown.ShowFreq(false, fm.freq);
        m_s.VFOSB.Mode = fm.mode;
        m_link.SendModeSB();
    }
}

} // namespace kivo::panel
