#include "panel/RepeaterTones.h"

#include "state/Sanitize.h"

namespace kivo::panel {

using platform::Buttons;
using platform::Icon;

namespace {

constexpr Integer kFM = 5;

struct ShiftRange {
    Long low, high; // inclusive, 10 Hz units
    Integer dir;
};
// The repeater sub-bands: inputs below the outputs give minus, above give plus.
constexpr ShiftRange kShiftRanges[] = {
    {14510000, 14549999, -1}, {14660000, 14699999, -1}, {14760000, 14800000, -1}, {44500000, 44999999, -1},
    {14600000, 14639999, 1},  {14700000, 14739999, 1},  {44000000, 44499999, 1},
};

} // namespace

Integer AutoShiftOf(Long freq)
{
    for (const ShiftRange& r : kShiftRanges)
        if (freq >= r.low && freq <= r.high)
            return r.dir;
    return 0;
}

RepeaterTones::RepeaterTones(const PanelContext& ctx, Keypad& keypad)
    : m_s(ctx.s), m_dialogs(ctx.dialogs), m_cat(ctx.cat), m_keypad(keypad)
{
}

void RepeaterTones::SendToMain(const std::function<void()>& send)
{
    if (!m_s.SubSelected) {
        send();
        return;
    }
    m_cat.ToggleVFOAB();
    send();
    m_cat.ToggleVFOAB();
}

void RepeaterTones::PressRpt()
{
    if (m_keypad.DigitKey(1))
        return;
    state::VFOInfo& v = m_s.VFOMB;
    if (m_s.SplitOn || v.RptDir == -11 || v.Mode != kFM)
        return;
    v.RptDir = v.RptDir <= -1 ? Integer(1) : Integer(v.RptDir - 1);
    SendToMain([this] { m_cat.SendRptDirMB(); });
}

void RepeaterTones::PressRev()
{
    if (m_keypad.DigitKey(2))
        return;
    if (m_s.MCKOn && m_s.VFOMRMode == state::kModeMR) {
        if (hooks.clearMemory)
            hooks.clearMemory();
        return;
    }
    state::VFOInfo& v = m_s.VFOMB;
    const bool function = m_s.VFOMRMode == state::kModeVFO || m_s.VFOMRMode == state::kModeMR;
    if (!function || (v.RptDir != 1 && v.RptDir != -1)) {
        m_dialogs.MessageBox("You must be in repeater mode before reversing can take place.", "Help", Icon::Exclamation,
                             Buttons::Ok);
        return;
    }
    // Receive where the radio transmitted, with the shift that transmits where it received; a large
    // offset near a band's edge can put that where the radio cannot tune (below zero even).
    const Long rx = v.Freq + v.RptDir * v.RptOffset;
    const auto& bd = m_s.BandData;
    const Integer band = state::BandOfFreq(rx, -1);
    if (band < 0 || rx < bd.CoverLow[std::size_t(band)] || rx > bd.CoverHigh[std::size_t(band)]) {
        m_dialogs.MessageBox("The repeater offset is too large here: reversing would receive outside the "
                             "range valid for this software and possibly this radio.",
                             "Help", Icon::Exclamation, Buttons::Ok);
        return;
    }
    v.Freq = rx;
    v.RptDir = Integer(-v.RptDir);
    SendToMain([this] {
        m_cat.SendFreqMB();
        m_cat.SendRptDirMB();
    });
}

void RepeaterTones::PressTone()
{
    if (m_keypad.DigitKey(3))
        return;
    auto next = [](Integer mode) { return mode >= 0 && mode < 3 ? Integer(mode + 1) : Integer(0); };
    if (m_s.SubSelected) {
        if (m_s.VFOSB.Mode != kFM)
            return;
        m_s.VFOSB.ToneMode = next(m_s.VFOSB.ToneMode);
        m_cat.ShowToneModeSB(); // as every send of the sub VFO: its tone mode is shown, not sent
        return;
    }
    if (m_s.VFOMB.Mode != kFM)
        return;
    m_s.VFOMB.ToneMode = next(m_s.VFOMB.ToneMode);
    m_cat.SendToneModeMB();
}

void RepeaterTones::AutoRptShift()
{
    state::VFOInfo& v = m_s.VFOMB;
    // In split the radio transmits on its other VFO; a shift would undo the split marker.
    if (m_s.SplitOn || v.RptDir == -11)
        return;
    v.RptDir = v.Mode == kFM ? AutoShiftOf(v.Freq) : Integer(0);
    if (v.RptDir != m_cat.LastInfo.MB.RptDir)
        SendToMain([this] { m_cat.SendRptDirMB(); });
}

} // namespace kivo::panel
