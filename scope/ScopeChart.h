#pragma once
// The strip chart's geometry as pure functions: frequency (kHz) and S-meter value to a point of
// the plot area and back, and where the scale ticks go. The window paints with these; tests
// check them without painting.

#include "scope/Sweep.h"

#include <string>
#include <vector>

namespace kivo::scope {

// S-meter values run 0..15: S9 at 9, then 10 dB a step up to +60.
inline constexpr double kChartMaxS = 15;

struct PlotArea {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

struct Tick {
    double pos; // x for the frequency axis, y for the S-meter axis
    std::string label;
    bool operator==(const Tick&) const = default;
};

struct ChartGeometry {
    double startKHz = 0;
    double spanKHz = 0;
    PlotArea area;

    double XOf(double kHz) const;
    // The frequency under x, kept inside the span.
    double KHzAt(double x) const;
    double YOf(double sMeter) const;
    // Frequency ticks on whole multiples of a round step (1, 2, 5 .. 200 kHz), at most ten over
    // the span; labelled in kHz.
    std::vector<Tick> XTicks() const;
    // S1, S3 .. S9, +20, +40, +60 (and S0 at the bottom).
    std::vector<Tick> YTicks() const;
};

// `kHz` moved to the nearest point of the sweep's grid start + n * step; a click tunes to a
// frequency that was measured.
double SnapKHz(double kHz, double startKHz, double stepKHz);

// The chart in words, for a screen reader: the trace's peak, and the point under the cursor
// (an index into the trace's points, -1 for none): "Peak S7 at 145.000 megahertz. Cursor at
// 145.010 megahertz, S3."
std::string ChartWords(const Sweep& trace, int cursor);

} // namespace kivo::scope
