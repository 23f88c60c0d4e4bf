#include "net/Names.h"

#include <algorithm>
#include <array>

namespace kivo::net {

namespace {

struct ModeRow {
    std::string_view name;
    std::uint32_t bit;
    int passband;
};

// Index = RigMode. Passbands are the radio's stock filters: 2.2 kHz SSB, 6 kHz AM, 15 kHz FM.
constexpr std::array<ModeRow, kRigModeCount> kModes{{
    {"LSB", 0x8, 2200},
    {"USB", 0x4, 2200},
    {"CW", 0x2, 2200},
    {"CWR", 0x80, 2200},
    {"AM", 0x1, 6000},
    {"FM", 0x20, 15000},
    {"PKTUSB", 0x800, 2200},
    {"PKTFM", 0x1000, 15000},
}};

const ModeRow& Row(RigMode mode) { return kModes[std::min<std::size_t>(std::size_t(mode), kModes.size() - 1)]; }

} // namespace

std::string_view ModeName(RigMode mode) { return Row(mode).name; }

std::optional<RigMode> ModeOfName(std::string_view name)
{
    for (std::size_t i = 0; i < kModes.size(); ++i)
        if (kModes[i].name == name)
            return RigMode(i);
    return std::nullopt;
}

std::uint32_t ModeBit(RigMode mode) { return Row(mode).bit; }

std::uint32_t AllModesMask()
{
    std::uint32_t mask = 0;
    for (const auto& m : kModes)
        mask |= m.bit;
    return mask;
}

int DefaultPassband(RigMode mode) { return Row(mode).passband; }

std::string_view VfoName(Vfo vfo) { return vfo == Vfo::A ? "VFOA" : "VFOB"; }

std::optional<VfoChoice> VfoOfName(std::string_view name)
{
    if (name == "VFOA" || name == "Main")
        return VfoChoice{false, Vfo::A};
    if (name == "VFOB" || name == "Sub")
        return VfoChoice{false, Vfo::B};
    if (name == "currVFO")
        return VfoChoice{true, Vfo::A};
    return std::nullopt;
}

int StrengthDb(int sMeter)
{
    const int s = std::clamp(sMeter, 0, 15);
    return s <= 9 ? (s - 9) * 6 : (s - 9) * 10;
}

} // namespace kivo::net
