#pragma once
// What the FT-817 tunes, in 10 Hz units: 0.1 to 56 MHz, 76 to 154 MHz and 420 to 470 MHz. A
// reading outside it is noise, however well its digits decode.

namespace kivo::radio {

constexpr bool RadioTunes(long f)
{
    return (f >= 10000 && f <= 5600000) || (f >= 7600000 && f <= 15400000) || (f >= 42000000 && f <= 47000000);
}

} // namespace kivo::radio
