#include "state/Layout.h"
#include "tests/support/FileFixture.h"

#include <cerrno>
#include <filesystem>

#include <unistd.h>

using namespace kivo;
using namespace kivo::testing;
using platform::Buttons;
using platform::Icon;

namespace {
const char* kDefaultsText = "The settings file does NOT exist in the program directory, or it is corrupted. A default "
                            "settings file will be created. Check the new settings in the Settings Menu before you "
                            "continue.";
}

class SettingsFile : public FileFixture {};

TEST_F(SettingsFile, MissingShortOrCorruptFileGivesDefaultsOnce)
{
    for (const std::string& content :
         {std::string("<none>"), std::string(), std::string(14, '\x01'), state::ToBytes(state::SettingsRec{})}) {
        dialogs.boxes.clear();
        std::filesystem::remove(settingsPath());
        if (content != "<none>")
            WriteAll(settingsPath(), content);
        s.Settings.CommPort = 3;
        files.OpenSettingsFile({}, {}, &memory);
        ExpectOneBox(kDefaultsText, "Open Settings File", Icon::Exclamation, Buttons::Ok);
        EXPECT_EQ(s.Settings, state::DefaultSettings());
        EXPECT_EQ(FileSize(settingsPath()), 1248);
        EXPECT_EQ(ReadAll(settingsPath()), state::ToBytes(state::DefaultSettings()));
    }
}

TEST_F(SettingsFile, AppliesStoredChoicesThroughTheMenuHandlersInOrder)
{
    state::SettingsRec st = state::DefaultSettings();
    st.CommPort = 4;
    st.CatRate = 2;
    st.ScanSpeed = 3;
    st.MeterSpeed = 5;
    st.PRISpeed = 1;
    st.DisplaySize = 0;
    st.DisplayStyle = 4;
    st.ColorDepth = 8;
    st.PauseInterval = 4;
    st.TuneOnStartup = 0;
    WriteAll(settingsPath(), state::ToBytes(st));
    std::vector<std::string> calls;
    state::SettingsMenuHandlers h;
    auto rec = [&](const char* name) { return [&calls, name](int v) { calls.push_back(name + std::to_string(v)); }; };
    h.commPort = rec("port");
    h.catRate = rec("rate");
    h.scanSpeed = rec("scan");
    h.meterSpeed = rec("meter");
    h.priSpeed = rec("pri");
    h.resizeDisplay = rec("display");
    h.pauseInterval = rec("pause");
    h.tuneOnStartup = [&](bool on) { calls.push_back(on ? "tune1" : "tune0"); };
    files.OpenSettingsFile(h, {}, &memory);
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(calls, (std::vector<std::string>{"port4", "rate2", "scan3", "meter5", "pri1", "display0", "display4",
                                               "display8", "pause4", "tune0"}));
    EXPECT_EQ(s.Settings, st);
}

TEST_F(SettingsFile, WindowOffTheScreenComesBackToTheCorner)
{
    const auto check = state::ScreenSizeCheck(1024, 768);
    for (auto [l, t, el, et] : {std::tuple{20000, 100, 0, 0}, std::tuple{-15, 300, 0, 0}, std::tuple{500, 11520, 0, 0},
                                std::tuple{15359, 11519, 15359, 11519}}) {
        state::SettingsRec st = state::DefaultSettings();
        st.FormLeft = l;
        st.FormTop = t;
        WriteAll(settingsPath(), state::ToBytes(st));
        files.OpenSettingsFile({}, check, &memory);
        EXPECT_EQ(s.Settings.FormLeft, el);
        EXPECT_EQ(s.Settings.FormTop, et);
    }
}

TEST_F(SettingsFile, UnreadableFileIsReportedAndLeftAlone)
{
    WriteAll(settingsPath(), "precious");
    fs.readErrors[settingsPath()] = EACCES;
    files.OpenSettingsFile({}, {}, &memory);
    ExpectOneBox("Error encountered while trying to open file FT817.KIVO. Permission denied.", "Open Settings File",
                 Icon::Exclamation, Buttons::Ok);
    EXPECT_EQ(ReadAll(settingsPath()), "precious");
    EXPECT_EQ(s.Settings.CommPort, 10) << "runs on the defaults";
}

TEST_F(SettingsFile, DirectoryInPlaceOfTheFile)
{
    std::filesystem::create_directory(settingsPath());
    files.OpenSettingsFile({}, {}, &memory);
    ExpectOneBox("Error encountered while trying to open file FT817.KIVO. Is a directory.", "Open Settings File",
                 Icon::Exclamation, Buttons::Ok);
    dialogs.boxes.clear();
    EXPECT_FALSE(files.SaveSettingsFile());
    ExpectOneBox("Error encountered while trying to save file FT817.KIVO.Is a directory.", "Save FT-817 Settings File",
                 Icon::Exclamation, Buttons::OkCancel);
}

TEST_F(SettingsFile, FailedSaveKeepsThePreviousFile)
{
    const std::string old = state::ToBytes(state::DefaultSettings());
    WriteAll(settingsPath(), old);
    fs.writeErrors[settingsPath()] = ENOSPC;
    s.Settings.CatRate = 2;
    dialogs.answers = {platform::Answer::Cancel};
    EXPECT_FALSE(files.SaveSettingsFile());
    ExpectOneBox("Error encountered while trying to save file FT817.KIVO.No space left on device.",
                 "Save FT-817 Settings File", Icon::Exclamation, Buttons::OkCancel);
    EXPECT_EQ(ReadAll(settingsPath()), old);
}

TEST_F(SettingsFile, OutOfRangeChoicesAreBroughtIntoRange)
{
    state::SettingsRec st = state::DefaultSettings();
    st.CommPort = 77;
    st.CatRate = -3;
    st.DialStep[0][0] = 0;
    st.ChannelStep[2][5] = -40;
    st.DialStep[1][8] = 99;
    WriteAll(settingsPath(), state::ToBytes(st));
    files.OpenSettingsFile({}, {}, &memory);
    EXPECT_EQ(s.Settings.CommPort, 10);
    EXPECT_EQ(s.Settings.CatRate, 1);
    EXPECT_EQ(s.Settings.DialStep[0][0], 1);
    EXPECT_EQ(s.Settings.ChannelStep[2][5], 500);
    EXPECT_EQ(s.Settings.DialStep[1][8], 0);
}

TEST_F(SettingsFile, LastMemoryFileIsReopenedAndAMissingOneNeverCreated)
{
    const std::string mem = dir / "Field Day.MEM";
    WriteAll(mem, "");
    state::SettingsRec st = state::DefaultSettings();
    st.LastMemFile.Assign(mem);
    WriteAll(settingsPath(), state::ToBytes(st));
    std::string title = "KIVO FT-817";
    memory.hooks.setTitle = [&](const std::string& t) { title = t; };
    files.OpenSettingsFile({}, {}, &memory);
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(title, "KIVO FT-817 (field day.mem)");
    EXPECT_TRUE(memory.IsOpen());

    // Moved away, or its folder gone: said, nothing created, plain title, the path kept.
    for (const std::string& gone : {dir / "moved.mem", dir / "gone/x.mem"}) {
        state::MemoryFile fresh{s, fs, dialogs};
        title = "KIVO FT-817";
        fresh.hooks.setTitle = [&](const std::string& t) { title = t; };
        dialogs.boxes.clear();
        st.LastMemFile.Assign(gone);
        WriteAll(settingsPath(), state::ToBytes(st));
        files.OpenSettingsFile({}, {}, &fresh);
        ExpectOneBox("The memory file " + gone +
                         " was not found. It may have been moved, renamed or deleted, or be on a drive that is not "
                         "connected. No memory file is open; use File > Open... to choose one.",
                     "Open Memory File", Icon::Exclamation, Buttons::Ok);
        EXPECT_NE(::access(gone.c_str(), F_OK), 0) << gone << " is not created";
        EXPECT_EQ(title, "KIVO FT-817");
        EXPECT_FALSE(fresh.IsOpen());
        EXPECT_EQ(s.Settings.LastMemFile.Text(), gone);
    }

    // There but unreadable: the open error, as before.
    dialogs.boxes.clear();
    fs.readErrors[mem] = EACCES;
    st.LastMemFile.Assign(mem);
    WriteAll(settingsPath(), state::ToBytes(st));
    files.OpenSettingsFile({}, {}, &memory);
    ExpectOneBox("Error encountered while trying to open file " + mem + ". Permission denied.", "Open Memory File",
                 Icon::Exclamation, Buttons::Ok);
    EXPECT_EQ(title, "KIVO FT-817 ()");
}
