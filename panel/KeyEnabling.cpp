#include "panel/KeyEnabling.h"

#include <set>

namespace kivo::panel {

const std::vector<std::string> kFunctionKeys = [] {
    std::vector<std::string> names;
    names.reserve(kFrontKeys.size());
    for (const FrontKey& k : kFrontKeys)
        names.emplace_back(k.name);
    return names;
}();

namespace {

using Keys = std::set<std::string>;

const char* const kModeKeyCaptions[kModeKeyCount] = {"L S B", "U S B", "C W", "C W R", "A M", "F M", "D I G", "P K T"};

Keys AllExcept(const Keys& out)
{
    Keys k;
    for (const auto& n : kFunctionKeys)
        if (!out.count(n))
            k.insert(n);
    return k;
}

} // namespace

KeyEnabling::KeyEnabling(const PanelContext& ctx) : m_s(ctx.s), m_display(ctx.display)
{
    for (const FrontKey& k : kFrontKeys)
        m_display.SetCaption(k.name, k.caption);
    for (int m = 0; m < kModeKeyCount; ++m)
        m_display.SetCaption(el::ModeButton(m), kModeKeyCaptions[m]);
}

void KeyEnabling::ToggleFunctionButtons()
{
    const bool scanRunning = m_s.SearchOn || (m_s.ScanArmed && m_s.ScanDir != 0);
    Keys on;
    bool modeKeys = false;
    bool keepMox = false;

    if (!m_s.CATOn || m_s.Transmitting) {
        on = {el::PowerButton};
        keepMox = m_s.Transmitting;
    } else if (m_s.QMBStore || m_s.QMBRecall) {
        on = {el::PowerButton, el::RPTbutton, el::REVbutton,      el::TONEbutton,   el::SCANbutton,    el::PRIbutton,
              el::PMSbutton,   el::DOPbutton, el::BandDownButton, el::BandUpButton, el::MhzDownButton, el::MhzUpButton};
    } else if (m_s.MCKOn) {
        on = {el::PowerButton, el::MCKbutton};
    } else if (m_s.SubSelected) {
        on = {el::PowerButton,    el::SYNCbutton,   el::FASTbutton,    el::SUBbutton,  el::RPTbutton, el::REVbutton,
              el::TONEbutton,     el::ENTbutton,    el::SCANbutton,    el::PRIbutton,  el::PMSbutton, el::DOPbutton,
              el::BandDownButton, el::BandUpButton, el::MhzDownButton, el::MhzUpButton};
        modeKeys = true;
    } else if (m_s.KeypadOn) {
        on = {el::PowerButton,  el::RPTbutton,     el::REVbutton,  el::TONEbutton, el::ENTbutton,
              el::SCANbutton,   el::PRIbutton,     el::PMSbutton,  el::DOPbutton,  el::BandDownButton,
              el::BandUpButton, el::MhzDownButton, el::MhzUpButton};
    } else if (m_s.PRIOn) {
        on = {el::PowerButton, el::MOXbutton, el::FASTbutton,    el::LOCKbutton, el::HOMEbutton,
              el::VFOMRbutton, el::PRIbutton, el::MhzDownButton, el::MhzUpButton};
    } else if (m_s.ClarOn && !scanRunning) {
        // A scan running with CLAR on has the running scan's keys below, as without CLAR: CLAR's
        // (PMS, HOME, V/M, RCL, STO) would change the function under it, which then loads
        // memories into it.
        on = {el::PowerButton, el::MOXbutton,     el::RCLbutton,   el::STObutton, el::FASTbutton,
              el::LOCKbutton,  el::HOMEbutton,    el::VFOMRbutton, el::REVbutton, el::ENTbutton,
              el::PMSbutton,   el::MhzDownButton, el::MhzUpButton, el::CLARbutton};
        modeKeys = true;
    } else if (m_s.JogHeld) {
        on = {el::PowerButton, el::MOXbutton};
    } else if (scanRunning) {
        on = {el::PowerButton, m_s.SearchOn ? el::SEARCHbutton : el::SCANbutton};
    } else if (m_s.ScanArmed) {
        on = AllExcept({el::SEARCHbutton, el::SCOPEbutton, el::RCLbutton, el::STObutton, el::HOMEbutton,
                        el::VFOMRbutton, el::SPLITbutton, el::SWAPbutton, el::PRIbutton, el::PMSbutton, el::DOPbutton});
        modeKeys = true;
    } else if (m_s.VFOMRMode == state::kModePMS) {
        on = AllExcept({el::SCOPEbutton, el::SWAPbutton, el::DOPbutton});
        modeKeys = true;
    } else if (m_s.VFOMRMode == state::kModeMR) {
        on = AllExcept({el::SEARCHbutton, el::SCOPEbutton, el::RCLbutton, el::STObutton, el::DOPbutton});
        const auto pos = std::size_t(m_s.CurMemPos) < m_s.MemData.size() ? std::size_t(m_s.CurMemPos) : 0;
        if (m_s.MemData[pos].Split != 0)
            on.insert(el::DOPbutton);
        modeKeys = true;
    } else {
        on = AllExcept({el::DOPbutton});
        if (m_s.SplitOn)
            on.insert(el::DOPbutton);
        modeKeys = true;
    }

    for (const auto& k : kFunctionKeys) {
        if (keepMox && k == el::MOXbutton)
            continue;
        m_display.SetEnabled(k, on.count(k) != 0);
    }
    for (int m = 0; m < kModeKeyCount; ++m)
        m_display.SetEnabled(el::ModeButton(m), modeKeys);
    const bool bands = on.count(el::BandDownButton) != 0;
    for (int b = 0; b < kBandKeyCount; ++b)
        m_display.SetEnabled(el::BandButton(b), bands);
}

void KeyEnabling::ChangeTuningKnob()
{
    const bool refused = m_s.KeypadOn || !m_s.CATOn || m_s.Transmitting || m_s.LockOn;
    bool mainK = false, subK = false, chanK = false;
    if (!refused) {
        if (!m_s.ScanArmed && !m_s.SearchOn) {
            if (m_s.ClarOn) {
                mainK = subK = true;
            } else if (m_s.MCKOn) {
                chanK = true;
            } else {
                mainK = subK = chanK = true;
            }
        } else {
            mainK = subK = chanK = m_s.ScanDir == 0;
        }
    }
    m_display.SetEnabled(el::MainKnob, mainK);
    m_display.SetEnabled(el::SubKnob, subK);
    m_display.SetEnabled(el::ChannelKnob, chanK);
    const bool jog = mainK || m_s.ScanArmed;
    m_display.SetEnabled(el::btnJogDown, jog);
    m_display.SetEnabled(el::btnJogUp, jog);
}

} // namespace kivo::panel
