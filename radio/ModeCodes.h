#pragma once
// The mode codes the FT-817 takes and reports on its CAT line: LSB 00, USB 01, CW 02, CW-R 03,
// AM 04, WFM 06, FM 08, DIG 0A, PKT 0C. Anything else is noise.

#include <cstdint>

namespace kivo::radio {

constexpr bool IsModeCode(std::uint8_t code)
{
    switch (code) {
    case 0x00:
    case 0x01:
    case 0x02:
    case 0x03:
    case 0x04:
    case 0x06:
    case 0x08:
    case 0x0A:
    case 0x0C: return true;
    default: return false;
    }
}

} // namespace kivo::radio
