#pragma once
// Finding the rate the radio's CAT port is set to: each rate in turn is tried with the
// frequency-and-mode read, and the first whose reply decodes is the radio's.

#include "radio/CommPort.h"
#include "radio/RadioLink.h"

#include <functional>

namespace kivo::radio {

// Settings > "Detect CAT Rate...": an entry added after the first ones.
inline constexpr int kDetectCatRateEntry = 17;

// Opens port `number` at each rate 0..2 in turn (`trying` told each rate first) and reads the
// radio's frequency and mode there: the rate index the radio answered at, or -1 (also when the
// port does not open). Leaves the port open at the last rate tried.
int ProbeCatRate(CommPort& port, RadioLink& cat, int number, const std::function<void(int rate)>& trying = {});

} // namespace kivo::radio
