#include "state/Layout.h"
#include "state/Sanitize.h"
#include "tests/support/FileFixture.h"

#include <cerrno>
#include <filesystem>

using namespace kivo;
using namespace kivo::testing;
using platform::Answer;
using platform::Buttons;
using platform::Icon;

namespace {
const char* kUpdateText = "The format of the KIVO FT-817 Memory Database has been recently updated. The Memory "
                          "Database that you just opened will be automatically updated to reflect these changes. To "
                          "complete the update process please save the new Memory Database before you exit KIVO.";

state::MemRec Channel(state::Long freq, state::Integer mode, const char* desc = "")
{
    state::MemRec m;
    m.VFO1.Freq = freq;
    m.VFO1.Mode = mode;
    m.VFO1.CTCSSidx = 8;
    m.Band1 = state::BandOfFreq(freq, 3);
    m.Desc.Assign(desc);
    return m;
}

std::string FileOf(const std::vector<state::MemRec>& recs)
{
    std::string b;
    for (const auto& r : recs)
        b += state::ToBytes(r);
    return b;
}
} // namespace

class MemoryFileTest : public FileFixture {
protected:
    std::string title;
    void SetUp() override
    {
        memory.hooks.setTitle = [this](const std::string& t) { title = t; };
    }
};

TEST_F(MemoryFileTest, FilesOfAnySizeLoadWholeRecordsAndZeros)
{
    const std::string rec = state::ToBytes(Channel(14520000, 5, "R1"));
    for (std::size_t size : {0u, 1u, 102u, 103u, 10300u, 103000u, 103001u}) {
        std::string bytes;
        while (bytes.size() < size)
            bytes += rec;
        bytes.resize(size);
        const auto path = dir / ("m" + std::to_string(size) + ".mem");
        WriteAll(path, bytes);
        s.MemData[999] = Channel(43300000, 5);
        ASSERT_TRUE(memory.OpenMemoryFile(path)) << size;
        EXPECT_TRUE(dialogs.boxes.empty()) << size;
        const int whole = static_cast<int>(std::min<std::size_t>(size / 103, 1000));
        const bool cut = size % 103 != 0 && size < 103000;
        // A cut record reads its missing bytes as zeros, and counts if what is left has a frequency.
        const auto tail =
            state::MemRecFromBytes(std::string_view(bytes).substr(std::min<std::size_t>(whole * 103, size)));
        EXPECT_EQ(s.MemCount, whole + (cut && tail.Used() ? 1 : 0)) << size;
        if (whole > 0) {
            EXPECT_EQ(s.MemData[whole - 1].Desc.Text(), "R1");
        }
        if (cut) {
            EXPECT_EQ(s.MemData[whole].VFO1.Freq, tail.VFO1.Freq) << size;
        }
        EXPECT_FALSE(s.MemData[999].Used() && whole < 1000) << size;
        ASSERT_TRUE(memory.SaveMemoryFile());
        EXPECT_EQ(FileSize(path), 103000) << size;
    }
}

TEST_F(MemoryFileTest, OldFormatIsUpdatedWithOneMessage)
{
    auto nine = Channel(14520000, 9);
    nine.VFO2.Mode = 9;
    WriteAll(dir / "old.mem", FileOf({Channel(700000, 4), nine, Channel(2830000, 7), Channel(1415000, 2)}));
    ASSERT_TRUE(memory.OpenMemoryFile(dir / "old.mem"));
    ExpectOneBox(kUpdateText, "Memory Database Update", Icon::Exclamation, Buttons::Ok);
    EXPECT_EQ(s.MemData[0].VFO1.Mode, 3);
    EXPECT_EQ(s.MemData[1].VFO1.Mode, 5);
    EXPECT_EQ(s.MemData[1].VFO2.Mode, 1) << "VFO2 is not remapped (9 is brought into range)";
    EXPECT_EQ(s.MemData[2].VFO1.Mode, 4);
    EXPECT_EQ(s.MemData[3].VFO1.Mode, 2);
    EXPECT_TRUE(s.MemChanged);
    // A modern file with modes 4..7 is left as it is.
    dialogs.boxes.clear();
    s.MemChanged = false;
    WriteAll(dir / "new.mem", FileOf({Channel(700000, 4), Channel(14520000, 7)}));
    ASSERT_TRUE(memory.OpenMemoryFile(dir / "new.mem"));
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(s.MemData[0].VFO1.Mode, 4);
    EXPECT_EQ(s.MemData[1].VFO1.Mode, 7);
    EXPECT_FALSE(s.MemChanged);
}

TEST_F(MemoryFileTest, OpenCommandClearsChangedAfterAnUpdate)
{
    WriteAll(dir / "old.mem", FileOf({Channel(14520000, 9)}));
    dialogs.files = {dir / "old.mem"};
    memory.Open();
    EXPECT_EQ(dialogs.fileFilters, (std::vector<std::string>{"Memory Data (*.MEM)|*.mem|All Files (*.*)|*.*"}));
    EXPECT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_FALSE(s.MemChanged);
    EXPECT_TRUE(memory.ExitQuestion()) << "no question asked";
    EXPECT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(title, "KIVO FT-817 (old.mem)");
}

TEST_F(MemoryFileTest, CountIgnoresDescriptionsWithoutFrequency)
{
    auto descOnly = Channel(0, 0, "note");
    WriteAll(dir / "c.mem", FileOf({Channel(14520000, 5), descOnly, Channel(700000, 0)}));
    ASSERT_TRUE(memory.OpenMemoryFile(dir / "c.mem"));
    EXPECT_EQ(s.MemCount, 2);
}

TEST_F(MemoryFileTest, SaveAsksForANameOnceThenWritesThere)
{
    s.MemData[5] = Channel(14520000, 5, "Club");
    s.MemChanged = true;
    dialogs.files = {dir / "Club.MEM"};
    EXPECT_TRUE(memory.SaveCommand());
    EXPECT_EQ(title, "KIVO FT-817 (club.mem)");
    EXPECT_FALSE(s.MemChanged);
    EXPECT_EQ(s.Settings.LastMemFile.Text(), dir / "Club.MEM");
    const std::string saved = ReadAll(dir / "Club.MEM");
    ASSERT_EQ(saved.size(), 103000u);
    EXPECT_EQ(saved.substr(5 * 103, 103), state::ToBytes(s.MemData[5]));
    EXPECT_EQ(saved.substr(0, 103), std::string(103, '\0'));
    s.MemData[6] = Channel(43300000, 5);
    EXPECT_TRUE(memory.SaveCommand());
    EXPECT_EQ(dialogs.fileFilters.size(), 1u) << "the second Save does not ask";
    EXPECT_EQ(ReadAll(dir / "Club.MEM").substr(6 * 103, 103), state::ToBytes(s.MemData[6]));
}

TEST_F(MemoryFileTest, CancelledDialogsChangeNothing)
{
    s.MemChanged = true;
    EXPECT_FALSE(memory.SaveCommand());
    memory.SaveAs();
    EXPECT_TRUE(s.MemChanged);
    EXPECT_EQ(title, "");
    // Yes to the question, then cancel the save dialog: the whole New is abandoned.
    s.MemData[1] = Channel(14520000, 5);
    dialogs.answers = {Answer::Yes};
    memory.New();
    EXPECT_TRUE(s.MemData[1].Used());
    EXPECT_TRUE(s.MemChanged);
}

TEST_F(MemoryFileTest, NewAsksAndEmpties)
{
    s.MemData[3] = Channel(14520000, 5);
    s.MemCount = 1;
    s.CurMemPos = 3;
    s.MemChanged = true;
    dialogs.answers = {Answer::Cancel};
    memory.New();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Save current memory file  before creating a new file?");
    EXPECT_EQ(dialogs.boxes[0].title, "New File");
    EXPECT_EQ(dialogs.boxes[0].icon, Icon::Question);
    EXPECT_EQ(dialogs.boxes[0].buttons, Buttons::YesNoCancel);
    EXPECT_TRUE(s.MemData[3].Used());

    int toVfo = 0;
    memory.hooks.changeToVFOfunction = [&] { ++toVfo; };
    s.VFOMRMode = state::kModeMR;
    dialogs.answers = {Answer::No};
    memory.New();
    EXPECT_FALSE(s.MemData[3].Used());
    EXPECT_EQ(s.MemCount, 0);
    EXPECT_EQ(s.CurMemPos, 0);
    EXPECT_FALSE(s.MemChanged);
    EXPECT_EQ(title, "KIVO FT-817 (untitled)");
    EXPECT_EQ(toVfo, 1);
    EXPECT_EQ(s.Settings.LastMemFile.Text(), "");
    // The next question names the file.
    s.MemChanged = true;
    dialogs.answers = {Answer::Cancel};
    memory.Open();
    EXPECT_EQ(dialogs.boxes.back().text, "Save current memory file untitled before opening a new file?");
    EXPECT_EQ(dialogs.boxes.back().title, "Open File");
}

TEST_F(MemoryFileTest, OpenInMemoryModeShowsTheNextUsedChannel)
{
    WriteAll(dir / "a.mem", FileOf({Channel(14520000, 5)}));
    std::vector<std::string> calls;
    memory.hooks.turnOffLMeter = [&] { calls.push_back("off"); };
    memory.hooks.changeMemory = [&](int d) { calls.push_back("change" + std::to_string(d)); };
    memory.hooks.turnOnLMeter = [&] { calls.push_back("on"); };
    s.VFOMRMode = state::kModeMR;
    s.CurMemPos = 4;
    dialogs.files = {dir / "a.mem"};
    memory.Open();
    EXPECT_EQ(calls, (std::vector<std::string>{"off", "change1", "on"}));
    EXPECT_EQ(s.CurMemPos, 3);
}

TEST_F(MemoryFileTest, AFailedSaveKeepsTheOldFileAndTheUnsavedMark)
{
    WriteAll(dir / "a.mem", FileOf({Channel(14520000, 5)}));
    ASSERT_TRUE(memory.OpenMemoryFile(dir / "a.mem"));
    const std::string before = ReadAll(dir / "a.mem");
    s.MemData[0] = Channel(43300000, 5);
    s.MemChanged = true;
    fs.writeErrors[dir / "a.mem"] = ENOSPC;
    EXPECT_FALSE(memory.SaveCommand());
    ExpectOneBox("Error encountered while trying to save file " + (dir / "a.mem"), "Save Memory File",
                 Icon::Exclamation, Buttons::OkCancel);
    EXPECT_TRUE(s.MemChanged);
    EXPECT_EQ(ReadAll(dir / "a.mem"), before);
    // The exit question's Yes does not end the program on top of the failure.
    dialogs.boxes.clear();
    dialogs.answers = {Answer::Yes};
    EXPECT_FALSE(memory.ExitQuestion());
    EXPECT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[0].title, "Save File");
    EXPECT_EQ(dialogs.boxes[0].text,
              "You have made changes to memory. Would you like to save these changes before you exit?");
    EXPECT_TRUE(s.MemChanged);
    // Save As to a folder that is gone keeps the old file current.
    dialogs.files = {dir / "nowhere/b.mem"};
    memory.SaveAs();
    EXPECT_EQ(memory.CurrentPath(), dir / "a.mem");
    EXPECT_TRUE(s.MemChanged);
}

TEST_F(MemoryFileTest, ExitQuestionAnswers)
{
    s.MemChanged = true;
    dialogs.answers = {Answer::Cancel};
    EXPECT_FALSE(memory.ExitQuestion());
    dialogs.answers = {Answer::No};
    EXPECT_TRUE(memory.ExitQuestion());
    EXPECT_TRUE(s.MemChanged);
    dialogs.answers = {Answer::Yes};
    dialogs.files = {dir / "exit.mem"};
    EXPECT_TRUE(memory.ExitQuestion());
    EXPECT_FALSE(s.MemChanged);
    EXPECT_EQ(FileSize(dir / "exit.mem"), 103000);
}

TEST_F(MemoryFileTest, APathTooLongForTheSettingsIsUsedButNotKept)
{
    std::string deep = dir.path();
    while (deep.size() < 300)
        deep += "/folder-with-a-long-name";
    std::filesystem::create_directories(deep);
    const std::string path = deep + "/log.mem";
    dialogs.files = {path};
    s.MemChanged = true;
    EXPECT_TRUE(memory.SaveCommand());
    EXPECT_EQ(FileSize(path), 103000) << "saved in full";
    EXPECT_EQ(s.Settings.LastMemFile.Text(), "") << "no cut path in the settings";
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].title, "Memory File Path");
    EXPECT_TRUE(memory.SaveCommand());
    dialogs.files = {path};
    memory.Open();
    EXPECT_EQ(dialogs.boxes.size(), 1u) << "told once";
    EXPECT_EQ(memory.CurrentPath(), path);
}

TEST_F(MemoryFileTest, ReadErrorsKeepWhatWasReadAndSayWhy)
{
    WriteAll(dir / "a.mem", FileOf({Channel(14520000, 5), Channel(43300000, 5), Channel(700000, 0)}));
    fs.readCutAt[dir / "a.mem"] = 250;
    EXPECT_FALSE(memory.OpenMemoryFile(dir / "a.mem"));
    ExpectOneBox("Error encountered while trying to open file " + (dir / "a.mem") + ". Input/output error.",
                 "Open Memory File", Icon::Exclamation, Buttons::Ok);
    EXPECT_TRUE(s.MemData[1].Used());
    EXPECT_EQ(s.MemCount, 2);
    EXPECT_FALSE(memory.IsOpen());

    dialogs.boxes.clear();
    std::filesystem::create_directory(dir / "d.mem");
    EXPECT_FALSE(memory.OpenMemoryFile(dir / "d.mem"));
    ExpectOneBox("Error encountered while trying to open file " + (dir / "d.mem") + ". Is a directory.",
                 "Open Memory File", Icon::Exclamation, Buttons::Ok);
}

TEST_F(MemoryFileTest, RecordsRoundTripByteForByte)
{
    std::string bytes;
    for (int p = 0; p < 1000; ++p) {
        auto m = Channel(14400000 + p * 1250, static_cast<state::Integer>(p % 8), "Chan");
        m.VFO2.Freq = m.VFO1.Freq + 60000;
        m.Split = p % 2 ? -1 : 0;
        m.BankSel = p % 3 ? -1 : 0;
        m.Skip = p % 5 ? 0 : -1;
        m.Band2 = 1;
        bytes += state::ToBytes(m);
    }
    WriteAll(dir / "full.mem", bytes);
    ASSERT_TRUE(memory.OpenMemoryFile(dir / "full.mem"));
    ASSERT_TRUE(memory.SaveMemoryFile());
    EXPECT_EQ(ReadAll(dir / "full.mem"), bytes);
}
