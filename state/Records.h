#pragma once
// The shared records of the radio state, with their defaults. Disk layouts live in Layout.h.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kivo::state {

using Integer = std::int16_t;
using Long = std::int32_t;

// Flags stored in files hold -1 for true and 0 for false.
constexpr Integer kTrue = -1;
constexpr Integer kFalse = 0;

constexpr int kBandCount = 12;
constexpr int kMemCount = 1000;
constexpr int kQuickMemCount = 10;
constexpr int kStepModeSlots = 10; // modes 0..7 used; slots 8 and 9 exist in the file and stay 0

// A fixed-length single-byte string as stored on disk: Windows-1252 bytes, blank-padded.
// Holds the raw bytes so that a file round-trips exactly, zeros of an emptied record included.
template <std::size_t N> struct FixedString {
    std::array<char, N> bytes{};

    // Text as UTF-8, with trailing blanks and zero bytes removed.
    std::string Text() const;
    // Sets from UTF-8: truncated or blank-padded to N bytes. Returns false when a character
    // had no Windows-1252 byte or the text was cut.
    bool Assign(std::string_view utf8);
    bool operator==(const FixedString&) const = default;
};

struct VFOInfo {
    Long Freq = 0; // 10 Hz units; 0 means empty
    Integer Mode = 0;
    Long RptOffset = 0;
    Integer RptDir = 0; // -1 minus, 0 simplex, 1 plus, -11 split marker
    Integer ToneMode = 0;
    Integer CTCSSidx = 0;
    Integer DCSidx = 0;
    Long ClarOffset = 0;
    bool operator==(const VFOInfo&) const = default;
};

struct MemRec {
    VFOInfo VFO1;
    VFOInfo VFO2;
    FixedString<49> Desc;
    Integer BankSel = 0;
    Integer Split = 0;
    Integer Skip = 0;
    Integer Band1 = 0;
    Integer Band2 = 0;
    bool Used() const { return VFO1.Freq > 0; }
    bool operator==(const MemRec&) const = default;
};

struct QuickMemRec {
    VFOInfo VFO1;
    VFOInfo VFO2;
    Integer Band1 = 0;
    Integer Band2 = 0;
};

template <class T> using PerBand = std::array<T, kBandCount>;

struct BandDataRec {
    PerBand<VFOInfo> BandVFOMB{};
    PerBand<VFOInfo> BandVFOSB{};
    PerBand<VFOInfo> BandPMSVFO{};
    PerBand<Integer> BandMHz{};
    PerBand<Long> BandLow{};
    PerBand<Long> BandHigh{};
    PerBand<Long> CoverLow{};
    PerBand<Long> CoverHigh{};
    PerBand<Long> TuneLow{};
    PerBand<Long> TuneHigh{};
    PerBand<Long> PMSLow{};
    PerBand<Long> PMSHigh{};
    Integer LastBandMB = 0;
    Integer LastBandSB = 0;
    bool operator==(const BandDataRec&) const = default;
};

// Step table indexed [band][mode slot].
using StepTable = std::array<std::array<Long, kStepModeSlots>, kBandCount>;

// The highest port number the settings file holds: ports 1..9 and None (10).
constexpr Integer kLastFilePort = 10;

struct SettingsRec {
    Long FormLeft = 0;
    Long FormTop = 0;
    Integer MeterSpeed = 0;
    Integer ScanSpeed = 0;
    Integer PRISpeed = 0;
    Integer CommPort = 0;
    Integer CatRate = 0;
    Integer DisplaySize = 0;
    Integer DisplayStyle = 0;
    Integer ColorDepth = 0;
    Integer PauseInterval = 0;
    Integer TuneOnStartup = 0;
    StepTable DialStep{};
    StepTable ChannelStep{};
    Integer AutoRptShift144 = 0;
    Integer AutoRptShift430 = 0;
    FixedString<256> LastMemFile;
    bool operator==(const SettingsRec&) const = default;
};

BandDataRec DefaultBandData();
SettingsRec DefaultSettings();
// Dial step 1 for every band and mode; channel step by mode 250, 250, 250, 250, 500, 500, 250, 500.
void ResetStepDefaults(SettingsRec& s);

// Mode names by mode code 0..7.
constexpr std::array<std::string_view, 8> kModeNames = {"LSB", "USB", "CW", "CWR", "AM", "FM", "DIG", "PKT"};

} // namespace kivo::state
