#include "scope/ScopeChart.h"

#include "panel/SpokenNames.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace kivo::scope {

double ChartGeometry::XOf(double kHz) const
{
    if (spanKHz <= 0)
        return area.left;
    return area.left + (kHz - startKHz) / spanKHz * area.width;
}

double ChartGeometry::KHzAt(double x) const
{
    if (area.width <= 0)
        return startKHz;
    const double f = std::clamp((x - area.left) / area.width, 0.0, 1.0);
    return startKHz + f * spanKHz;
}

double ChartGeometry::YOf(double sMeter) const
{
    const double v = std::clamp(std::isfinite(sMeter) ? sMeter : 0.0, 0.0, kChartMaxS);
    return area.top + area.height * (1 - v / kChartMaxS);
}

std::vector<Tick> ChartGeometry::XTicks() const
{
    std::vector<Tick> ticks;
    if (spanKHz <= 0)
        return ticks;
    constexpr std::array<double, 10> kSteps{1, 2, 5, 10, 20, 25, 50, 100, 200, 500};
    double step = kSteps.back();
    for (double s : kSteps)
        if (spanKHz / s <= 10) {
            step = s;
            break;
        }
    const double end = startKHz + spanKHz;
    for (double k = std::ceil(startKHz / step) * step; k <= end + 1e-9; k += step) {
        char text[24];
        std::snprintf(text, sizeof text, "%.0f", k);
        ticks.push_back({XOf(k), text});
    }
    return ticks;
}

std::vector<Tick> ChartGeometry::YTicks() const
{
    static constexpr std::array<std::pair<int, const char*>, 9> kMarks{
        {{0, "S0"}, {1, "S1"}, {3, "S3"}, {5, "S5"}, {7, "S7"}, {9, "S9"}, {11, "+20"}, {13, "+40"}, {15, "+60"}}};
    std::vector<Tick> ticks;
    ticks.reserve(kMarks.size());
    for (const auto& [v, label] : kMarks)
        ticks.push_back({YOf(v), label});
    return ticks;
}

std::string ChartWords(const Sweep& trace, int cursor)
{
    if (trace.points.empty())
        return "No sweep yet.";
    const ScopePoint* peak = &trace.points.front();
    for (const ScopePoint& p : trace.points)
        if (p.sMeter > peak->sMeter)
            peak = &p;
    std::string words = "Peak " + panel::SMeterWords(peak->sMeter) + " at " + panel::KHzWords(peak->kHz) + ".";
    if (cursor >= 0 && std::size_t(cursor) < trace.points.size()) {
        const ScopePoint& at = trace.points[std::size_t(cursor)];
        words += " Cursor at " + panel::KHzWords(at.kHz) + ", " + panel::SMeterWords(at.sMeter) + ".";
    }
    return words;
}

double SnapKHz(double kHz, double startKHz, double stepKHz)
{
    if (stepKHz <= 0)
        return kHz;
    return startKHz + std::round((kHz - startKHz) / stepKHz) * stepKHz;
}

} // namespace kivo::scope
