// The band data file as the program reads it at start-up.

#include "fuzz/DataFileRoundTrip.h"

#include <cstdint>

using namespace kivo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const fuzz::DataFileTarget band{
        state::kBandDataFileName,
        state::kBandDataRecSize,
        [](state::DataFiles& f) { f.OpenBandDataFile(); },
        [](state::DataFiles& f) { return f.SaveBandDataFile(); },
        [](const state::ModKIVO& s) { fuzz::CheckBandData(s.BandData); },
        [](const state::ModKIVO& a, const state::ModKIVO& b) { return a.BandData == b.BandData; },
        [](const state::ModKIVO& s) { return s.BandData == state::DefaultBandData(); },
    };
    const fuzz::RoundTrip r = fuzz::CheckRoundTrip(band, input);

    std::string image = input.substr(0, state::kBandDataRecSize);
    image.resize(state::kBandDataRecSize, '\0');
    const state::BandDataRec raw = state::BandDataFromBytes(image);
    FUZZ_CHECK(state::ToBytes(raw) == image);
    if (raw.BandMHz[2] == 50 && fuzz::AlreadyClean(raw))
        FUZZ_CHECK(r.saved == image);
    else if (raw.BandMHz[2] != 50)
        FUZZ_CHECK(r.first->BandData == state::DefaultBandData());
    return 0;
}
