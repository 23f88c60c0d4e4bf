#include "panel/SpokenNames.h"

#include "panel/BandMode.h"
#include "panel/Tuning.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

namespace kivo::panel {

// A row left out would leave the array's last entry empty.
static_assert(kSpokenNames.back().name != nullptr, "kSpokenNames has fewer rows than its size");

namespace {

bool AllDigits(std::string_view s)
{
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return std::isdigit((unsigned char)c); });
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

// "144" and "20000" as "144.200" (at least three decimals, no trailing zeros past them).
std::string Megahertz(std::string_view mhz, std::string decimals)
{
    while (decimals.size() > 3 && decimals.back() == '0')
        decimals.pop_back();
    return std::string(mhz.empty() ? "0" : mhz) + "." + decimals;
}

const platform::Element& Shown(const platform::DisplayModel& display, const std::string& name)
{
    return display.Get(name);
}

} // namespace

std::string SpokenName(std::string_view element)
{
    std::string_view base = element;
    int index = -1;
    if (const auto open = element.find('('); open != std::string_view::npos && element.back() == ')') {
        base = element.substr(0, open);
        const auto digits = element.substr(open + 1, element.size() - open - 2);
        if (std::from_chars(digits.data(), digits.data() + digits.size(), index).ec != std::errc())
            return {};
    }
    // Indexes are checked by the arrays' own ranges: "ModeButton(8)" is no key.
    const auto mode = [index](const char* prefix) { return prefix + std::string(kModeWords[std::size_t(index)]); };
    if ((base == el::ModeButton.name && el::ModeButton.Holds(index)) ||
        (base == el::lblMBmode.name && el::lblMBmode.Holds(index)))
        return mode("Mode ");
    if (base == el::lblSBmode.name && el::lblSBmode.Holds(index))
        return mode("Sub mode ");
    if (base == el::BandButton.name && el::BandButton.Holds(index))
        return "Band " + std::string(kBandKeyCaptions[std::size_t(index)]) + " megahertz";
    for (const SpokenElement& e : kSpokenNames)
        if (base == e.name && index == e.index)
            return e.words;
    return {};
}

std::string FrequencyWords(std::string_view shown)
{
    shown = Trim(shown);
    if (shown.empty())
        return {};
    const bool negative = shown.front() == '-' && shown.size() > 1 && shown[1] != '-';
    std::string_view body = negative ? shown.substr(1) : shown;
    // The keypad shows the places still to type as dashes.
    if (body.find('-') != std::string_view::npos) {
        std::string typed;
        std::size_t group = 0;
        for (char c : body) {
            if (c == '.') {
                ++group;
                if (group == 1)
                    typed += '.';
            } else if (c != '-') {
                typed += c;
            }
        }
        if (!typed.empty() && typed.back() == '.')
            typed.pop_back();
        return typed.empty() ? "entry" : "entry " + typed;
    }
    const auto first = body.find('.');
    const auto second = first == std::string_view::npos ? first : body.find('.', first + 1);
    if (second == std::string_view::npos)
        return std::string(shown);
    const auto mhz = body.substr(0, first);
    const auto khz = body.substr(first + 1, second - first - 1);
    const auto hz = body.substr(second + 1);
    if ((!mhz.empty() && !AllDigits(mhz)) || !AllDigits(khz) || !AllDigits(hz))
        return std::string(shown);
    return (negative ? "minus " : "") + Megahertz(mhz, std::string(khz) + std::string(hz)) + " megahertz";
}

double FrequencyMHz(std::string_view shown)
{
    shown = Trim(shown);
    const auto first = shown.find('.');
    if (first == std::string_view::npos || shown.find('-') != std::string_view::npos)
        return 0;
    std::string digits(shown.substr(0, first));
    digits += '.';
    for (char c : shown.substr(first + 1))
        if (c != '.')
            digits += c;
    double mhz = 0;
    if (std::from_chars(digits.data(), digits.data() + digits.size(), mhz).ec != std::errc())
        return 0;
    return mhz;
}

std::string KHzWords(double kHz)
{
    const long long tenHz = std::llround(kHz * 100);
    char decimals[8];
    std::snprintf(decimals, sizeof decimals, "%05lld", std::llabs(tenHz) % 100000);
    const std::string mhz = std::to_string(std::llabs(tenHz) / 100000);
    return (tenHz < 0 ? "minus " : "") + Megahertz(mhz, decimals) + " megahertz";
}

std::string SMeterWords(int value)
{
    value = std::clamp(value, 0, 15);
    if (value <= 9)
        return "S" + std::to_string(value);
    return "S9 plus " + std::to_string((value - 9) * 10);
}

std::string MemoryNumberWords(std::string_view shown)
{
    shown = Trim(shown);
    if (AllDigits(shown))
        return "memory " + std::to_string(std::stoi(std::string(shown)));
    if (shown == "H")
        return "home";
    if (shown == "Pr")
        return "priority";
    if (!shown.empty() && (shown.front() == 'L' || shown.front() == 'U'))
        return "PMS";
    return std::string(shown);
}

std::string ModeWords(const platform::DisplayModel& display)
{
    for (int k = el::lblMBmode.first; k <= el::lblMBmode.last; ++k)
        if (Shown(display, el::lblMBmode(k)).visible && display.Has(el::lblMBmode(k)))
            return SpokenName(el::lblMBmode(k));
    return {};
}

std::string FunctionWords(const platform::DisplayModel& display)
{
    const platform::Element& number = Shown(display, el::ledMRnumber);
    if (!number.visible || !display.Has(el::ledMRnumber))
        return "VFO";
    std::string words = MemoryNumberWords(number.caption);
    if (Shown(display, el::lblMCK).visible && display.Has(el::lblMCK))
        words = "memory check, " + words;
    return words;
}

std::string MeterWords(const platform::DisplayModel& display)
{
    if (display.Has(el::lblOnAir) && Shown(display, el::lblOnAir).visible) {
        char watts[16];
        std::snprintf(watts, sizeof watts, "%g", Shown(display, el::LMeterIndicator(1)).value);
        return std::string("power ") + watts + " watts";
    }
    return SMeterWords(int(std::lround(Shown(display, el::LMeterIndicator(0)).value)));
}

std::string StateWords(const platform::DisplayModel& display)
{
    const platform::Element& freq = Shown(display, el::ledFreq);
    if (!display.Has(el::ledFreq) || !freq.visible || freq.caption.empty())
        return "Power off";
    std::string words = FrequencyWords(freq.caption);
    for (const std::string& part : {ModeWords(display), FunctionWords(display)})
        if (!part.empty())
            words += ", " + part;
    if (display.Get(el::LEDsub).value != 0)
        words += ", sub VFO " + FrequencyWords(Shown(display, el::ledSubFreq).caption);
    if (display.Has(el::lblOnAir) && Shown(display, el::lblOnAir).visible)
        words += ", on air";
    return words + ", " + MeterWords(display);
}

MeterLevel MeterReading(const platform::DisplayModel& display)
{
    if (display.Has(el::lblOnAir) && Shown(display, el::lblOnAir).visible)
        return {Shown(display, el::LMeterIndicator(1)).value, 5};
    return {Shown(display, el::LMeterIndicator(0)).value, 15};
}

KnobReading KnobValue(const platform::DisplayModel& display, int knob)
{
    // The radio tunes from 100 kHz to 470 MHz.
    constexpr KnobReading kNone{0, 0.1, 470};
    const platform::Element& number = Shown(display, el::ledMRnumber);
    if (knob == kChannelKnob && display.Has(el::ledMRnumber) && number.visible && AllDigits(Trim(number.caption)))
        return {double(std::stoi(std::string(Trim(number.caption)))), 0, 999};
    // With SUB the main knob tunes the sub VFO.
    const bool sub = knob == kMainKnob && display.Get(el::LEDsub).value != 0;
    const platform::Element& freq = Shown(display, sub ? el::ledSubFreq : el::ledFreq);
    if (!freq.visible)
        return kNone;
    return {FrequencyMHz(freq.caption), kNone.minimum, kNone.maximum};
}

} // namespace kivo::panel
