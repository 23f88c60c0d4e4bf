// "bandscope.kivo" as the band scope window reads it when it opens.

#include "fuzz/Check.h"
#include "scope/ScopeSettings.h"
#include "tests/support/MemFs.h"

#include <cstdint>
#include <vector>

using namespace kivo;
using kivo::fuzz::SilentDialogs;
using kivo::testing::MemFs;

namespace {

const std::string kPath = std::string("/data/") + scope::kScopeSettingsFileName;

// Loads through handlers that record what they are given, in order.
std::vector<int> Load(MemFs& fs, scope::ScopeSettings& r)
{
    SilentDialogs dialogs;
    scope::ScopeSettingsFile file(fs, dialogs, kPath);
    std::vector<int> got;
    auto rec = [&got](int v) { got.push_back(v); };
    file.Open(r, {rec, rec, rec, rec, rec, rec, rec});
    return got;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    MemFs fs;
    fs.files[kPath] = input;
    scope::ScopeSettings r{};
    r.ColorFill = 77; // must not survive a load
    const std::vector<int> applied = Load(fs, r);

    std::string image = input.substr(0, scope::kScopeSettingsSize);
    image.resize(scope::kScopeSettingsSize, '\0');
    const scope::ScopeSettings raw = scope::ScopeSettingsFromBytes(image);
    FUZZ_CHECK(scope::ToBytes(raw) == image);
    if (raw.ScopeValid == 0) {
        // Missing, short or zeroed: the defaults, written.
        FUZZ_CHECK(r == scope::ScopeSettings{});
        FUZZ_CHECK(fs.writes == 1 && fs.files[kPath] == scope::ToBytes(scope::ScopeSettings{}));
    } else {
        // Kept as read, the file untouched.
        FUZZ_CHECK(r == raw);
        FUZZ_CHECK(fs.writes == 0 && fs.files[kPath] == input);
    }
    // The handlers get the kept values in the loader's order.
    const std::vector<int> expect{r.ActiveSearch, r.ContinuousScan, r.DisplayMode,   r.ScaleHandles,
                                  r.WrapWidth,    r.ColorFill,      r.ScopeScanSpeed};
    FUZZ_CHECK(applied == expect);

    // Saved and loaded again: the same record and the same 16 bytes.
    SilentDialogs dialogs;
    scope::ScopeSettingsFile file(fs, dialogs, kPath);
    FUZZ_CHECK(file.Save(r));
    const std::string saved = fs.files[kPath];
    FUZZ_CHECK(saved.size() == scope::kScopeSettingsSize);
    scope::ScopeSettings again{};
    Load(fs, again);
    FUZZ_CHECK(again == r && fs.files[kPath] == saved);

    // A read that fails is said and changes nothing: no defaults, no handlers, no write.
    MemFs broken;
    broken.files[kPath] = input;
    broken.cutAt = size / 2;
    scope::ScopeSettings untouched{};
    untouched.WrapWidth = 3;
    const scope::ScopeSettings before = untouched;
    FUZZ_CHECK(Load(broken, untouched).empty());
    FUZZ_CHECK(untouched == before && broken.writes == 0);
    return 0;
}
