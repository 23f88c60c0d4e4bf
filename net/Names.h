#pragma once
// The protocol's names for this radio's modes and VFOs, default passbands and meter scale.
//
// Mode mapping, both ways: LSB, USB, CW, CWR, AM and FM by their own names; DIG is PKTUSB,
// since the radio's DIG mode is data on an SSB receiver and clients set "USB data" as PKTUSB;
// PKT is PKTFM, the radio's packet mode being FM. The protocol's other names (RTTY, RTTYR,
// PKTLSB, WFM) are not taken: the capability block does not offer them.

#include "net/RigModel.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace kivo::net {

std::string_view ModeName(RigMode mode);
// The mode of a protocol mode name (exact, upper case); nothing for a name this radio lacks.
std::optional<RigMode> ModeOfName(std::string_view name);
// The mode's bit in the capability block's mode masks.
std::uint32_t ModeBit(RigMode mode);
// The mask of all the radio's modes.
std::uint32_t AllModesMask();
// Width in Hz of the filter the radio uses for the mode (the block's first filter for it).
int DefaultPassband(RigMode mode);

std::string_view VfoName(Vfo vfo);
inline Vfo OtherVfo(Vfo vfo) { return vfo == Vfo::A ? Vfo::B : Vfo::A; }

// A VFO argument: VFOA and Main name A, VFOB and Sub name B, currVFO the current one.
struct VfoChoice {
    bool current = false;
    Vfo vfo = Vfo::A; // when not current
};
std::optional<VfoChoice> VfoOfName(std::string_view name);

// dB relative to S9 for the S-meter reading 0..15 (clamped): 6 dB per S-unit up to S9
// (S0 = -54), then the radio's own 10 dB steps (15 = S9+60 = 60).
int StrengthDb(int sMeter);

} // namespace kivo::net
