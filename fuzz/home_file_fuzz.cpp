// The HOME memory file as the program reads it at start-up.

#include "fuzz/Check.h"
#include "fuzz/MemFs.h"
#include "state/DataFiles.h"
#include "state/Layout.h"

#include <cstdint>
#include <memory>

using namespace kivo;
using kivo::fuzz::MemFs;
using kivo::fuzz::SilentDialogs;

namespace {

constexpr const char* kDir = "/data";

std::unique_ptr<state::ModKIVO> Load(MemFs& fs)
{
    auto s = std::make_unique<state::ModKIVO>();
    SilentDialogs dialogs;
    state::DataFiles files(*s, fs, dialogs, kDir);
    files.OpenHomeFile();
    for (const auto& m : s->HomeMem)
        fuzz::CheckMem(m);
    return s;
}

std::string Save(state::ModKIVO& s, MemFs& fs, const std::string& path)
{
    SilentDialogs dialogs;
    state::DataFiles files(s, fs, dialogs, kDir);
    FUZZ_CHECK(files.SaveHomeFile());
    const std::string bytes = fs.files[path];
    FUZZ_CHECK(bytes.size() == state::kHomeFileSize);
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::string path = std::string(kDir) + "/" + state::kHomeFileName;

    MemFs fs;
    fs.files[path] = input;
    auto first = Load(fs);
    const std::string saved1 = Save(*first, fs, path);

    MemFs fs2;
    fs2.files[path] = saved1;
    auto second = Load(fs2);
    FUZZ_CHECK(second->HomeMem == first->HomeMem);
    // A damaged file is kept byte for byte before anything replaces it.
    if (fs.files.count(path + state::kDamagedSuffix))
        FUZZ_CHECK(fs.files[path + state::kDamagedSuffix] == input);
    FUZZ_CHECK(fs2.writes == 0); // a file the program wrote is never taken for a damaged one
    FUZZ_CHECK(Save(*second, fs2, path) == saved1);

    std::string image = input.substr(0, state::kHomeFileSize);
    image.resize(state::kHomeFileSize, '\0');
    bool clean = true;
    for (std::size_t b = 0; b < state::kBandCount; ++b) {
        const state::MemRec raw = state::MemRecAt(image, b);
        FUZZ_CHECK(state::ToBytes(raw) == image.substr(b * state::kMemRecSize, state::kMemRecSize));
        clean = clean && fuzz::AlreadyClean(raw);
    }
    if (clean)
        FUZZ_CHECK(saved1 == image);

    MemFs broken;
    broken.files[path] = input;
    broken.cutAt = size / 2;
    auto failed = Load(broken);
    for (const auto& m : failed->HomeMem)
        FUZZ_CHECK(m == state::MemRec{});
    return 0;
}
