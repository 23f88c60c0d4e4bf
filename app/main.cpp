// Program entry: loads the data files and reports what it found.

#include "platform/DataDir.h"
#include "platform/FileSystem.h"
#include "platform/Dialogs.h"
#include "state/DataFiles.h"
#include "state/MemoryFile.h"

#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

namespace {

class ConsoleDialogs final : public kivo::platform::Dialogs {
public:
    kivo::platform::Answer MessageBox(const std::string& text, const std::string& title, kivo::platform::Icon,
                                      kivo::platform::Buttons b) override
    {
        std::cerr << title << ": " << text << "\n";
        using kivo::platform::Answer;
        using kivo::platform::Buttons;
        return b == Buttons::YesNo || b == Buttons::YesNoCancel ? Answer::No : Answer::Ok;
    }
    void Beep() override { std::cerr << '\a'; }
    std::optional<std::string> OpenFile(const std::string&, const std::string&) override { return std::nullopt; }
    std::optional<std::string> SaveFile(const std::string&, const std::string&) override { return std::nullopt; }
    void ShowHelp(const std::string&) override {}
    void CloseHelp() override {}
};

void Usage()
{
    std::cout << "Usage: kivo-ft817 [--data-dir DIR] [--help] [--version]\n"
                 "  --data-dir DIR  keep settings, band data and HOME memories in DIR\n";
}

} // namespace

int main(int argc, char** argv)
{
    std::string dataDir = kivo::platform::DefaultDataDir();
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            Usage();
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::cout << "KIVO FT-817 1.0.0\n";
            return 0;
        }
        if (std::strcmp(argv[i], "--data-dir") == 0 && i + 1 < argc) {
            dataDir = argv[++i];
            continue;
        }
        Usage();
        return 2;
    }
    if (auto err = kivo::platform::EnsureDir(dataDir); !err.empty()) {
        std::cerr << "Cannot use the data folder " << dataDir << ": " << err << "\n";
        return 1;
    }

    kivo::state::ModKIVO s;
    kivo::platform::PosixFileSystem fs;
    ConsoleDialogs dialogs;
    kivo::state::DataFiles files(s, fs, dialogs, dataDir);
    kivo::state::MemoryFile memory(s, fs, dialogs);
    files.OpenBandDataFile();
    files.OpenSettingsFile({}, {}, &memory);
    files.OpenHomeFile();

    std::cout << memory.Title() << "\n"
              << "Data folder: " << dataDir << "\n"
              << "Serial port: " << (s.Settings.CommPort == 10 ? std::string("None") : std::to_string(s.Settings.CommPort))
              << ", CAT rate index " << s.Settings.CatRate << "\n"
              << "Main VFO band: " << s.BandData.BandMHz[s.BandData.LastBandMB % 12] << " MHz, "
              << "memories used: " << s.MemCount << "\n";
    return 0;
}
