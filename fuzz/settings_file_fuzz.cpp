// The settings file as the program reads it at start-up.

#include "fuzz/Check.h"
#include "state/DataFiles.h"
#include "state/Layout.h"
#include "state/MemoryFile.h"
#include "tests/support/MemFs.h"

#include <cstdint>
#include <memory>
#include <vector>

using namespace kivo;
using kivo::fuzz::SilentDialogs;
using kivo::testing::MemFs;

namespace {

constexpr const char* kDir = "/data";
// 1920 x 1080 pixels, and that in the file's twips.
constexpr state::Long kScreenWidth = 1920, kScreenHeight = 1080;
constexpr state::Long kScreenW = kScreenWidth * state::kTwipsPerPixel, kScreenH = kScreenHeight * state::kTwipsPerPixel;

struct Loaded {
    std::unique_ptr<state::ModKIVO> s = std::make_unique<state::ModKIVO>();
    std::vector<int> menuValues;
    bool tune = false;
};

Loaded Load(MemFs& fs)
{
    Loaded l;
    SilentDialogs dialogs;
    state::DataFiles files(*l.s, fs, dialogs, kDir);
    state::MemoryFile memory(*l.s, fs, dialogs);
    auto rec = [&l](int v) { l.menuValues.push_back(v); };
    state::SettingsMenuHandlers menus{rec, rec, rec, rec, rec, rec, rec, [&l](bool on) { l.tune = on; }};
    files.OpenSettingsFile(menus, state::ScreenSizeCheck(kScreenWidth, kScreenHeight), &memory);

    const auto& st = l.s->Settings;
    fuzz::CheckSettings(st);
    FUZZ_CHECK((st.FormLeft == 0 && st.FormTop == 0) ||
               (st.FormLeft >= 0 && st.FormTop >= 0 && st.FormLeft < kScreenW && st.FormTop < kScreenH));
    // The menus get exactly the kept values, in the loader's order.
    const std::vector<int> expect{st.CommPort,    st.CatRate,      st.ScanSpeed,  st.MeterSpeed,   st.PRISpeed,
                                  st.DisplaySize, st.DisplayStyle, st.ColorDepth, st.PauseInterval};
    FUZZ_CHECK(l.menuValues == expect);
    FUZZ_CHECK(l.tune == (st.TuneOnStartup != 0));
    for (const auto& m : l.s->MemData)
        fuzz::CheckMem(m);
    FUZZ_CHECK(l.s->MemCount >= 0 && l.s->MemCount <= state::kMemCount);
    return l;
}

std::string Save(Loaded& l, MemFs& fs, const std::string& path)
{
    SilentDialogs dialogs;
    state::DataFiles files(*l.s, fs, dialogs, kDir);
    FUZZ_CHECK(files.SaveSettingsFile());
    const std::string bytes = fs.files[path];
    FUZZ_CHECK(bytes.size() == state::kSettingsRecSize);
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::string path = std::string(kDir) + "/" + state::kSettingsFileName;

    MemFs fs;
    fs.files[path] = input;
    Loaded first = Load(fs);
    const std::string saved1 = Save(first, fs, path);

    // What was kept reads back as the same record and saves to the same bytes.
    MemFs fs2;
    fs2.files[path] = saved1;
    Loaded second = Load(fs2);
    FUZZ_CHECK(second.s->Settings == first.s->Settings);
    FUZZ_CHECK(Save(second, fs2, path) == saved1);

    // A file whose values are all in range is kept byte for byte (short files read as zeros).
    std::string image = input.substr(0, state::kSettingsRecSize);
    image.resize(state::kSettingsRecSize, '\0');
    const state::SettingsRec raw = state::SettingsFromBytes(image);
    FUZZ_CHECK(state::ToBytes(raw) == image);
    const bool onScreen = raw.FormLeft >= 0 && raw.FormTop >= 0 && raw.FormLeft < kScreenW && raw.FormTop < kScreenH;
    if (raw.CommPort != 0 && fuzz::AlreadyClean(raw) && onScreen)
        FUZZ_CHECK(saved1 == image);

    // A read that fails midway runs on the defaults and leaves the file alone.
    MemFs broken;
    broken.files[path] = input;
    broken.cutAt = size / 2;
    Loaded failed = Load(broken);
    FUZZ_CHECK(failed.s->Settings == state::DefaultSettings());
    FUZZ_CHECK(broken.writes == 0 && broken.files[path] == input);
    return 0;
}
