#pragma once
// A model of the FT-817 as its CAT port shows it: two VFOs, split, shift, tones, PTT,
// the status bytes and a small EEPROM, plus a synthetic band of carriers so the meter,
// scanning and the band scope have something to show. No I/O and no clock of its own.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kivo::sim {

struct Vfo {
    std::uint32_t freq = 14420000; // 10 Hz units (144.200 MHz)
    std::uint8_t mode = 0x08;      // CAT mode code (0x08 FM)
};

// A steady signal on the synthetic band.
struct Carrier {
    std::uint32_t freq;  // 10 Hz units
    int sUnits;          // S-meter reading at the centre, 0..15
    std::uint32_t width; // half-width in 10 Hz units over which the reading falls to 0
};

class Ft817 {
public:
    Ft817();

    // What the radio sends back for a command: the reply of a read, or the one-byte
    // acknowledgement of any other command (0x00; 0xF0 for PTT and split when the radio was
    // already in that state).
    struct Answer {
        std::string bytes;
        bool read = false;
    };
    // Carries out one five-byte frame (P1 P2 P3 P4 opcode). A frame with invalid BCD digits or
    // an unknown code changes nothing and is acknowledged like any other command.
    Answer HandleFrame(std::string_view frame);

    Vfo& A() { return m_vfo[0]; }
    Vfo& B() { return m_vfo[1]; }
    Vfo& Current() { return m_vfo[m_onB ? 1 : 0]; }
    const Vfo& Current() const { return m_vfo[m_onB ? 1 : 0]; }
    bool OnB() const { return m_onB; }
    bool Split() const { return m_split; }
    bool Transmitting() const { return m_ptt; }
    // Repeater shift: 0 simplex, 1 plus, -1 minus.
    int RptDir() const { return m_rptDir; }
    std::uint32_t RptOffset() const { return m_rptOffset; } // 10 Hz units
    // 0 off, 1 tone encoder, 2 encoder and decoder, 3 DCS.
    int ToneMode() const { return m_toneMode; }
    int CtcssTenthsHz() const { return m_ctcss; } // 885 = 88.5 Hz
    int DcsCode() const { return m_dcs; }         // 23 = code 023
    int Squelch() const { return m_squelch; }
    void SetSquelch(int sUnits) { m_squelch = sUnits; }

    std::vector<Carrier>& Band() { return m_band; }
    // S-meter reading (0..15) at a frequency, from the synthetic band.
    int SignalAt(std::uint32_t freq) const;
    // Reply bytes of 0xE7 and 0xF7 for the current state.
    std::uint8_t RxStatus() const;
    std::uint8_t TxStatus() const;

    std::array<std::uint8_t, 0x2000>& Eeprom() { return m_eeprom; }
    // A memory byte as the radio's EEPROM read answers it: the stored byte, with the bits that
    // mirror the radio's state (VFO in use, split, the VFOs' bands) as they are now.
    std::uint8_t EepromByte(std::size_t addr) const;
    // The radio's band number (0 160 m .. 14 70 cm) of a frequency in 10 Hz units.
    static int BandOf(std::uint32_t freq);
    // Whether the radio tunes to a frequency in 10 Hz units (a set frequency outside is ignored).
    static bool Tunes(long freq);

private:
    std::array<Vfo, 2> m_vfo{};
    bool m_onB = false;
    bool m_split = false;
    bool m_ptt = false;
    int m_rptDir = 0;
    std::uint32_t m_rptOffset = 60000;
    int m_toneMode = 0;
    int m_ctcss = 885;
    int m_dcs = 23;
    int m_squelch = 1;
    std::vector<Carrier> m_band;
    std::array<std::uint8_t, 0x2000> m_eeprom{};
};

// One line describing a frame for a traffic log: the bytes in hex and what they mean,
// e.g. "14 42 00 00 01  set frequency 144.200.00 MHz".
std::string DescribeFrame(std::string_view frame);
// The answer for the same log: "-> 00" with the bytes in hex, or "(no answer)".
std::string DescribeAnswer(std::string_view answer);

// The radio's tone tables: the 50 CTCSS tones in tenths of a hertz, the 104 DCS codes.
extern const std::array<int, 50> kRadioCtcssTones;
extern const std::array<int, 104> kRadioDcsCodes;

} // namespace kivo::sim
