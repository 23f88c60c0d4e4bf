#include "panel/FrontPanel.h"

#include <set>

namespace kivo::panel {

using platform::DisplayModel;

const std::vector<std::string> kFunctionKeys{
    "CATbutton",  "MOXbutton",      "SEARCHbutton", "SYNCbutton",  "FASTbutton",    "LOCKbutton",
    "HOMEbutton", "VFOMRbutton",    "ABbutton",     "MCKbutton",   "SPLITbutton",   "SUBbutton",
    "RPTbutton",  "REVbutton",      "TONEbutton",   "SCOPEbutton", "SCANbutton",    "PRIbutton",
    "DOPbutton",  "BandDownButton", "BandUpButton", "PMSbutton",   "ENTbutton",     "CLARbutton",
    "RCLbutton",  "STObutton",      "SWAPbutton",   "MhzUpButton", "MhzDownButton",
};

namespace {

using Keys = std::set<std::string>;

Keys AllExcept(const Keys& out)
{
    Keys k;
    for (const auto& n : kFunctionKeys)
        if (!out.count(n))
            k.insert(n);
    return k;
}

} // namespace

void FrontPanel::ToggleFunctionButtons()
{
    const bool onAir = Visible("lblOnAir");
    const bool scanRunning = m_s.SearchOn || (m_s.ScanArmed && m_s.ScanDir != 0);
    Keys on;
    bool modeKeys = false;
    bool keepMox = false;

    if (!m_s.CATOn || onAir) {
        on = {"CATbutton"};
        keepMox = onAir;
    } else if (m_s.QMBStore || m_s.QMBRecall) {
        on = {"CATbutton", "RPTbutton", "REVbutton",      "TONEbutton",   "SCANbutton",    "PRIbutton",
              "PMSbutton", "DOPbutton", "BandDownButton", "BandUpButton", "MhzDownButton", "MhzUpButton"};
    } else if (m_s.MCKOn) {
        on = {"CATbutton", "MCKbutton"};
    } else if (m_s.SubSelected) {
        on = {"CATbutton",      "SYNCbutton",   "FASTbutton",    "SUBbutton",  "RPTbutton", "REVbutton",
              "TONEbutton",     "ENTbutton",    "SCANbutton",    "PRIbutton",  "PMSbutton", "DOPbutton",
              "BandDownButton", "BandUpButton", "MhzDownButton", "MhzUpButton"};
        modeKeys = true;
    } else if (m_s.KeypadOn) {
        on = {"CATbutton", "RPTbutton", "REVbutton",      "TONEbutton",   "ENTbutton",     "SCANbutton", "PRIbutton",
              "PMSbutton", "DOPbutton", "BandDownButton", "BandUpButton", "MhzDownButton", "MhzUpButton"};
    } else if (m_s.PRIOn) {
        on = {"CATbutton",   "MOXbutton", "FASTbutton",    "LOCKbutton", "HOMEbutton",
              "VFOMRbutton", "PRIbutton", "MhzDownButton", "MhzUpButton"};
    } else if (m_s.ClarOn) {
        on = {"CATbutton",   "MOXbutton", "RCLbutton", "STObutton", "FASTbutton",    "LOCKbutton",  "HOMEbutton",
              "VFOMRbutton", "REVbutton", "ENTbutton", "PMSbutton", "MhzDownButton", "MhzUpButton", "CLARbutton"};
        modeKeys = true;
    } else if (JogHeld) {
        on = {"CATbutton", "MOXbutton"};
    } else if (scanRunning) {
        on = {"CATbutton", m_s.SearchOn ? "SEARCHbutton" : "SCANbutton"};
    } else if (m_s.ScanArmed) {
        on = AllExcept({"SEARCHbutton", "SCOPEbutton", "RCLbutton", "STObutton", "HOMEbutton", "VFOMRbutton",
                        "SPLITbutton", "SWAPbutton", "PRIbutton", "PMSbutton", "DOPbutton"});
        modeKeys = true;
    } else if (m_s.VFOMRMode == state::kModePMS) {
        on = AllExcept({"SCOPEbutton", "SWAPbutton", "DOPbutton"});
        modeKeys = true;
    } else if (m_s.VFOMRMode == state::kModeMR) {
        on = AllExcept({"SEARCHbutton", "SCOPEbutton", "RCLbutton", "STObutton", "DOPbutton"});
        const auto pos = std::size_t(m_s.CurMemPos) < m_s.MemData.size() ? std::size_t(m_s.CurMemPos) : 0;
        if (m_s.MemData[pos].Split != 0)
            on.insert("DOPbutton");
        modeKeys = true;
    } else {
        on = AllExcept({"DOPbutton"});
        if (m_s.SplitOn)
            on.insert("DOPbutton");
        modeKeys = true;
    }

    for (const auto& k : kFunctionKeys) {
        if (k == "MOXbutton" && keepMox)
            continue;
        m_display.SetEnabled(k, on.count(k) != 0);
    }
    for (int m = 0; m < kModeKeyCount; ++m)
        m_display.SetEnabled(DisplayModel::Indexed("ModeButton", m), modeKeys);
    const bool bands = on.count("BandDownButton") != 0;
    for (int b = 0; b < kBandKeyCount; ++b)
        m_display.SetEnabled(DisplayModel::Indexed("BandButton", b), bands);
}

void FrontPanel::ChangeTuningKnob()
{
    const bool refused = m_s.KeypadOn || !m_s.CATOn || Visible("lblOnAir") || m_display.Get("ledLOCK").value == 1;
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
    m_display.SetEnabled("MainKnob", mainK);
    m_display.SetEnabled("SubKnob", subK);
    m_display.SetEnabled("ChannelKnob", chanK);
    const bool jog = mainK || m_s.ScanArmed;
    m_display.SetEnabled("btnJogDown", jog);
    m_display.SetEnabled("btnJogUp", jog);
}

} // namespace kivo::panel
