#pragma once
// Byte-exact disk layouts: little-endian, packed, fields in record order. Reading past the end
// of the given bytes yields zeros, as a short file does.

#include "state/Records.h"

#include <string>
#include <string_view>

namespace kivo::state {

constexpr std::size_t kVFOInfoSize = 22;
constexpr std::size_t kMemRecSize = 103;
constexpr std::size_t kBandDataRecSize = 1204;
constexpr std::size_t kSettingsRecSize = 1248;
constexpr std::size_t kHomeFileSize = kMemRecSize * kBandCount;
constexpr std::size_t kMemFileSize = kMemRecSize * kMemCount;

std::string ToBytes(const VFOInfo& v);
std::string ToBytes(const MemRec& m);
std::string ToBytes(const BandDataRec& b);
std::string ToBytes(const SettingsRec& s);

VFOInfo VFOInfoFromBytes(std::string_view bytes);
MemRec MemRecFromBytes(std::string_view bytes);
// Record `index` of a file of 103-byte records; past the end it reads as zeros.
MemRec MemRecAt(std::string_view file, std::size_t index);
BandDataRec BandDataFromBytes(std::string_view bytes);
SettingsRec SettingsFromBytes(std::string_view bytes);

} // namespace kivo::state
