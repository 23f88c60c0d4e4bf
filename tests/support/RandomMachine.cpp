#include "tests/support/RandomMachine.h"

namespace kivo::testing::randomop {

void WriteStartFiles(const std::string& dir)
{
    platform::PosixFileSystem fs;
    platform::ScriptedDialogs dialogs;
    state::ModKIVO f;
    f.Settings.CommPort = 1;
    f.Settings.CatRate = 1;
    f.Settings.MeterSpeed = 1;
    f.Settings.PRISpeed = 2;
    f.Settings.ScanSpeed = 3;
    f.Settings.PauseInterval = 3;
    f.Settings.TuneOnStartup = 0;
    f.Settings.FormLeft = 1500;
    f.Settings.FormTop = 1200;
    const std::string memPath = dir + "/mem/start.mem";
    f.Settings.LastMemFile.Assign(memPath);
    auto& bd = f.BandData;
    bd.LastBandMB = 1;
    bd.LastBandSB = 0;
    bd.BandVFOMB[1] = {14520000, 5, 60000, -1, 1, 8, 0, 0};
    bd.BandVFOSB[0] = {43310000, 5, 760000, 0, 0, 12, 5, 0};
    // HOME channels on 2 m, 20 m and 70 cm.
    f.HomeMem[1].VFO1 = {14600000, 5, 60000, 0, 0, 8, 0, 0};
    f.HomeMem[1].Band1 = 1;
    f.HomeMem[7].VFO1 = {1423000, 1, 0, 0, 0, 8, 0, 0};
    f.HomeMem[7].Band1 = 7;
    f.HomeMem[0].VFO1 = {43350000, 5, 760000, 0, 0, 8, 0, 0};
    f.HomeMem[0].Band1 = 0;
    state::DataFiles w(f, fs, dialogs, dir);
    w.SaveSettingsFile();
    w.SaveBandDataFile();
    w.SaveHomeFile();
    std::array<state::MemRec, state::kMemCount> mem{};
    const auto put = [&mem](int pos, state::Long freq, state::Integer mode, state::Integer band) {
        auto& m = mem[std::size_t(pos)];
        m.VFO1 = {freq, mode, 60000, 0, 0, 8, 0, 0};
        m.Band1 = band;
        m.Desc.Assign("ch " + std::to_string(pos));
    };
    put(0, 14550000, 5, 1);
    put(1, 1407400, 1, 7);
    put(2, 709000, 0, 9);
    put(3, 14480000, 5, 1);
    put(5, 5031000, 1, 2);
    put(7, 1420000, 1, 7);
    mem[7].Split = -1;
    mem[7].VFO2 = {1425000, 1, 0, 0, 0, 8, 0, 0};
    mem[7].Band2 = 7;
    put(12, 43350000, 5, 0);
    put(51, 2807400, 1, 3);
    put(60, 2100000, 2, 5);
    mem[0].BankSel = -1;
    mem[50].BankSel = -1;
    mem[3].Skip = -1;
    state::MemoryFile mf(f, fs, dialogs);
    mf.OpenMemoryFile(memPath); // made, empty
    f.MemData = mem;
    mf.SaveMemoryFile();
}

std::string FreshDir()
{
    std::string base = "/dev/shm";
    if (const char* t = std::getenv("KIVO_RANDOM_DIR"))
        base = t;
    std::error_code ec;
    if (!std::filesystem::is_directory(base, ec))
        base = std::filesystem::temp_directory_path().string();
    std::string tmpl = base + "/kivo-random-XXXXXX";
    if (!::mkdtemp(tmpl.data()))
        return {};
    for (const char* sub : {"mem", "ro", "full"})
        std::filesystem::create_directory(tmpl + "/" + sub, ec);
    return tmpl;
}

} // namespace kivo::testing::randomop
