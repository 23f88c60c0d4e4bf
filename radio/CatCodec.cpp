#include "radio/CatCodec.h"

#include "radio/Coverage.h"
#include "radio/ModeCodes.h"

#include <cstdlib>

namespace kivo::radio {

const std::array<ModeRow, 8> ModeTable{{
    {0x00, "LSB"},
    {0x01, "USB"},
    {0x02, "CW"},
    {0x03, "CW-R"},
    {0x04, "AM"},
    {0x08, "FM"},
    {0x0A, "DIG"},
    {0x0C, "PKT"},
}};

const std::array<ToneModeRow, 4> ToneModeTable{{
    {0x8A, false, false, false},
    {0x4A, true, false, false},
    {0x2A, true, true, false},
    {0x0A, false, false, true},
}};

const std::array<CtcssRow, kCTCSSCount> CTCSSTable{{
    {670, 0x3F},  {693, 0x39},  {719, 0x1F},  {744, 0x3E},  {770, 0x0F},  {797, 0x3D},  {825, 0x1E},  {854, 0x3C},
    {885, 0x0E},  {915, 0x3B},  {948, 0x1D},  {974, 0x3A},  {1000, 0x0D}, {1035, 0x1C}, {1072, 0x0C}, {1109, 0x1B},
    {1148, 0x0B}, {1188, 0x1A}, {1230, 0x0A}, {1273, 0x19}, {1318, 0x09}, {1365, 0x18}, {1413, 0x08}, {1462, 0x17},
    {1514, 0x07}, {1567, 0x16}, {1622, 0x06}, {1679, 0x15}, {1738, 0x05}, {1799, 0x14}, {1862, 0x04}, {1928, 0x13},
    {2035, 0x03}, {2107, 0x12}, {2181, 0x02}, {2257, 0x11}, {2336, 0x01}, {2418, 0x10}, {2503, 0x00},
}};

namespace {

constexpr std::array<int, kDCSCount> kDcsCodes{
    23,  25,  26,  31,  32,  36,  43,  47,  51,  53,  54,  65,  71,  72,  73,  74,  114, 115, 116, 122, 125,
    131, 132, 134, 143, 145, 152, 155, 156, 162, 165, 172, 174, 205, 212, 223, 225, 226, 243, 244, 245, 246,
    251, 252, 255, 261, 263, 265, 266, 271, 274, 306, 311, 315, 325, 331, 332, 343, 346, 351, 356, 364, 365,
    371, 411, 412, 413, 423, 431, 432, 445, 446, 452, 454, 455, 462, 464, 465, 466, 503, 506, 516, 523, 526,
    532, 546, 565, 606, 612, 624, 627, 631, 632, 654, 662, 664, 703, 712, 723, 731, 732, 734, 743, 754};

constexpr std::uint8_t Bcd(int twoDigits) { return std::uint8_t((twoDigits / 10) << 4 | (twoDigits % 10)); }

std::array<DcsRow, kDCSCount> BuildDcsTable()
{
    std::array<DcsRow, kDCSCount> t{};
    for (int i = 0; i < kDCSCount; ++i)
        t[i] = {kDcsCodes[i], std::uint8_t(kDcsCodes[i] / 100), Bcd(kDcsCodes[i] % 100)};
    return t;
}

int DigitCount(Long v)
{
    if (v <= 0)
        return v == 0 ? 1 : 0; // a negative value never has a valid text
    int n = 0;
    for (; v > 0; v /= 10)
        ++n;
    return n;
}

// Eight decimal digits of v as four BCD bytes, high digits first.
std::array<std::uint8_t, 4> Bcd8(Long v)
{
    std::array<std::uint8_t, 4> b{};
    for (int i = 3; i >= 0; --i) {
        b[i] = Bcd(int(v % 100));
        v /= 100;
    }
    return b;
}

template <class T> T Clamp(T v, T lo, T hi) { return v < lo ? lo : v > hi ? hi : v; }

} // namespace

const std::array<DcsRow, kDCSCount> DCSTable = BuildDcsTable();

Frame MakeFrame(std::uint8_t opcode, std::uint8_t p1, std::uint8_t p2, std::uint8_t p3, std::uint8_t p4)
{
    return Frame{char(p1), char(p2), char(p3), char(p4), char(opcode)};
}

std::optional<Frame> FreqFrame(Long freq)
{
    const int n = DigitCount(freq);
    if (n < 5 || n > 8)
        return std::nullopt;
    const auto b = Bcd8(freq);
    return MakeFrame(op::kSetFreq, b[0], b[1], b[2], b[3]);
}

Frame RptOffsetFrame(Long offset)
{
    // The frame carries 99.99 MHz at most, in 10 kHz steps; what lies outside goes out as the
    // nearest value it can carry, never as whatever the previous command held.
    const Long carried = Clamp<Long>(offset, 0, kMaxRptOffset);
    const auto b = Bcd8(carried);
    return MakeFrame(op::kRptOffset, b[0], b[1], std::uint8_t(b[2] & 0xF0), 0x00);
}

Frame ModeFrame(Integer mode)
{
    const int m = (mode >= 0 && mode < 8) ? mode : 1;
    return MakeFrame(op::kSetMode, ModeTable[m].code);
}

std::optional<Frame> RptDirFrame(Integer dir)
{
    switch (dir) {
    case 0:
    case -11: return MakeFrame(op::kRptDir, 0x89);
    case 1: return MakeFrame(op::kRptDir, 0x49);
    case -1: return MakeFrame(op::kRptDir, 0x09);
    default: return std::nullopt;
    }
}

Frame ToneModeFrame(Integer toneMode)
{
    return MakeFrame(op::kToneMode, ToneModeTable[Clamp<int>(toneMode, 0, 3)].code);
}

Frame CtcssFrame(Integer idx)
{
    const int tenths = CTCSSTable[Clamp<int>(idx, 0, kCTCSSCount - 1)].tenthsHz;
    return MakeFrame(op::kCtcssTone, Bcd(tenths / 100), Bcd(tenths % 100));
}

Frame DcsFrame(Integer idx)
{
    const DcsRow& r = DCSTable[Clamp<int>(idx, 0, kDCSCount - 1)];
    return MakeFrame(op::kDcsCode, r.p1, r.p2);
}

Integer ModeOfCode(std::uint8_t code)
{
    switch (code & 0x7F) { // the high bit marks the narrow filter
    case 0x00: return 0;
    case 0x01: return 1;
    case 0x02: return 2;
    case 0x03: return 3;
    case 0x04: return 4;
    case 0x08: return 5;
    case 0x0A: return 6;
    case 0x0C: return 7;
    default: return 1;
    }
}

std::optional<FreqMode> DecodeFreqModeReply(std::string_view reply)
{
    if (reply.size() != 5)
        return std::nullopt;
    Long freq = 0;
    for (int i = 0; i < 4; ++i) {
        const auto b = std::uint8_t(reply[i]);
        if ((b >> 4) > 9 || (b & 0x0F) > 9)
            return std::nullopt;
        freq = freq * 100 + (b >> 4) * 10 + (b & 0x0F);
    }
    if (!RadioTunes(freq))
        return std::nullopt;
    const auto code = std::uint8_t(reply[4]);
    // 0x06 is wide FM, shown as USB.
    if (!IsModeCode(code & 0x7F))
        return std::nullopt;
    return FreqMode{freq, ModeOfCode(code)};
}

RxStatus DecodeRxStatus(std::uint8_t byte) { return RxStatus{(byte & 0x80) == 0, (byte & 0x20) == 0, byte & 0x1F}; }

double TxPowerWatts(std::uint8_t byte)
{
    const int v = byte & 0x1F;
    if (v >= 8)
        return 5.0;
    if (v >= 5)
        return 2.5;
    if (v >= 2)
        return 1.0;
    return v == 1 ? 0.5 : 0.0;
}

std::string FreqText(Long freq)
{
    // Whole kHz in groups of three around a literal point, then two decimals, as the
    // picture "###\.###.00" lays them out (no leading zeros).
    const bool neg = freq < 0;
    const long long v = std::llabs(static_cast<long long>(freq));
    const long long khz = v / 100;
    const int frac = int(v % 100);
    const std::string mhz = khz >= 1000 ? std::to_string(khz / 1000) : std::string();
    std::string kpart = std::to_string(khz % 1000);
    if (khz >= 1000)
        kpart.insert(0, 3 - kpart.size(), '0');
    char dec[4];
    dec[0] = '.';
    dec[1] = char('0' + frac / 10);
    dec[2] = char('0' + frac % 10);
    dec[3] = 0;
    return (neg ? "-" : "") + mhz + "." + kpart + dec;
}

} // namespace kivo::radio
