#include "state/Records.h"

#include "platform/Text1252.h"

namespace kivo::state {

template <std::size_t N> std::string FixedString<N>::Text() const
{
    std::size_t end = N;
    while (end > 0 && (bytes[end - 1] == ' ' || bytes[end - 1] == '\0'))
        --end;
    return platform::Cp1252ToUtf8(std::string_view(bytes.data(), end));
}

template <std::size_t N> bool FixedString<N>::Assign(std::string_view utf8)
{
    bool lossy = false;
    const std::string raw = platform::Utf8ToCp1252(utf8, &lossy);
    bytes.fill(' ');
    const std::size_t n = raw.size() < N ? raw.size() : N;
    raw.copy(bytes.data(), n);
    return !lossy && raw.size() <= N;
}

template struct FixedString<49>;
template struct FixedString<256>;

BandDataRec DefaultBandData()
{
    BandDataRec b;
    constexpr PerBand<Long> freq = {43200000, 14420000, 5200000, 2830000, 2490000, 2115000,
                                    1810000,  1415000,  1012500, 712500,  370000,  190000};
    constexpr PerBand<Long> offset = {500000, 60000, 100000, 10000, 0, 0, 0, 0, 0, 0, 0, 0};
    for (int i = 0; i < kBandCount; ++i) {
        VFOInfo v;
        v.Freq = freq[i];
        v.Mode = i <= 8 ? 1 : 0;
        v.RptOffset = offset[i];
        v.CTCSSidx = 8;
        b.BandVFOMB[i] = v;
    }
    b.BandVFOSB = b.BandVFOMB;
    b.BandPMSVFO = b.BandVFOMB;
    b.BandMHz = {430, 144, 50, 28, 24, 21, 18, 14, 10, 7, 3, 1};
    b.BandLow = {42000000, 14400000, 5000000, 2800000, 2489000, 2100000,
                 1806800,  1400000,  1010000, 700000,  350000,  180000};
    b.BandHigh = {45000000, 14800000, 5400000, 2970000, 2499000, 2145000,
                  1816800,  1435000,  1015000, 730000,  400000,  200000};
    b.CoverLow = {42000000, 7600000, 5000000, 10000, 10000, 10000, 10000, 10000, 10000, 10000, 10000, 10000};
    b.CoverHigh = {45000000, 15400000, 5400000, 3700000, 3700000, 3700000,
                   3700000,  3700000,  3700000, 3700000, 3700000, 3700000};
    b.TuneLow = b.CoverLow;
    b.TuneHigh = b.CoverHigh;
    b.PMSLow = b.BandLow;
    b.PMSHigh = b.BandHigh;
    b.LastBandMB = 3;
    b.LastBandSB = 3;
    return b;
}

void ResetStepDefaults(SettingsRec& s)
{
    constexpr std::array<Long, 8> channel = {250, 250, 250, 250, 500, 500, 250, 500};
    for (int b = 0; b < kBandCount; ++b)
        for (int m = 0; m < kStepModeSlots; ++m) {
            s.DialStep[b][m] = m < 8 ? 1 : 0;
            s.ChannelStep[b][m] = m < 8 ? channel[m] : 0;
        }
}

SettingsRec DefaultSettings()
{
    SettingsRec s;
    s.FormLeft = 0;
    s.FormTop = 0;
    s.MeterSpeed = 1;
    s.ScanSpeed = 0;
    s.PRISpeed = 2;
    s.CommPort = 10;
    s.CatRate = 1;
    s.DisplaySize = 2;
    s.DisplayStyle = 5;
    s.ColorDepth = 7;
    s.PauseInterval = 2;
    s.TuneOnStartup = kTrue;
    ResetStepDefaults(s);
    s.AutoRptShift144 = kTrue;
    s.AutoRptShift430 = kTrue;
    s.LastMemFile.Assign("");
    return s;
}

} // namespace kivo::state
