#pragma once
// One pass of the band scope over its range as plotted, and its text for "Export Sweep...".

#include "state/Records.h"

#include <ctime>
#include <string>
#include <vector>

namespace kivo::scope {

using state::Long;

struct ScopePoint {
    double kHz;
    int sMeter;
    bool operator==(const ScopePoint&) const = default;
};

struct Sweep {
    Long centre = 0; // 10 Hz units, as every frequency
    Long start = 0;
    Long end = 0;
    Long step = 0;
    std::time_t time = 0; // when its last point was taken
    std::vector<ScopePoint> points;
};

// "2026-12-07 17:02:09 UTC".
std::string TimeText(std::time_t t);
// Comma-separated text: a line naming the centre, span, step and time, the column headings,
// then one line per point with the frequency in kHz and the S-meter value.
std::string SweepCsv(const Sweep& sweep);

} // namespace kivo::scope
