#include "panel/RepeaterShifts.h"

namespace kivo::panel {

using platform::Buttons;
using platform::Icon;

namespace {

// Hundredths of a megahertz (10 kHz) as "##.00": no digit before the point below 1 MHz.
std::string HundredthsText(long long h)
{
    const std::string sign = h < 0 ? "-" : "";
    h = h < 0 ? -h : h;
    const long long whole = h / 100, part = h % 100;
    return sign + (whole == 0 ? "" : std::to_string(whole)) + "." + (part < 10 ? "0" : "") + std::to_string(part);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

std::string RptOffsetText(Long offset) { return HundredthsText(offset / 1000); }

std::optional<Long> ParseRptOffset(const std::string& text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::nullopt;
    const std::string t = text.substr(first, text.find_last_not_of(' ') - first + 1);
    // Plain decimal megahertz only: no sign, no exponent, one point at most. Worked out digit
    // by digit, so neither the locale's decimal sign nor binary fractions come into it.
    long long hundredths = 0;
    int digits = 0, points = 0, decimals = 0;
    bool roundUp = false;
    for (char c : t) {
        if (c == '.') {
            ++points;
            continue;
        }
        if (!IsDigit(c))
            return std::nullopt;
        if (++digits > 12)
            return std::nullopt;
        if (points > 0)
            ++decimals;
        if (decimals <= 2)
            hundredths = hundredths * 10 + (c - '0');
        else if (decimals == 3)
            roundUp = c >= '5';
    }
    if (digits == 0 || points > 1)
        return std::nullopt;
    for (; decimals < 2; ++decimals)
        hundredths *= 10;
    hundredths += roundUp ? 1 : 0;
    if (hundredths * 1000 > radio::kMaxRptOffset)
        return std::nullopt;
    return Long(hundredths * 1000);
}

RepeaterShifts::RepeaterShifts(const PanelContext& ctx) : m_s(ctx.s), m_dialogs(ctx.dialogs), m_cat(ctx.cat) {}

void RepeaterShifts::Show()
{
    m_auto144 = m_s.Settings.AutoRptShift144 != 0;
    m_auto430 = m_s.Settings.AutoRptShift430 != 0;
    for (int k = 0; k < kRptShiftBoxCount; ++k)
        m_text[k] = m_kept[k] = RptOffsetText(m_s.BandData.BandVFOMB[k].RptOffset);
    m_open = true;
}

void RepeaterShifts::SetText(int k, const std::string& text)
{
    if (k >= 0 && k < kRptShiftBoxCount)
        m_text[k] = text;
}

bool RepeaterShifts::LeaveBox(int k)
{
    if (k < 0 || k >= kRptShiftBoxCount)
        return false;
    if (const auto offset = ParseRptOffset(m_text[k])) {
        m_text[k] = m_kept[k] = RptOffsetText(*offset);
        return true;
    }
    const std::string typed = m_text[k];
    m_text[k] = m_kept[k];
    m_dialogs.MessageBox("\"" + typed + "\" is not a repeater shift. Type the " + kRptShiftBoxes[k].label +
                             " shift in megahertz, from 0 up to 99.99, for example .60 or 5.00.",
                         kCaption, Icon::Exclamation, Buttons::Ok);
    return false;
}

void RepeaterShifts::SAVE()
{
    for (int k = 0; k < kRptShiftBoxCount; ++k)
        if (!LeaveBox(k))
            return;
    m_s.Settings.AutoRptShift144 = m_auto144 ? state::kTrue : state::kFalse;
    m_s.Settings.AutoRptShift430 = m_auto430 ? state::kTrue : state::kFalse;
    auto& bd = m_s.BandData;
    for (int k = 0; k < kRptShiftBoxCount; ++k) {
        const Long offset = *ParseRptOffset(m_text[k]);
        bd.BandVFOMB[k].RptOffset = offset;
        bd.BandPMSVFO[k].RptOffset = offset;
    }
    m_open = false;
    const int mb = m_s.BandIdxMB;
    if (mb < 0 || mb >= kRptShiftBoxCount)
        return;
    m_s.VFOMB.RptOffset = bd.BandVFOMB[mb].RptOffset;
    // While the panel is dark nothing goes to the radio; POWER on sends every field afresh.
    if (!m_s.CATOn)
        return;
    // The offset belongs to the main VFO, which SUB keeps in the radio's other VFO.
    if (m_s.SubSelected)
        m_cat.ToggleVFOAB();
    m_cat.SendRptOffset();
    if (m_s.SubSelected)
        m_cat.ToggleVFOAB();
}

void RepeaterShifts::DEFAULT()
{
    m_auto144 = m_auto430 = true;
    for (int k = 0; k < kRptShiftBoxCount; ++k)
        m_text[k] = m_kept[k] = kRptShiftBoxes[k].defaultText;
}

} // namespace kivo::panel
