#include "scope/Sweep.h"

#include <cstdio>

namespace kivo::scope {

namespace {

std::string KHz(double kHz)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", kHz);
    return text;
}

std::string KHz(Long tenHz) { return KHz(double(tenHz) / 100); }

} // namespace

std::string TimeText(std::time_t t)
{
    std::tm utc{};
    gmtime_r(&t, &utc);
    char text[40];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S UTC", &utc);
    return text;
}

std::string SweepCsv(const Sweep& sweep)
{
    std::string out = "Centre (kHz)," + KHz(sweep.centre) + ",Span (kHz)," + KHz(sweep.end - sweep.start) +
                      ",Step (kHz)," + KHz(sweep.step) + ",Time," + TimeText(sweep.time) + "\r\n";
    out += "Frequency (kHz),S-meter\r\n";
    for (const ScopePoint& p : sweep.points)
        out += KHz(p.kHz) + "," + std::to_string(p.sMeter) + "\r\n";
    return out;
}

} // namespace kivo::scope
