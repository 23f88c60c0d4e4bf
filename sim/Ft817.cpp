#include "sim/Ft817.h"

#include "radio/Coverage.h"
#include "radio/ModeCodes.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace kivo::sim {

const std::array<int, 50> kRadioCtcssTones{670,  693,  719,  744,  770,  797,  825,  854,  885,  915,  948,  974,  1000,
                                           1035, 1072, 1109, 1148, 1188, 1230, 1273, 1318, 1365, 1413, 1462, 1514, 1567,
                                           1598, 1622, 1655, 1679, 1713, 1738, 1773, 1799, 1835, 1862, 1899, 1928, 1966,
                                           1995, 2035, 2065, 2107, 2181, 2257, 2291, 2336, 2418, 2503, 2541};

const std::array<int, 104> kRadioDcsCodes{
    23,  25,  26,  31,  32,  36,  43,  47,  51,  53,  54,  65,  71,  72,  73,  74,  114, 115, 116, 122, 125,
    131, 132, 134, 143, 145, 152, 155, 156, 162, 165, 172, 174, 205, 212, 223, 225, 226, 243, 244, 245, 246,
    251, 252, 255, 261, 263, 265, 266, 271, 274, 306, 311, 315, 325, 331, 332, 343, 346, 351, 356, 364, 365,
    371, 411, 412, 413, 423, 431, 432, 445, 446, 452, 454, 455, 462, 464, 465, 466, 503, 506, 516, 523, 526,
    532, 546, 565, 606, 612, 624, 627, 631, 632, 654, 662, 664, 703, 712, 723, 731, 732, 734, 743, 754};

namespace {

// Memory bytes that mirror the radio's state.
constexpr std::size_t kVfoByte = 0x55;     // bit 0: VFO B in use
constexpr std::size_t kBandByte = 0x59;    // VFO A's band, low nibble; VFO B's, high nibble
constexpr std::size_t kDigModeByte = 0x65; // bits 7..5: the DIG mode's kind
constexpr std::size_t kSplitByte = 0x7A;   // bit 7: split on

bool IsBcd(std::uint8_t b) { return (b >> 4) <= 9 && (b & 0x0F) <= 9; }
int FromBcd(std::uint8_t b) { return (b >> 4) * 10 + (b & 0x0F); }
std::uint8_t ToBcd(int v) { return std::uint8_t((v / 10) << 4 | (v % 10)); }

// Eight BCD digits in four bytes, or -1 when a nibble is above 9.
long Bcd8(std::string_view f)
{
    long v = 0;
    for (int i = 0; i < 4; ++i) {
        const auto b = std::uint8_t(f[i]);
        if (!IsBcd(b))
            return -1;
        v = v * 100 + FromBcd(b);
    }
    return v;
}

const char* ModeName(std::uint8_t m)
{
    switch (m) {
    case 0x00: return "LSB";
    case 0x01: return "USB";
    case 0x02: return "CW";
    case 0x03: return "CW-R";
    case 0x04: return "AM";
    case 0x06: return "WFM";
    case 0x08: return "FM";
    case 0x0A: return "DIG";
    case 0x0C: return "PKT";
    default: return nullptr;
    }
}

std::string FreqString(long f)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%ld.%03ld.%02ld", f / 100000, (f / 100) % 1000, f % 100);
    return buf;
}

} // namespace

Ft817::Ft817()
{
    m_vfo[1].freq = 43300000;
    // A few steady carriers: a beacon on 20 m, two on 2 m FM, a repeater output on 70 cm.
    m_band = {
        {1410000, 9, 150}, {14430000, 12, 1200}, {14500000, 7, 800}, {14560000, 15, 1500}, {43305000, 10, 1000},
    };
    // A plausible EEPROM image: a version word at 0x0000 and the rest as a fresh radio has it,
    // the DIG mode set to USER-U (bits 7..5 of 0x65).
    m_eeprom.fill(0x00);
    m_eeprom[0x00] = 0x27;
    m_eeprom[0x01] = 0xC4;
    m_eeprom[kDigModeByte] = 4 << 5;
}

bool Ft817::Tunes(long freq) { return radio::RadioTunes(freq); }

int Ft817::BandOf(std::uint32_t freq)
{
    // Upper ends of the radio's bands, 160 m, 80 m, 60 m, 40 m, 30 m, 20 m, 17 m, 15 m, 12 m,
    // 10 m, 6 m, FM broadcast, airband, 2 m; above them 70 cm.
    static constexpr std::array<std::uint32_t, 14> kTops{250000,  450000,   550000,   750000,  1050000,
                                                         1450000, 1850000,  2150000,  2500000, 3000000,
                                                         5600000, 10800000, 13700000, 15400000};
    int band = 0;
    while (band < int(kTops.size()) && freq >= kTops[std::size_t(band)])
        ++band;
    return band;
}

std::uint8_t Ft817::EepromByte(std::size_t addr) const
{
    addr %= m_eeprom.size();
    std::uint8_t b = m_eeprom[addr];
    switch (addr) {
    case kVfoByte: return std::uint8_t((b & ~0x01) | (m_onB ? 0x01 : 0));
    case kSplitByte: return std::uint8_t((b & 0x7F) | (m_split ? 0x80 : 0));
    case kBandByte: return std::uint8_t(BandOf(m_vfo[0].freq) | BandOf(m_vfo[1].freq) << 4);
    default: return b;
    }
}

int Ft817::SignalAt(std::uint32_t freq) const
{
    int best = 0;
    for (const auto& c : m_band) {
        const long d = std::labs(long(freq) - long(c.freq));
        if (c.width == 0 || d >= long(c.width))
            continue;
        const int s = int(c.sUnits * (long(c.width) - d) / long(c.width));
        best = std::max(best, s);
    }
    return std::clamp(best, 0, 15);
}

std::uint8_t Ft817::RxStatus() const
{
    const Vfo& v = Current();
    const int s = SignalAt(v.freq);
    std::uint8_t b = std::uint8_t(s & 0x0F);
    if (s < m_squelch)
        b |= 0x80; // squelch closed
    // Centred when within 1 kHz of a carrier's centre.
    bool centred = false;
    for (const auto& c : m_band)
        if (std::labs(long(v.freq) - long(c.freq)) <= 100)
            centred = true;
    if (!centred)
        b |= 0x20;
    if (m_toneMode < 2)
        b |= 0x40; // no tone decoder match
    return b;
}

std::uint8_t Ft817::TxStatus() const
{
    if (!m_ptt)
        return 0xFF;
    std::uint8_t b = 0x08; // about 5 W
    if (!m_split)
        b |= 0x20;
    return b;
}

Ft817::Answer Ft817::HandleFrame(std::string_view f)
{
    if (f.size() != 5)
        return {};
    const auto p1 = std::uint8_t(f[0]);
    const auto p2 = std::uint8_t(f[1]);
    const auto opcode = std::uint8_t(f[4]);
    auto ack = [] { return Answer{std::string(1, '\0')}; };
    auto already = [] { return Answer{std::string(1, char(0xF0))}; };
    auto read = [](std::string bytes) { return Answer{std::move(bytes), true}; };
    switch (opcode) {
    case 0x01: {
        const long v = Bcd8(f);
        if (v >= 0 && radio::RadioTunes(v))
            Current().freq = std::uint32_t(v);
        return ack();
    }
    case 0x02: {
        const bool was = m_split;
        m_split = true;
        return was ? already() : ack();
    }
    case 0x82: {
        const bool was = !m_split;
        m_split = false;
        return was ? already() : ack();
    }
    case 0x03: {
        const Vfo& v = Current();
        std::string r(5, '\0');
        long x = v.freq;
        for (int i = 3; i >= 0; --i) {
            r[i] = char(ToBcd(int(x % 100)));
            x /= 100;
        }
        r[4] = char(v.mode);
        return read(r);
    }
    case 0x07:
        if (radio::IsModeCode(p1))
            Current().mode = p1;
        return ack();
    case 0x08: {
        const bool was = m_ptt;
        m_ptt = true;
        return was ? already() : ack();
    }
    case 0x88: {
        const bool was = !m_ptt;
        m_ptt = false;
        return was ? already() : ack();
    }
    case 0x09:
        if (p1 == 0x09)
            m_rptDir = -1;
        else if (p1 == 0x49)
            m_rptDir = 1;
        else if (p1 == 0x89)
            m_rptDir = 0;
        return ack();
    case 0x0A:
        if (p1 == 0x8A)
            m_toneMode = 0;
        else if (p1 == 0x4A)
            m_toneMode = 1;
        else if (p1 == 0x2A)
            m_toneMode = 2;
        else if (p1 == 0x0A)
            m_toneMode = 3;
        return ack();
    case 0x0B: {
        if (!IsBcd(p1) || !IsBcd(p2))
            return ack();
        const int tenths = FromBcd(p1) * 100 + FromBcd(p2);
        if (std::find(kRadioCtcssTones.begin(), kRadioCtcssTones.end(), tenths) != kRadioCtcssTones.end())
            m_ctcss = tenths;
        return ack();
    }
    case 0x0C: {
        if (p1 > 9 || !IsBcd(p2))
            return ack();
        const int code = p1 * 100 + FromBcd(p2);
        if (std::find(kRadioDcsCodes.begin(), kRadioDcsCodes.end(), code) != kRadioDcsCodes.end())
            m_dcs = code;
        return ack();
    }
    case 0x81: m_onB = !m_onB; return ack();
    case 0xE7: return read(std::string(1, char(RxStatus())));
    case 0xF7: return read(std::string(1, char(TxStatus())));
    case 0xF9: {
        const long v = Bcd8(f);
        if (v >= 0 && v <= 9999900)
            m_rptOffset = std::uint32_t(v);
        return ack();
    }
    case 0xBB: {
        const std::size_t addr = std::size_t(p1) << 8 | p2;
        return read({char(EepromByte(addr)), char(EepromByte(addr + 1))});
    }
    case 0xBD:
        // Transmit metering: two bytes of meter nibbles (power and ALC, SWR and modulation)
        // while keyed, one byte while receiving.
        return read(m_ptt ? std::string{char(0x80), char(0x10)} : std::string(1, '\0'));
    default: return ack();
    }
}

namespace {

std::string Hex(std::string_view bytes)
{
    std::string hex;
    char b[8];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(b, sizeof b, i ? " %02X" : "%02X", unsigned(std::uint8_t(bytes[i])));
        hex += b;
    }
    return hex;
}

} // namespace

std::string DescribeAnswer(std::string_view answer) { return answer.empty() ? "(no answer)" : "-> " + Hex(answer); }

std::string DescribeFrame(std::string_view f)
{
    const std::string hex = Hex(f);
    char b[24];
    if (f.size() != 5)
        return hex + "  (incomplete)";
    const auto p1 = std::uint8_t(f[0]);
    const auto p2 = std::uint8_t(f[1]);
    std::string what;
    switch (std::uint8_t(f[4])) {
    case 0x01: {
        const long v = Bcd8(f);
        what = v < 0 ? "set frequency (invalid digits)" : "set frequency " + FreqString(v) + " MHz";
        break;
    }
    case 0x02: what = "split on"; break;
    case 0x82: what = "split off"; break;
    case 0x03: what = "read frequency and mode"; break;
    case 0x07: {
        const char* m = ModeName(p1);
        what = m ? std::string("set mode ") + m : "set mode (invalid code)";
        break;
    }
    case 0x08: what = "PTT on"; break;
    case 0x88: what = "PTT off"; break;
    case 0x09:
        what = p1 == 0x09 ? "shift minus" : p1 == 0x49 ? "shift plus" : p1 == 0x89 ? "simplex" : "shift (invalid)";
        break;
    case 0x0A:
        what = p1 == 0x8A   ? "tone off"
               : p1 == 0x4A ? "CTCSS encoder on"
               : p1 == 0x2A ? "CTCSS encoder and decoder on"
               : p1 == 0x0A ? "DCS on"
                            : "tone mode (invalid)";
        break;
    case 0x0B:
        if (IsBcd(p1) && IsBcd(p2)) {
            const int t = FromBcd(p1) * 100 + FromBcd(p2);
            std::snprintf(b, sizeof b, "%d.%d", t / 10, t % 10);
            what = std::string("CTCSS tone ") + b + " Hz";
        } else {
            what = "CTCSS tone (invalid digits)";
        }
        break;
    case 0x0C:
        if (p1 <= 9 && IsBcd(p2)) {
            std::snprintf(b, sizeof b, "%03d", p1 * 100 + FromBcd(p2));
            what = std::string("DCS code ") + b;
        } else {
            what = "DCS code (invalid digits)";
        }
        break;
    case 0x81: what = "toggle VFO A/B"; break;
    case 0xE7: what = "read receive status"; break;
    case 0xF7: what = "read transmit status"; break;
    case 0xF9: {
        const long v = Bcd8(f);
        what = v < 0 ? "repeater offset (invalid digits)" : "repeater offset " + FreqString(v) + " MHz";
        break;
    }
    case 0xBB:
        std::snprintf(b, sizeof b, "%04X", unsigned(p1) << 8 | p2);
        what = std::string("read EEPROM at ") + b;
        break;
    case 0xBD: what = "read transmit metering"; break;
    default: what = "unknown command"; break;
    }
    return hex + "  " + what;
}

} // namespace kivo::sim
