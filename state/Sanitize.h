#pragma once
// Values read from files are brought into range before the program uses them as indices,
// so a damaged file can never index past a table. In-range values are kept unchanged.

#include "state/Records.h"

namespace kivo::state {

constexpr int kCTCSSCount = 39;
constexpr int kDCSCount = 104;

// Band index (0..11) of a frequency in 10 Hz units; fallback when it lies in no band.
Integer BandOfFreq(Long freq, Integer fallback);
// The band of a frequency read from the radio: BandOfFreq's when its coverage holds the frequency,
// else `current`'s, else the first band's whose coverage does (BandOfFreq gives 76 MHz, where the
// knobs wrap the 2 m band to, to 6 m), else BandOfFreq's.
Integer BandOfReading(const BandDataRec& bd, Long freq, Integer current);

bool ValidBand(int b);
void Sanitize(VFOInfo& v);
void Sanitize(MemRec& m);
void Sanitize(BandDataRec& b);
void Sanitize(SettingsRec& s);

} // namespace kivo::state
