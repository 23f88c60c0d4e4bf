#pragma once
// The FT-817 CAT frames as plain functions from values to bytes and back.

#include "state/Records.h"
#include "state/Sanitize.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kivo::radio {

using state::Integer;
using state::Long;

// Five bytes P1 P2 P3 P4 opcode, one character per byte.
using Frame = std::string;

namespace op {
constexpr std::uint8_t kSetFreq = 0x01;
constexpr std::uint8_t kSplitOn = 0x02;
constexpr std::uint8_t kReadFreqMode = 0x03;
constexpr std::uint8_t kSetMode = 0x07;
constexpr std::uint8_t kPttOn = 0x08;
constexpr std::uint8_t kRptDir = 0x09;
constexpr std::uint8_t kToneMode = 0x0A;
constexpr std::uint8_t kCtcssTone = 0x0B;
constexpr std::uint8_t kDcsCode = 0x0C;
constexpr std::uint8_t kToggleVFO = 0x81;
constexpr std::uint8_t kSplitOff = 0x82;
constexpr std::uint8_t kPttOff = 0x88;
constexpr std::uint8_t kReadRxStatus = 0xE7;
constexpr std::uint8_t kReadTxStatus = 0xF7;
constexpr std::uint8_t kRptOffset = 0xF9;
} // namespace op

Frame MakeFrame(std::uint8_t opcode, std::uint8_t p1 = 0, std::uint8_t p2 = 0, std::uint8_t p3 = 0,
                std::uint8_t p4 = 0);

struct ModeRow {
    std::uint8_t code;   // CAT mode code
    const char* caption; // mode label
};
// Index = Mode 0..7.
extern const std::array<ModeRow, 8> ModeTable;

struct ToneModeRow {
    std::uint8_t code;  // CAT tone-mode byte
    bool enc, dec, dcs; // which tone labels are shown
};
// Index = ToneMode 0..3.
extern const std::array<ToneModeRow, 4> ToneModeTable;

struct CtcssRow {
    int tenthsHz;      // 885 = 88.5 Hz
    std::uint8_t code; // the table's historical code byte (not what this radio takes)
};
using state::kCTCSSCount;
extern const std::array<CtcssRow, kCTCSSCount> CTCSSTable;

struct DcsRow {
    int code;            // 23 = code 023
    std::uint8_t p1, p2; // first digit, last two digits as BCD
};
using state::kDCSCount;
extern const std::array<DcsRow, kDCSCount> DCSTable;

// Set-frequency frame, or nothing when the decimal text of freq is not 5..8 digits long.
std::optional<Frame> FreqFrame(Long freq);
// The largest repeater offset the frame carries: 99.99 MHz (10 Hz units, below 100 MHz).
constexpr Long kMaxRptOffset = 9999999;
// Repeater-offset frame, truncated to 10 kHz: 60000 (600 kHz) is 00 06 00 00 F9, 0 is
// 00 00 00 00 F9. Offsets below 0 or above kMaxRptOffset go out as 0 and kMaxRptOffset.
Frame RptOffsetFrame(Long offset);
// Set-mode frame for Mode 0..7 (out of range: USB).
Frame ModeFrame(Integer mode);
// Repeater-direction frame for 0, 1, -1 and -11; nothing for other values.
std::optional<Frame> RptDirFrame(Integer dir);
Frame ToneModeFrame(Integer toneMode);
// The tone itself as four BCD digits of tenths of a hertz in P1 P2: 88.5 Hz is 08 85 00 00 0B.
Frame CtcssFrame(Integer idx);
Frame DcsFrame(Integer idx);

struct FreqMode {
    Long freq;    // 10 Hz units
    Integer mode; // 0..7
};
// Decodes the five-byte reply of the frequency-and-mode read. Returns nothing for a reply
// that is not five bytes, has a nibble above 9, lies outside what the radio tunes or carries a mode byte
// no FT-817 sends, so a garbled reply never reaches the state.
std::optional<FreqMode> DecodeFreqModeReply(std::string_view reply);
// Mode 0..7 of a reply's mode byte; codes outside the table are taken as USB.
Integer ModeOfCode(std::uint8_t code);

struct RxStatus {
    bool busy;    // squelch open
    bool centred; // discriminator centred
    int sMeter;   // 0..31 as the byte carries it
};
RxStatus DecodeRxStatus(std::uint8_t byte);
// Output power in watts from the transmit-status byte.
double TxPowerWatts(std::uint8_t byte);

// "###\.###.00" of Freq / 100: 14420000 shows as 144.200.00, 712500 as 7.125.00.
std::string FreqText(Long freq);

} // namespace kivo::radio
