#include "panel/Keypad.h"

#include <algorithm>

namespace kivo::panel {

using platform::Buttons;
using platform::Icon;

namespace {

// Mask positions of the digits: MHz, kHz, then tens and hundreds of Hz, around the two points.
constexpr std::array<std::size_t, 8> kDigitPos{0, 1, 2, 4, 5, 6, 8, 9};
// The first mask position after the decimal point.
constexpr std::size_t kKhzPos = 4;
constexpr std::size_t kLastPos = 9;
constexpr std::size_t kMaxDigits = 8;

constexpr const char* kEntryHelpTitle = "Help Frequency Entry";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string MhzMask(const std::string& mhz) { return std::string(3 - mhz.size(), '-') + mhz + ".---.--"; }

// The entered value in 10 Hz units: the digits, scaled by the empty places to the right of the
// first digit shown.
Long EntryValue(const std::string& mask, const std::string& digits)
{
    const auto first = std::find_if(mask.begin(), mask.end(), IsDigit);
    long long v = 0;
    for (char c : digits)
        v = v * 10 + (c - '0');
    for (auto dashes = std::count(first, mask.end(), '-'); dashes > 0; --dashes)
        v *= 10;
    return Long(v);
}

} // namespace

Keypad::Keypad(const PanelContext& ctx, VfoModel& vfo, KeyEnabling& keys)
    : ContextRefs(ctx), m_shown(ctx.s, ctx.display), m_vfo(vfo), m_keys(keys)
{
}

void Keypad::ShowMask() { m_display.SetCaption(m_s.SubSelected ? el::ledSubFreq : el::ledFreq, m_mask); }

void Keypad::ShowCurrentFreq()
{
    if (m_s.SubSelected)
        m_shown.ShowFreqSB();
    else
        m_shown.ShowFreqMB();
}

bool Keypad::DigitKey(int digit)
{
    if (m_s.KeypadOn) {
        DisplayNumericKeypadEntry(char('0' + digit));
        return true;
    }
    if (m_s.QMBStore || m_s.QMBRecall) {
        if (hooks.quickMemory)
            hooks.quickMemory(digit);
        return true;
    }
    return false;
}

void Keypad::MhzKey(bool up) { DigitKey(up ? 0 : 9); }

void Keypad::PressEnt()
{
    if (m_s.KeypadOn) {
        Finish();
        return;
    }
    m_dialogs.Beep();
    m_s.KeypadOn = true;
    m_buffer.clear();
    m_mhz.clear();
    m_decimal = false;
    m_keys.ToggleFunctionButtons();
    m_keys.ChangeTuningKnob();
    m_mask = kEmptyMask;
    ShowMask();
}

void Keypad::DisplayNumericKeypadEntry(char digit)
{
    if (!m_s.KeypadOn || !IsDigit(digit) || m_buffer.size() >= kMaxDigits)
        return;
    m_buffer += digit;
    const std::size_t n = m_buffer.size();
    bool last = false;
    if (m_decimal) {
        // After the decimal point: the next empty place of the kHz and Hz fields.
        const std::size_t at = m_mask.find('-', kKhzPos);
        if (at == std::string::npos)
            return;
        m_mask[at] = digit;
        last = at == kLastPos;
    } else if (n <= 3) {
        // kHz like a calculator: the digits move left as each new one comes in on the right.
        m_mask[4] = m_mask[5];
        m_mask[5] = m_mask[6];
        m_mask[6] = digit;
    } else if (n <= 5) {
        m_mask[m_mask.find('-', 6)] = digit;
    } else {
        // The whole field moves left, so the digits read right-aligned in 10 Hz units.
        for (std::size_t k = 0; k + 1 < kDigitPos.size(); ++k)
            m_mask[kDigitPos[k]] = m_mask[kDigitPos[k + 1]];
        m_mask[kLastPos] = digit;
        last = n == kMaxDigits;
    }
    ShowMask();
    if (last)
        Finish();
}

void Keypad::PressDop()
{
    if (!m_s.KeypadOn)
        return;
    if (m_buffer.empty()) {
        m_dialogs.Beep();
        m_dialogs.MessageBox(
            "You must enter atleast one digit of the frequency before pressing the decimal key. The decimal key is "
            "used to identify the previously entered digit(s) as the MHz portion of the frequency. If the desired "
            "frequency is less that 1 MHz then enter the frequency without pressing the decimal key.",
            kEntryHelpTitle, Icon::Exclamation, Buttons::Ok);
        return;
    }
    if (!m_decimal && m_buffer.size() > 3) {
        m_dialogs.Beep();
        m_dialogs.MessageBox("You have pressed the decimal key to identify the number " + m_buffer +
                                 " as the MHz part of the frequency. This number is too large for this radio. Try "
                                 "entering a MHz number that is 3 digits or less in length.",
                             kEntryHelpTitle, Icon::Exclamation, Buttons::Ok);
        return;
    }
    if (!m_decimal) {
        m_decimal = true;
        m_mhz = m_buffer;
    }
    // Pressed again, it drops what was typed after it the first time.
    m_buffer = m_mhz;
    m_mask = MhzMask(m_mhz);
    ShowMask();
}

bool Keypad::Refused(Long value, Integer band, bool sub, bool tell)
{
    const auto& bd = m_s.BandData;
    const bool pms = !sub && m_s.VFOMRMode == state::kModePMS;
    const std::string f = radio::FreqText(value);
    std::string text;
    if (pms) {
        // In PMS an entry stays within the range the message names, all of it in the knobs' reach.
        const int b = BandSlot(m_s.BandIdxMB);
        const Long low = bd.TuneLow[b];
        const Long high = bd.TuneHigh[b] - 100;
        if (band >= 0 && value >= low && value <= high)
            return false;
        text = "The frequency " + f + " that you entered is not in the range of " + radio::FreqText(low) + " to " +
               radio::FreqText(high) +
               " that you specified for Programmable Memory Scan (PMS). You must enter a value in this range or "
               "adjust your PMS range.";
    } else {
        // A value outside its band's coverage would leave the knobs nowhere to tune from.
        if (band >= 0 && value >= bd.CoverLow[band] && value <= bd.CoverHigh[band])
            return false;
        text = "The frequency " + f +
               (sub ? " that you entered is not with in a valid range for this software and possibly "
                      "this radio."
                    : " that you entered is not in a valid range for this software and possibly this "
                      "radio.");
    }
    if (!tell)
        return true;
    ShowCurrentFreq();
    m_dialogs.Beep();
    m_dialogs.MessageBox(text, "Help", Icon::Exclamation, Buttons::Ok);
    return true;
}

void Keypad::Finish()
{
    m_s.KeypadOn = false;
    m_decimal = false;
    m_keys.ToggleFunctionButtons();
    m_keys.ChangeTuningKnob();
    if (m_buffer.empty()) {
        ShowCurrentFreq();
        return;
    }
    // Taken now: the sends below wait while events run, and a new entry may start meanwhile.
    TakeFrequency(EntryValue(m_mask, m_buffer), m_s.SubSelected, true);
    // A new entry started while the frames went out: they showed the frequency over its mask.
    if (m_s.KeypadOn)
        ShowMask();
}

bool Keypad::TakeFrequency(Long value, bool sub, bool tell)
{
    const Integer band = state::BandOfFreq(value, -1);
    if (Refused(value, band, sub, tell))
        return false;

    m_meter.TurnOffLMeter();
    const Integer mode = m_s.VFOMRMode;
    // Outside PMS a band's tuning limits are its coverage; a band left in PMS may still hold
    // its PMS limits.
    if (mode != state::kModePMS)
        m_vfo.UseCoverageLimits(band);
    if (sub) {
        m_vfo.SaveInfoVFOSB();
        m_s.BandIdxSB = band;
        m_s.VFOSB.Freq = value;
        // With SUB the radio is on its other VFO already; otherwise it goes there and back.
        const bool toggle = !m_s.SubSelected;
        if (toggle)
            m_cat.ToggleVFOAB();
        m_vfo.SendInfoToRadioVFOSB();
        if (toggle)
            m_cat.ToggleVFOAB();
    } else {
        if (mode == state::kModeVFO) {
            m_vfo.SaveInfoVFOMB();
        } else if (mode == state::kModePMS) {
            // The PMS limits belong to the band in use; the entry stays within them, and on it.
            m_vfo.SavePMSInfo();
        }
        if (mode != state::kModePMS)
            m_s.BandIdxMB = band;
        m_s.VFOMB.Freq = value;
        m_vfo.SendInfoToRadioVFOMB(m_s.VFOMB);
        if (m_s.HomeOn) {
            m_vfo.SaveInfoVFOMB();
            m_vfo.SaveInfoVFOSB();
            m_vfo.ChangeToVFOfunction();
        }
    }
    if (mode == state::kModeMR) {
        m_s.MTOn = true;
        m_display.SetVisible(el::lblMT, true);
    }
    const int mb = BandSlot(m_s.BandIdxMB);
    const bool autoShift =
        (mb == 1 && m_s.Settings.AutoRptShift144 != 0) || (mb == 0 && m_s.Settings.AutoRptShift430 != 0);
    if (!sub && m_s.VFOMB.Mode == 5 && autoShift && hooks.autoRptShift)
        hooks.autoRptShift();
    m_meter.TurnOnLMeter();
    return true;
}

} // namespace kivo::panel
