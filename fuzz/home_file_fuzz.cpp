// The HOME memory file as the program reads it at start-up.

#include "fuzz/DataFileRoundTrip.h"

#include <cstdint>

using namespace kivo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const fuzz::DataFileTarget home{
        state::kHomeFileName,
        state::kHomeFileSize,
        [](state::DataFiles& f) { f.OpenHomeFile(); },
        [](state::DataFiles& f) { return f.SaveHomeFile(); },
        [](const state::ModKIVO& s) {
            for (const auto& m : s.HomeMem)
                fuzz::CheckMem(m);
        },
        [](const state::ModKIVO& a, const state::ModKIVO& b) { return a.HomeMem == b.HomeMem; },
        [](const state::ModKIVO& s) {
            for (const auto& m : s.HomeMem)
                if (!(m == state::MemRec{}))
                    return false;
            return true;
        },
    };
    const fuzz::RoundTrip r = fuzz::CheckRoundTrip(home, input);

    std::string image = input.substr(0, state::kHomeFileSize);
    image.resize(state::kHomeFileSize, '\0');
    bool clean = true;
    for (std::size_t b = 0; b < state::kBandCount; ++b) {
        const state::MemRec raw = state::MemRecAt(image, b);
        FUZZ_CHECK(state::ToBytes(raw) == image.substr(b * state::kMemRecSize, state::kMemRecSize));
        clean = clean && fuzz::AlreadyClean(raw);
    }
    if (clean)
        FUZZ_CHECK(r.saved == image);
    return 0;
}
