#pragma once
// What every fixed-size data file keeps, whatever the input: load, save, load and save again
// give the same records and the same bytes; a damaged file is kept byte for byte before anything
// replaces it; a file the program wrote is never taken for a damaged one; and a read that fails
// half-way keeps what the program had and writes nothing.

#include "fuzz/Check.h"
#include "state/DataFiles.h"
#include "state/Layout.h"
#include "tests/support/MemFs.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

namespace kivo::fuzz {

using kivo::testing::MemFs;

inline constexpr const char* kDataDir = "/data";

struct DataFileTarget {
    const char* fileName;
    std::size_t size; // bytes the program writes
    std::function<void(state::DataFiles&)> open;
    std::function<bool(state::DataFiles&)> save;
    // The invariants of what a load keeps.
    std::function<void(const state::ModKIVO&)> check;
    // The same records in both.
    std::function<bool(const state::ModKIVO&, const state::ModKIVO&)> same;
    // The records as the program starts, before any file.
    std::function<bool(const state::ModKIVO&)> asStarted;
};

struct RoundTrip {
    std::unique_ptr<state::ModKIVO> first; // as loaded from the input
    std::string saved;                     // its first save
};

inline RoundTrip CheckRoundTrip(const DataFileTarget& t, const std::string& input)
{
    const std::string path = std::string(kDataDir) + "/" + t.fileName;
    const auto load = [&t](MemFs& fs) {
        auto s = std::make_unique<state::ModKIVO>();
        SilentDialogs dialogs;
        state::DataFiles files(*s, fs, dialogs, kDataDir);
        t.open(files);
        t.check(*s);
        return s;
    };
    const auto save = [&t, &path](state::ModKIVO& s, MemFs& fs) {
        SilentDialogs dialogs;
        state::DataFiles files(s, fs, dialogs, kDataDir);
        FUZZ_CHECK(t.save(files));
        const std::string bytes = fs.files[path];
        FUZZ_CHECK(bytes.size() == t.size);
        return bytes;
    };

    MemFs fs;
    fs.files[path] = input;
    RoundTrip r{load(fs), {}};
    r.saved = save(*r.first, fs);

    MemFs fs2;
    fs2.files[path] = r.saved;
    auto second = load(fs2);
    FUZZ_CHECK(t.same(*second, *r.first));
    if (fs.files.count(path + state::kDamagedSuffix))
        FUZZ_CHECK(fs.files[path + state::kDamagedSuffix] == input);
    FUZZ_CHECK(fs2.writes == 0);
    FUZZ_CHECK(save(*second, fs2) == r.saved);

    MemFs broken;
    broken.files[path] = input;
    broken.cutAt = input.size() / 2;
    auto failed = load(broken);
    FUZZ_CHECK(t.asStarted(*failed));
    FUZZ_CHECK(broken.writes == 0);
    return r;
}

} // namespace kivo::fuzz
