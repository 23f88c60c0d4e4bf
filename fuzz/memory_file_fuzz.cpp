// A memory database file, as opened from the File menu or at start-up.

#include "fuzz/Check.h"
#include "state/Layout.h"
#include "state/MemoryFile.h"
#include "tests/support/MemFs.h"

#include <algorithm>
#include <cstdint>
#include <memory>

using namespace kivo;
using kivo::fuzz::SilentDialogs;
using kivo::testing::MemFs;

namespace {

constexpr const char* kPath = "/data/log.mem";

int UsedCount(const state::ModKIVO& s)
{
    int n = 0;
    for (const auto& m : s.MemData)
        n += m.Used() ? 1 : 0;
    return n;
}

// One program run's state with the memory file unit over it.
struct Session {
    state::ModKIVO s;
    SilentDialogs dialogs;
    MemFs& fs;
    state::MemoryFile memory{s, fs, dialogs};
    explicit Session(MemFs& f) : fs(f) {}
};

std::unique_ptr<Session> Load(MemFs& fs, bool expectOk)
{
    auto run = std::make_unique<Session>(fs);
    const auto& s = run->s;
    FUZZ_CHECK(run->memory.OpenMemoryFile(kPath) == expectOk);
    FUZZ_CHECK(run->memory.IsOpen() == expectOk);
    for (const auto& m : s.MemData)
        fuzz::CheckMem(m);
    FUZZ_CHECK(s.MemCount >= 0 && s.MemCount <= state::kMemCount);
    FUZZ_CHECK(s.MemCount == UsedCount(s));
    FUZZ_CHECK(s.CurMemPos >= 0 && s.CurMemPos < state::kMemCount);
    return run;
}

std::string Save(Session& run)
{
    FUZZ_CHECK(run.memory.SaveMemoryFile());
    const std::string bytes = run.fs.files[kPath];
    FUZZ_CHECK(bytes.size() == state::kMemFileSize);
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);

    MemFs fs;
    fs.files[kPath] = input;
    auto first = Load(fs, true);
    const std::string saved1 = Save(*first);
    FUZZ_CHECK(fs.writes == 1);

    MemFs fs2;
    fs2.files[kPath] = saved1;
    auto second = Load(fs2, true);
    FUZZ_CHECK(second->s.MemData == first->s.MemData);
    FUZZ_CHECK(second->s.MemCount == first->s.MemCount);
    FUZZ_CHECK(!second->s.MemChanged); // a saved file is never in the old format
    FUZZ_CHECK(Save(*second) == saved1);

    // Records already in range and in the current format are kept byte for byte.
    std::string image = input.substr(0, state::kMemFileSize);
    image.resize(state::kMemFileSize, '\0');
    bool clean = true, old = false;
    for (std::size_t p = 0; p < state::kMemCount && (clean || !old); ++p) {
        const state::MemRec raw = state::MemRecAt(image, p);
        old = old || raw.VFO1.Mode > 7;
        clean = clean && fuzz::AlreadyClean(raw);
    }
    FUZZ_CHECK(first->s.MemChanged == old);
    if (clean && !old)
        FUZZ_CHECK(saved1 == image);

    // A read that fails midway keeps the whole records before the failure, nothing after.
    MemFs broken;
    broken.files[kPath] = input;
    broken.cutAt = size / 2;
    auto failed = Load(broken, false);
    const std::size_t whole = std::min(size / 2, state::kMemFileSize) / state::kMemRecSize;
    for (std::size_t p = whole; p < state::kMemCount; ++p)
        FUZZ_CHECK(failed->s.MemData[p] == state::MemRec{});
    for (std::size_t p = 0; p < whole; ++p)
        FUZZ_CHECK(failed->s.MemData[p].VFO1.Freq == first->s.MemData[p].VFO1.Freq);
    return 0;
}
