// The band data file as the program reads it at start-up.

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
    files.OpenBandDataFile();
    fuzz::CheckBandData(s->BandData);
    return s;
}

std::string Save(state::ModKIVO& s, MemFs& fs, const std::string& path)
{
    SilentDialogs dialogs;
    state::DataFiles files(s, fs, dialogs, kDir);
    FUZZ_CHECK(files.SaveBandDataFile());
    const std::string bytes = fs.files[path];
    FUZZ_CHECK(bytes.size() == state::kBandDataRecSize);
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::string path = std::string(kDir) + "/" + state::kBandDataFileName;

    MemFs fs;
    fs.files[path] = input;
    auto first = Load(fs);
    const std::string saved1 = Save(*first, fs, path);

    MemFs fs2;
    fs2.files[path] = saved1;
    auto second = Load(fs2);
    FUZZ_CHECK(second->BandData == first->BandData);
    // A damaged file is kept byte for byte before anything replaces it.
    if (fs.files.count(path + state::kDamagedSuffix))
        FUZZ_CHECK(fs.files[path + state::kDamagedSuffix] == input);
    FUZZ_CHECK(fs2.writes == 0); // a file the program wrote is never taken for a damaged one
    FUZZ_CHECK(Save(*second, fs2, path) == saved1);

    std::string image = input.substr(0, state::kBandDataRecSize);
    image.resize(state::kBandDataRecSize, '\0');
    const state::BandDataRec raw = state::BandDataFromBytes(image);
    FUZZ_CHECK(state::ToBytes(raw) == image);
    if (raw.BandMHz[2] == 50 && fuzz::AlreadyClean(raw))
        FUZZ_CHECK(saved1 == image);
    else if (raw.BandMHz[2] != 50)
        FUZZ_CHECK(first->BandData == state::DefaultBandData());

    // A failed read keeps what the program had.
    MemFs broken;
    broken.files[path] = input;
    broken.cutAt = size / 2;
    auto failed = Load(broken);
    FUZZ_CHECK(failed->BandData == state::DefaultBandData());
    FUZZ_CHECK(broken.writes == 0);
    return 0;
}
