#include "tests/support/RandomChoices.h"

#include "panel/KeyEnabling.h"
#include "panel/Keyboard.h"
#include "panel/RadioSharing.h"
#include "platform/Elements.h"
#include "radio/CatCodec.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <iterator>
#include <string_view>

namespace kivo::testing::randomop {

namespace el = platform::el;

// How often each kind of step comes, out of the sum.
constexpr std::array<int, std::size_t(Act::kCount)> kActWeights{
    300, // PanelKey
    20,  // MckHold
    80,  // Knob
    35,  // Jog
    120, // Keyboard
    50,  // Menu
    110, // Network
    15,  // MemoryManager
    25,  // Scope
    30,  // File
    55,  // LineFault
    40,  // RadioDial
    15,  // RadioMode
    10,  // RadioVfo
    35,  // Wait
    60,  // Quiet
};

Act PickAct(std::uint32_t r)
{
    int total = 0;
    for (int w : kActWeights)
        total += w;
    int x = int(r % std::uint32_t(total));
    for (std::size_t i = 0; i < kActWeights.size(); ++i) {
        if (x < kActWeights[i])
            return Act(i);
        x -= kActWeights[i];
    }
    return Act::Wait;
}

const std::vector<KeyChoice>& PanelKeys()
{
    static const std::vector<KeyChoice> keys = [] {
        std::vector<KeyChoice> k = {
            {el::PowerButton, 3}, {el::MOXbutton, 8},      {el::SEARCHbutton, 10}, {el::SYNCbutton, 2},
            {el::FASTbutton, 2},  {el::LOCKbutton, 5},     {el::HOMEbutton, 7},    {el::VFOMRbutton, 9},
            {el::ABbutton, 3},    {el::SPLITbutton, 8},    {el::SUBbutton, 8},     {el::RPTbutton, 2},
            {el::REVbutton, 2},   {el::TONEbutton, 2},     {el::SCANbutton, 9},    {el::PRIbutton, 7},
            {el::DOPbutton, 2},   {el::BandDownButton, 2}, {el::BandUpButton, 2},  {el::PMSbutton, 8},
            {el::ENTbutton, 4},   {el::CLARbutton, 4},     {el::RCLbutton, 3},     {el::STObutton, 3},
            {el::SWAPbutton, 3},  {el::MhzUpButton, 2},    {el::MhzDownButton, 2},
        };
        for (int b = 0; b < panel::kBandKeyCount; ++b)
            k.push_back({el::BandButton(b), 1});
        for (int m = 0; m < panel::kModeKeyCount; ++m)
            k.push_back({el::ModeButton(m), m == 5 ? 5 : 1}); // FM, where SEARCH works
        return k;
    }();
    return keys;
}

const KeyChoice& PickKey(std::uint32_t r)
{
    const auto& keys = PanelKeys();
    int total = 0;
    for (const auto& k : keys)
        total += k.weight;
    int x = int(r % std::uint32_t(total));
    for (const auto& k : keys) {
        if (x < k.weight)
            return k;
        x -= k.weight;
    }
    return keys.front();
}

const std::vector<KeyStroke>& KeyStrokes()
{
    using namespace panel::vk;
    static const std::vector<KeyStroke> keys = [] {
        std::vector<KeyStroke> k = {
            {'P', 0, "P"},
            {kSpace, 0, "Space"},
            {kSpace, 0, "Space"},
            {kSpace, 0, "Space"},
            {kPageUp, 0, "Page Up"},
            {kPageDown, 0, "Page Down"},
            {kMultiply, 0, "keypad *"},
            {kDivide, 0, "keypad /"},
            {kAdd, 0, "keypad +"},
            {kSubtract, 0, "keypad -"},
            {'D', 0, "D"},
            {'U', 0, "U"},
            {kDecimal, 0, "keypad ."},
            {kEnter, 0, "Enter"},
            {kEscape, 0, "Esc"},
            {'C', 0, "C"},
            {'F', 0, "F"},
            {'L', 0, "L"},
            {'R', 0, "R"},
            {'S', 0, "S"},
            {'A', panel::kCtrlDown, "Ctrl+A"},
            {'B', panel::kCtrlDown, "Ctrl+B"},
            {'H', panel::kCtrlDown, "Ctrl+H"},
            {'L', panel::kCtrlDown, "Ctrl+L"},
            {'U', panel::kCtrlDown, "Ctrl+U"},
            {'V', panel::kCtrlDown, "Ctrl+V"},
            {'M', panel::kCtrlDown, "Ctrl+M"},
            {'L', panel::kShiftDown, "Shift+L"},
            {'U', panel::kShiftDown, "Shift+U"},
            {'C', panel::kShiftDown, "Shift+C"},
            {'A', panel::kShiftDown, "Shift+A"},
            {'F', panel::kShiftDown, "Shift+F"},
        };
        static const char* const digits[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
        for (int d = 0; d < 10; ++d)
            k.push_back({'0' + d, 0, digits[d]});
        static const char* const fkeys[] = {"F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10", "F11", "F12"};
        for (int f = 0; f < 12; ++f)
            k.push_back({kF1 + f, 0, fkeys[f]});
        return k;
    }();
    return keys;
}

const std::vector<panel::MenuEntry>& MenuChoices()
{
    static const std::vector<panel::MenuEntry> entries = [] {
        std::vector<panel::MenuEntry> v;
        for (const auto& e : panel::MainMenuTree()) {
            if (e.kind != panel::MenuKind::Command && e.kind != panel::MenuKind::Radio &&
                e.kind != panel::MenuKind::Check)
                continue;
            // Files, the memory manager and the channel lists are steps of their own; sharing
            // on the network would open a socket.
            if (e.group == panel::MenuGroup::File && e.index != 6 && e.index != 7 && e.index != 9)
                continue;
            if (e.group == panel::MenuGroup::Memory)
                continue;
            if (e.group == panel::MenuGroup::Settings && e.index == panel::kShareRadioEntry)
                continue;
            v.push_back(e);
        }
        return v;
    }();
    return entries;
}

const char* const kModeNames[] = {"LSB", "USB", "CW", "CWR", "AM", "FM", "PKTUSB", "PKTFM"};
state::Long BandFrequency(std::uint32_t r)
{
    static const state::BandDataRec bands = state::DefaultBandData();
    const int b = int(r % state::kBandCount);
    const state::Long low = bands.CoverLow[std::size_t(b)];
    const state::Long high = bands.CoverHigh[std::size_t(b)];
    const state::Long span = std::max<state::Long>(1, high - low);
    return low + state::Long((r / 16) % std::uint32_t(span) / 100 * 100);
}

std::string NetLine(std::uint32_t arg, std::uint32_t more)
{
    const std::uint32_t cmd = (arg / 4) % 22;
    const auto hz = [more] {
        if (more % 23 == 0)
            return std::string(more % 2 ? "0" : "1000000000000");
        return std::to_string(std::int64_t(BandFrequency(more)) * 10);
    };
    const std::string mode = kModeNames[more % 8];
    switch (cmd) {
    case 0:
    case 1: return "F " + hz();
    case 2: return "f";
    case 3: return "M " + mode + " 0";
    case 4: return "m";
    case 5: return "V VFOA";
    case 6: return "V VFOB";
    case 7: return "V currVFO";
    case 8: return "v";
    case 9: return "G TOGGLE";
    case 10: return "S 1 VFOB";
    case 11: return "S 0 VFOA";
    case 12: return "s";
    case 13: return "T 1";
    case 14: return "T 0";
    case 15: return "t";
    case 16: return "I " + hz();
    case 17: return "i";
    case 18: return "X " + mode + " 0";
    case 19: return "x";
    case 20: return "q";
    default: return "(connection dropped)";
    }
}

} // namespace kivo::testing::randomop

namespace kivo::testing {

using namespace randomop;

std::string Describe(const Step& st)
{
    const std::uint32_t a = st.arg, m = st.more;
    std::string d;
    switch (st.act) {
    case Act::PanelKey: d = "key " + PickKey(a).name; break;
    case Act::MckHold: d = "MCK held " + std::to_string(100 + m % 1200) + " ms"; break;
    case Act::Knob:
        d = std::string(a % 3 == 0   ? "main"
                        : a % 3 == 1 ? "sub"
                                     : "channel") +
            " knob " + std::to_string(1 + (m % 8)) + " detents " + ((m / 8) % 2 ? "up" : "down");
        break;
    case Act::Jog:
        d = std::string("jog ") + (a % 2 ? "UP" : "DWN") + " held " + std::to_string(100 + m % 1500) + " ms";
        break;
    case Act::Keyboard: {
        const auto& k = KeyStrokes()[a % KeyStrokes().size()];
        d = std::string("keyboard ") + k.name + " held " + std::to_string(30 + m % 900) + " ms" +
            (m % 11 == 0 ? ", focus lost" : "");
        break;
    }
    case Act::Menu: {
        const auto& e = MenuChoices()[a % MenuChoices().size()];
        d = std::string("menu ") + panel::MenuElement(e.group, e.index) + " \"" + e.caption + "\"";
        break;
    }
    case Act::Network: d = "net " + std::to_string(a % 3) + ": " + NetLine(a, m); break;
    case Act::MemoryManager: d = "memory manager op " + std::to_string(a % 8) + (m % 4 ? ", SAVE" : ", CANCEL"); break;
    case Act::Scope: d = "scope op " + std::to_string(a % 10); break;
    case Act::File: {
        d = std::string("file ") + kFileNames[a % 8];
        const int k = int(m % 5);
        if (a % 8 == 1 || a % 8 == 3)
            d += std::string(" ") + (kMemPaths[k] ? kMemPaths[k] : "(cancel)");
        break;
    }
    case Act::LineFault: d = std::string("fault: ") + kFaultNames[a % kFaultKinds]; break;
    case Act::RadioDial: d = "radio dial " + std::string(a % 4 == 0 ? "to another band" : "turned"); break;
    case Act::RadioMode: d = std::string("radio MODE ") + radio::ModeTable[a % 8].caption; break;
    case Act::RadioVfo: d = "radio A/B for " + std::to_string(200 + m % 3000) + " ms"; break;
    case Act::Wait: d = "wait"; break;
    case Act::Quiet: d = "quiet period"; break;
    case Act::kCount: d = "?"; break;
    }
    return d + (st.waitMs ? ", " + std::to_string(st.waitMs) + " ms" : "");
}

namespace {
const char* const kActNames[] = {"PanelKey",  "MckHold",       "Knob",  "Jog",  "Keyboard",  "Menu",
                                 "Network",   "MemoryManager", "Scope", "File", "LineFault", "RadioDial",
                                 "RadioMode", "RadioVfo",      "Wait",  "Quiet"};
static_assert(std::size(kActNames) == std::size_t(Act::kCount));
} // namespace

std::string Literal(const Step& st)
{
    char b[128];
    std::snprintf(b, sizeof b, "{Act::%s, %uu, %uu, %u}", kActNames[std::size_t(st.act)], st.arg, st.more,
                  unsigned(st.waitMs));
    return b;
}

std::vector<Step> ParseSteps(const std::string& text)
{
    std::vector<Step> steps;
    for (auto at = text.find("{Act::"); at != std::string::npos; at = text.find("{Act::", at + 1)) {
        char name[32] = {};
        unsigned arg = 0, more = 0, wait = 0;
        if (std::sscanf(text.c_str() + at, "{Act::%31[A-Za-z], %uu, %uu, %u}", name, &arg, &more, &wait) != 4)
            continue;
        for (std::size_t a = 0; a < std::size(kActNames); ++a)
            if (std::string_view(name) == kActNames[a])
                steps.push_back({Act(a), arg, more, std::uint16_t(wait)});
    }
    return steps;
}

std::vector<Step> GenerateSteps(std::uint64_t seed, std::size_t count)
{
    Rng r{seed * 0x2545F4914F6CDD1Dull + 1};
    std::vector<Step> v;
    v.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        Step st;
        st.act = PickAct(r.U32());
        st.arg = r.U32();
        st.more = r.U32();
        const std::uint32_t w = r.U32();
        st.waitMs = std::uint16_t(w % 5 == 0 ? w % 1500 : w % 250);
        v.push_back(st);
    }
    return v;
}

std::vector<Step> StepsFromBytes(const std::uint8_t* data, std::size_t size)
{
    std::vector<Step> v;
    for (std::size_t i = 0; i + 8 <= size; i += 8) {
        const std::uint8_t* b = data + i;
        Step st;
        st.act = PickAct(std::uint32_t(b[0]) * 4u + (b[1] & 3u));
        st.arg = std::uint32_t(b[1]) | std::uint32_t(b[2]) << 8 | std::uint32_t(b[3]) << 16;
        st.more = std::uint32_t(b[4]) | std::uint32_t(b[5]) << 8 | std::uint32_t(b[6]) << 16;
        st.waitMs = std::uint16_t(b[7] * 6);
        v.push_back(st);
    }
    return v;
}

} // namespace kivo::testing
