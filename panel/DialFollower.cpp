#include "panel/DialFollower.h"

#include "platform/Elements.h"
#include "state/Sanitize.h"

#include <sstream>

namespace kivo::panel {

namespace {
constexpr const char* kOptionKey = "FollowRadioDial=";
}

DialFollower::DialFollower(const PanelContext& ctx, VfoModel& vfo)
    : ContextRefs(ctx), m_shown(ctx.s, ctx.display), m_vfo(vfo)
{
    m_meter.SetFreqModeListener(this);
    m_display.SetChecked(el::mnuSettingsArray(kFollowDialEntry), m_on);
}

DialFollower::~DialFollower() { m_meter.SetFreqModeListener(nullptr); }

void DialFollower::ToggleFollowDial()
{
    SetFollowing(!m_on);
    if (hooks.optionChanged)
        hooks.optionChanged(m_on);
}

void DialFollower::SetFollowing(bool on)
{
    m_on = on;
    m_display.SetChecked(el::mnuSettingsArray(kFollowDialEntry), on);
}

bool DialFollower::Held() const
{
    if (!m_on || !m_s.CATOn)
        return true;
    if (m_s.Transmitting || m_s.KeypadOn || m_s.JogHeld)
        return true;
    // Scans, the FM search, the priority check and the band scope's sweep all retune the radio.
    if (m_s.ScanArmed || m_s.ScanDir != 0 || m_s.SearchOn || m_s.PRIOn)
        return true;
    // Memory check shows memories, not the VFO; with SUB the radio's current VFO is the sub VFO.
    if (m_s.MCKOn || m_s.SubSelected || m_cat.OnOtherVfo())
        return true;
    // A frame of the panel's own still waits for the line: the radio does not have it yet.
    if (m_cat.Sending())
        return true;
    return hooks.panelChanging && hooks.panelChanging();
}

bool DialFollower::FreqModeReadDue()
{
    if (Held() || m_loop.Now() - m_lastAsk < kFollowDialPeriod)
        return false;
    m_lastAsk = m_loop.Now();
    m_togglesAtAsk = m_cat.VfoToggles();
    m_freqAtAsk = m_s.VFOMB.Freq;
    m_modeAtAsk = m_s.VFOMB.Mode;
    return true;
}

void DialFollower::FreqModeRead(std::optional<radio::FreqMode> reading)
{
    // A toggle since the read means it may have answered for the other VFO.
    if (!reading || Held() || m_cat.VfoToggles() != m_togglesAtAsk)
        return;
    if (m_s.VFOMB.Freq != m_freqAtAsk || m_s.VFOMB.Mode != m_modeAtAsk)
        return;
    if (reading->freq == m_s.VFOMB.Freq && reading->mode == m_s.VFOMB.Mode)
        return;
    Take(*reading);
}

void DialFollower::Take(const radio::FreqMode& fm)
{
    // The radio already is where the reading says; the panel only sends when one of its own
    // steps below (entering the VFO function, loading another band) sent something else.
    bool resend = false;
    const bool fromMemory = m_s.VFOMRMode != state::kModeVFO || m_s.HomeOn;
    if (fromMemory) {
        // As the panel's own knob would: the VFO function, on the radio's frequency.
        m_vfo.ChangeToVFOfunction();
        resend = true;
    }
    const Integer band = state::BandOfReading(m_s.BandData, fm.freq, m_s.BandIdxMB);
    if (band != m_s.BandIdxMB) {
        // As a band key: the old band keeps its state, the new band's state is loaded.
        m_vfo.SaveInfoVFOMB();
        m_s.BandIdxMB = band;
        m_vfo.GetInfoVFOMB();
        m_vfo.UseCoverageLimits(band);
        resend = true;
    }
    m_s.VFOMB.Freq = fm.freq;
    m_s.VFOMB.Mode = fm.mode;
    if (resend) {
        // After a band change the radio still has its own mode; entering the VFO function
        // may have sent another, which the cache then knows.
        if (!fromMemory)
            m_cat.LastInfo.MB.Mode = fm.mode;
        m_vfo.SendInfoToRadioVFOMB(m_s.VFOMB);
    } else {
        m_shown.ShowFreqMB();
    }
    m_shown.ShowModeLabels(el::lblMBmode.name, fm.mode);
    m_cat.LastInfo.MB.Mode = fm.mode;
    m_vfo.SaveInfoVFOMB();
}

std::string FollowDialOptionText(bool on) { return std::string(kOptionKey) + (on ? "1" : "0") + "\n"; }

bool ParseFollowDialOption(const std::string& text)
{
    std::istringstream in(text);
    std::string line;
    bool on = true;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.rfind(kOptionKey, 0) == 0)
            on = line.substr(std::string(kOptionKey).size()) != "0";
    }
    return on;
}

} // namespace kivo::panel
