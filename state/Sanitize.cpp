#include "state/Sanitize.h"

namespace kivo::state {

Integer BandOfFreq(Long freq, Integer fallback)
{
    struct Row {
        Long from, to;
        Integer band;
    };
    static constexpr Row kRows[] = {
        {10000, 275000, 11},   {275000, 550000, 10},  {550000, 850000, 9},     {850000, 1200000, 8},
        {1200000, 1600000, 7}, {1600000, 1950000, 6}, {1950000, 2300000, 5},   {2300000, 2650000, 4},
        {2650000, 3699999, 3}, {3700000, 7600000, 2}, {10800000, 17400000, 1}, {42000000, 51200000, 0},
    };
    for (const auto& r : kRows)
        if (freq >= r.from && freq <= r.to)
            return r.band;
    return fallback;
}

Integer BandOfReading(const BandDataRec& bd, Long freq, Integer current)
{
    const auto covers = [&bd, freq](int b) {
        return ValidBand(b) && freq >= bd.CoverLow[std::size_t(b)] && freq <= bd.CoverHigh[std::size_t(b)];
    };
    const Integer band = BandOfFreq(freq, current);
    if (covers(band))
        return band;
    if (covers(current))
        return current;
    for (int b = 0; b < kBandCount; ++b)
        if (covers(b))
            return Integer(b);
    return band;
}

bool ValidBand(int b) { return b >= 0 && b < kBandCount; }

void Sanitize(VFOInfo& v)
{
    if (v.Mode < 0 || v.Mode > 7)
        v.Mode = 1; // as an unknown mode from the radio: USB
    if (v.RptDir != -11 && v.RptDir != -1 && v.RptDir != 0 && v.RptDir != 1)
        v.RptDir = 0;
    if (v.ToneMode < 0 || v.ToneMode > 3)
        v.ToneMode = 0;
    if (v.CTCSSidx < 0 || v.CTCSSidx >= kCTCSSCount)
        v.CTCSSidx = 8;
    if (v.DCSidx < 0 || v.DCSidx >= kDCSCount)
        v.DCSidx = 0;
}

void Sanitize(MemRec& m)
{
    Sanitize(m.VFO1);
    Sanitize(m.VFO2);
    if (!ValidBand(m.Band1))
        m.Band1 = BandOfFreq(m.VFO1.Freq, 3);
    if (!ValidBand(m.Band2))
        m.Band2 = BandOfFreq(m.VFO2.Freq, m.Band1);
}

void Sanitize(BandDataRec& b)
{
    for (auto* table : {&b.BandVFOMB, &b.BandVFOSB, &b.BandPMSVFO})
        for (auto& v : *table)
            Sanitize(v);
    if (!ValidBand(b.LastBandMB))
        b.LastBandMB = 3;
    if (!ValidBand(b.LastBandSB))
        b.LastBandSB = 3;
}

void Sanitize(SettingsRec& s)
{
    const SettingsRec d = DefaultSettings();
    auto range = [](Integer& v, int lo, int hi, Integer def) {
        if (v < lo || v > hi)
            v = def;
    };
    range(s.MeterSpeed, 0, 6, d.MeterSpeed);
    range(s.ScanSpeed, 0, 6, d.ScanSpeed);
    range(s.PRISpeed, 0, 3, d.PRISpeed);
    range(s.CommPort, 1, kLastFilePort, kLastFilePort);
    range(s.CatRate, 0, 2, d.CatRate);
    range(s.DisplaySize, 0, 2, d.DisplaySize);
    range(s.DisplayStyle, 4, 5, d.DisplayStyle);
    range(s.ColorDepth, 7, 8, d.ColorDepth);
    range(s.PauseInterval, 0, 4, d.PauseInterval);
    // A step must move the dial and stay below the widest band.
    auto steps = [](StepTable& t, const StepTable& def) {
        for (int b = 0; b < kBandCount; ++b)
            for (int m = 0; m < kStepModeSlots; ++m) {
                Long& v = t[b][m];
                if (m >= 8)
                    v = 0;
                else if (v < 1 || v > 10000000)
                    v = def[b][m];
            }
    };
    steps(s.DialStep, d.DialStep);
    steps(s.ChannelStep, d.ChannelStep);
}

} // namespace kivo::state
