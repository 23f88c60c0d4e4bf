#pragma once
// What every loader promises about the values it keeps, checked hard: a violation aborts so
// libFuzzer records the input.

#include "platform/Dialogs.h"
#include "state/Records.h"
#include "state/Sanitize.h"

#include <cstdio>
#include <cstdlib>

namespace kivo::fuzz {

[[noreturn]] inline void Fail(const char* what, const char* file, int line)
{
    std::fprintf(stderr, "invariant broken: %s (%s:%d)\n", what, file, line);
    std::abort();
}

#define FUZZ_CHECK(cond)                                                                                               \
    do {                                                                                                               \
        if (!(cond))                                                                                                   \
            ::kivo::fuzz::Fail(#cond, __FILE__, __LINE__);                                                             \
    } while (0)

// Every box gets its first button; there is nobody to pick a file.
class SilentDialogs final : public platform::Dialogs {
public:
    platform::Answer MessageBox(const std::string&, const std::string&, platform::Icon, platform::Buttons b) override
    {
        ++boxes;
        return b == platform::Buttons::YesNo || b == platform::Buttons::YesNoCancel ? platform::Answer::Yes
                                                                                    : platform::Answer::Ok;
    }
    void Beep() override {}
    std::optional<std::string> OpenFile(const std::string&, const std::string&) override { return std::nullopt; }
    std::optional<std::string> SaveFile(const std::string&, const std::string&) override { return std::nullopt; }
    bool AskForm(const std::string&, const std::string&, std::vector<platform::FormField>&) override { return false; }
    void ShowHelp(const std::string&) override {}
    void CloseHelp() override {}
    int boxes = 0;
};

inline void CheckVfo(const state::VFOInfo& v)
{
    FUZZ_CHECK(v.Mode >= 0 && v.Mode <= 7);
    FUZZ_CHECK(v.RptDir == -11 || v.RptDir == -1 || v.RptDir == 0 || v.RptDir == 1);
    FUZZ_CHECK(v.ToneMode >= 0 && v.ToneMode <= 3);
    FUZZ_CHECK(v.CTCSSidx >= 0 && v.CTCSSidx < state::kCTCSSCount);
    FUZZ_CHECK(v.DCSidx >= 0 && v.DCSidx < state::kDCSCount);
}

inline void CheckMem(const state::MemRec& m)
{
    CheckVfo(m.VFO1);
    CheckVfo(m.VFO2);
    FUZZ_CHECK(state::ValidBand(m.Band1));
    FUZZ_CHECK(state::ValidBand(m.Band2));
}

inline void CheckBandData(const state::BandDataRec& b)
{
    for (const auto* table : {&b.BandVFOMB, &b.BandVFOSB, &b.BandPMSVFO})
        for (const auto& v : *table)
            CheckVfo(v);
    FUZZ_CHECK(state::ValidBand(b.LastBandMB));
    FUZZ_CHECK(state::ValidBand(b.LastBandSB));
    // The loader's own validity mark: a file without it is replaced by the defaults.
    FUZZ_CHECK(b.BandMHz[2] == 50);
}

inline void CheckSettings(const state::SettingsRec& s)
{
    FUZZ_CHECK(s.MeterSpeed >= 0 && s.MeterSpeed <= 6);
    FUZZ_CHECK(s.ScanSpeed >= 0 && s.ScanSpeed <= 6);
    FUZZ_CHECK(s.PRISpeed >= 0 && s.PRISpeed <= 3);
    FUZZ_CHECK(s.CommPort >= 1 && s.CommPort <= 11);
    FUZZ_CHECK(s.CatRate >= 0 && s.CatRate <= 2);
    FUZZ_CHECK(s.DisplaySize >= 0 && s.DisplaySize <= 2);
    FUZZ_CHECK(s.DisplayStyle == 4 || s.DisplayStyle == 5);
    FUZZ_CHECK(s.ColorDepth == 7 || s.ColorDepth == 8);
    FUZZ_CHECK(s.PauseInterval >= 0 && s.PauseInterval <= 4);
    for (const auto* t : {&s.DialStep, &s.ChannelStep})
        for (int b = 0; b < state::kBandCount; ++b)
            for (int m = 0; m < state::kStepModeSlots; ++m) {
                const state::Long v = (*t)[b][m];
                if (m >= 8)
                    FUZZ_CHECK(v == 0);
                else
                    FUZZ_CHECK(v >= 1 && v <= 10000000);
            }
}

// True when Sanitize would leave the record as it is.
template <class T> bool AlreadyClean(const T& r)
{
    T copy = r;
    state::Sanitize(copy);
    return copy == r;
}

} // namespace kivo::fuzz
