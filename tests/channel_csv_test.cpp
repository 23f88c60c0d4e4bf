// Channel lists in comma-separated text: the fixed files in tests/data pin the format; rows the
// radio cannot take are refused one by one; the import and export commands over a file system
// that fails.

#include "memmgr/ChannelCsv.h"
#include "memmgr/ChannelFile.h"
#include "memmgr/Fields.h"
#include "tests/support/FileFixture.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

using namespace kivo;
using memmgr::Decimal;
using state::MemRec;

namespace {

using Memory = std::array<MemRec, state::kMemCount>;

std::string Data(const std::string& name) { return kivo::testing::ReadAll(std::string(KIVO_TEST_DATA) + "/" + name); }

MemRec Ch(state::Long freq, state::Integer mode, state::Integer band, const char* name)
{
    MemRec m;
    m.VFO1.Freq = freq;
    m.VFO1.Mode = mode;
    m.VFO1.CTCSSidx = 8;
    m.Band1 = band;
    m.Desc.Assign(name);
    return m;
}

// What tests/data/channels.csv holds, written from the format's rules.
Memory FixtureChannels()
{
    Memory m{};
    m[0] = Ch(14652000, 5, 1, "CALL 2M");
    m[1] = Ch(14523000, 5, 1, "W1AW RPT");
    m[1].VFO1.RptDir = -1;
    m[1].VFO1.RptOffset = 60000;
    m[1].VFO1.ToneMode = 1;
    m[2] = Ch(44210000, 5, 0, "Club, \"UHF\"");
    m[2].VFO1.RptDir = 1;
    m[2].VFO1.RptOffset = 500000;
    m[2].VFO1.ToneMode = 2;
    m[2].VFO1.CTCSSidx = 12; // 100.0 Hz
    m[3] = Ch(1407400, 1, 7, "FT8 20m");
    m[3].Skip = state::kTrue;
    m[4] = Ch(703000, 2, 9, "CW 40m");
    m[10] = Ch(703100, 3, 9, "CW reverse");
    m[11] = Ch(358000, 6, 10, "PSK 80m");
    m[12] = Ch(14580000, 5, 1, "ISS");
    m[12].VFO1.CTCSSidx = 0; // 67.0 Hz, kept though the row uses no tone
    m[12].Split = state::kTrue;
    m[12].VFO1.RptDir = -11;
    m[12].VFO2 = m[12].VFO1;
    m[12].VFO2.Freq = 43780000;
    m[12].VFO2.RptDir = 0;
    m[12].Band2 = 0;
    m[49] = Ch(44600625, 5, 0, "DCS simplex");
    m[49].VFO1.ToneMode = 3;
    m[49].VFO1.DCSidx = 103; // 754
    m[50] = Ch(5012500, 1, 2, "6m calling");
    m[120] = Ch(14439000, 7, 1, "APRS");
    m[500] = Ch(90900, 4, 11, "Broadcast AM");
    m[998] = Ch(2840000, 4, 3, "");
    m[999] = Ch(2850000, 0, 3, "Caf\xC3\xA9 \xC3\x9Ct\xC3\xB6");
    return m;
}

Memory Imported(const std::string& csv, std::vector<memmgr::ImportProblem>* problems = nullptr)
{
    Memory m{};
    const auto r = memmgr::ImportChannels(csv, m, state::DefaultBandData());
    EXPECT_EQ(r.fatal, "");
    for (const auto& c : r.channels)
        m[c.position] = c.rec;
    if (problems)
        *problems = r.problems;
    else
        EXPECT_EQ(memmgr::ProblemList(r.problems, 99), "");
    return m;
}

void ExpectSame(const Memory& got, const Memory& want)
{
    for (int p = 0; p < state::kMemCount; ++p)
        ASSERT_EQ(got[p], want[p]) << "position " << p;
}

TEST(ChannelCsv, TheCurrentFileReadsIntoItsChannelsAndIsWrittenBackByteForByte)
{
    ExpectSame(Imported(Data("channels.csv")), FixtureChannels());
    EXPECT_EQ(memmgr::ExportChannels(FixtureChannels()), Data("channels.csv"));
}

TEST(ChannelCsv, AnOlderFileWithoutThreeColumnsReadsTheSame)
{
    const Memory m = Imported(Data("channels-older.csv"));
    ExpectSame(m, FixtureChannels());
    EXPECT_EQ(memmgr::ExportChannels(m), Data("channels.csv")) << "written with the full current header";
}

TEST(ChannelCsv, ExportImportExportIsByteIdenticalOverEveryKindOfRecord)
{
    Memory m{};
    unsigned seed = 817;
    auto next = [&seed](unsigned n) { return (seed = seed * 1103515245u + 12345u) / 65536u % n; };
    const state::Long bases[] = {90900, 712500, 2840000, 5012500, 14500000, 43500000};
    for (int p = 0; p < state::kMemCount; p += 1 + int(next(2))) {
        MemRec& r = m[p];
        r.VFO1.Freq = bases[next(6)] + state::Long(next(5000));
        r.VFO1.Mode = state::Integer(next(8));
        r.VFO1.RptDir = state::Integer(int(next(3)) - 1);
        r.VFO1.RptOffset = state::Long(next(1000000)) - (p % 97 == 0 ? 2000000 : 0); // a stray negative too
        r.VFO1.ToneMode = state::Integer(next(4));
        r.VFO1.CTCSSidx = state::Integer(next(39));
        r.VFO1.DCSidx = state::Integer(next(104));
        r.Skip = state::Integer(next(3)) - 1;
        r.Desc.Assign(p % 5 == 0 ? "a, \"quoted\"\nname " + std::to_string(p) : "ch " + std::to_string(p));
        if (p % 7 == 0) {
            r.Split = state::kTrue;
            r.VFO2 = r.VFO1;
            r.VFO2.Freq = 43000000 + p;
        }
    }
    const std::string first = memmgr::ExportChannels(m);
    const std::string second = memmgr::ExportChannels(Imported(first));
    EXPECT_EQ(second, first);
}

TEST(ChannelCsv, RowsTheRadioCannotTakeAreRefusedWithTheirLineAndTheOthersTaken)
{
    const std::string head = "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,"
                             "DtcsPolarity,Mode,TStep,Skip,Comment\r\n";
    const std::string good = "7,good,145.500000,,0.000000,,88.5,88.5,023,NN,FM,5.00,,\r\n";
    struct Row {
        const char* name;
        std::string row;
        std::string why;
    };
    const Row rows[] = {
        {"mode", "1,x,145.500000,,0,,88.5,88.5,023,NN,WFM,5.00,,", "unknown mode \"WFM\""},
        {"coverage", "1,x,200.000000,,0,,88.5,88.5,023,NN,FM,5.00,,",
         "frequency 200.000000 MHz is outside the radio's coverage"},
        {"below coverage", "1,x,0.050000,,0,,88.5,88.5,023,NN,AM,5.00,,",
         "frequency 0.050000 MHz is outside the radio's coverage"},
        {"split transmit", "1,x,145.500000,split,600.000000,,88.5,88.5,023,NN,FM,5.00,,",
         "frequency 600.000000 MHz is outside the radio's coverage"},
        {"tone", "1,x,145.500000,,0,Tone,159.8,88.5,023,NN,FM,5.00,,",
         "tone 159.8 Hz is not one of the radio's CTCSS tones"},
        {"squelch tone", "1,x,145.500000,,0,TSQL,88.5,88.55,023,NN,FM,5.00,,",
         "tone 88.55 Hz is not one of the radio's CTCSS tones"},
        {"dcs", "1,x,145.500000,,0,DTCS,88.5,88.5,017,NN,FM,5.00,,",
         "DCS code 017 is not one of the radio's DCS codes"},
        {"polarity", "1,x,145.500000,,0,DTCS,88.5,88.5,023,RN,FM,5.00,,",
         "DCS polarity \"RN\" is not the radio's (NN)"},
        {"frequency number", "1,x,14x.5,,0,,88.5,88.5,023,NN,FM,5.00,,", "bad number \"14x.5\" in Frequency"},
        {"finer than 10 Hz", "1,x,145.500005,,0,,88.5,88.5,023,NN,FM,5.00,,",
         "frequency 145.500005 MHz is finer than the radio's 10 Hz steps"},
        {"offset number", "1,x,145.500000,-,-0.6,,88.5,88.5,023,NN,FM,5.00,,", "bad number \"-0.6\" in Offset"},
        {"tone number", "1,x,145.500000,,0,Tone,,88.5,023,NN,FM,5.00,,", "bad number \"\" in rToneFreq"},
        {"step number", "1,x,145.500000,,0,,88.5,88.5,023,NN,FM,fast,,", "bad number \"fast\" in TStep"},
        {"location number", "one,x,145.500000,,0,,88.5,88.5,023,NN,FM,5.00,,", "bad number \"one\" in Location"},
        {"location range", "1000,x,145.500000,,0,,88.5,88.5,023,NN,FM,5.00,,",
         "Location 1000 is not a memory position (0 to 999)"},
        {"location again", "7,x,145.500000,,0,,88.5,88.5,023,NN,FM,5.00,,", "Location 7 was given already on line 2"},
        {"duplex", "1,x,145.500000,off,0,,88.5,88.5,023,NN,FM,5.00,,", "unknown duplex \"off\""},
        {"tone mode", "1,x,145.500000,,0,Cross,88.5,88.5,023,NN,FM,5.00,,", "unknown tone mode \"Cross\""},
        {"skip", "1,x,145.500000,,0,,88.5,88.5,023,NN,FM,5.00,P,", "Skip \"P\" is neither blank nor S"},
        {"fields", "1,x,145.500000,,0,,88.5", "7 fields where the first line has 14"},
        {"cut in a quote", "1,\"x,145.500000", "the file ends inside a quoted field"},
    };
    for (const Row& r : rows) {
        std::vector<memmgr::ImportProblem> problems;
        const Memory m = Imported(head + good + r.row + "\r\n" + good.substr(0, 1) + "8" + good.substr(1), &problems);
        ASSERT_EQ(problems.size(), 1u) << r.name;
        EXPECT_EQ(problems[0].line, 3) << r.name;
        EXPECT_EQ(problems[0].text, r.why) << r.name;
        EXPECT_FALSE(m[1].Used()) << r.name << ": nothing of the row is kept";
        EXPECT_TRUE(m[7].Used()) << r.name;
        if (r.row.find('"') == std::string::npos) {
            EXPECT_TRUE(m[78].Used()) << r.name << ": the row after it is taken";
        }
    }
}

TEST(ChannelCsv, LenientWhereTheMeaningIsPlain)
{
    const std::string csv = "\xEF\xBB\xBF"
                            "location , MODE,Frequency,Name,Comment,Tone,rToneFreq\n"
                            "\n"
                            "5,nfm,145.5,,from the comment,,159.8\n"
                            ",,,,,,\n"
                            "6,usb,14.2,  lead,,,\n";
    const Memory m = Imported(csv);
    EXPECT_EQ(m[5].VFO1.Mode, 5) << "NFM is FM";
    EXPECT_EQ(m[5].VFO1.Freq, 14550000);
    EXPECT_EQ(m[5].Desc.Text(), "from the comment");
    EXPECT_EQ(m[5].VFO1.CTCSSidx, 8) << "an unused tone the radio lacks gives the default";
    EXPECT_EQ(m[6].VFO1.Mode, 1);
    EXPECT_EQ(m[6].Desc.Text(), "  lead");
}

TEST(ChannelCsv, AFileThatIsNoChannelListIsRefusedWhole)
{
    Memory m{};
    const auto bands = state::DefaultBandData();
    EXPECT_EQ(memmgr::ImportChannels("", m, bands).fatal, "the file is empty");
    EXPECT_EQ(memmgr::ImportChannels("\r\n \r\n", m, bands).fatal, "the file is empty");
    const auto r = memmgr::ImportChannels("Location,Name\r\n1,x\r\n", m, bands);
    EXPECT_EQ(r.fatal, "its first line names no Frequency, Mode column, so it is no channel list");
    EXPECT_TRUE(r.channels.empty());
}

TEST(ChannelCsv, APositionKeepsItsBankSelection)
{
    Memory m{};
    m[3].BankSel = state::kTrue;
    m[3].Desc.Assign("old");
    const auto r = memmgr::ImportChannels("Location,Frequency,Mode\r\n3,145.5,FM\r\n", m, state::DefaultBandData());
    ASSERT_EQ(r.channels.size(), 1u);
    EXPECT_EQ(r.channels[0].rec.BankSel, state::kTrue);
    EXPECT_EQ(r.channels[0].rec.Desc.Text(), "");
}

TEST(ChannelCsv, ProblemListNamesTheFirstAndCountsTheRest)
{
    const std::vector<memmgr::ImportProblem> p = {{3, "a"}, {4, "b"}, {9, "c"}};
    EXPECT_EQ(memmgr::ProblemList(p, 2), "line 3: a\nline 4: b\nand 1 more\n");
}

TEST(Fields, DecimalsReadAndWrittenInWholeUnits)
{
    struct Row {
        const char* text;
        int decimals;
        Decimal result;
        long long value;
    };
    for (const Row& r : {
             Row{"146.52", 6, Decimal::Ok, 146520000},
             Row{"146.520000", 6, Decimal::Ok, 146520000},
             Row{"0.909", 6, Decimal::Ok, 909000},
             Row{"88.5", 1, Decimal::Ok, 885},
             Row{"100", 1, Decimal::Ok, 1000},
             Row{"88.50", 1, Decimal::Ok, 885},
             Row{".5", 1, Decimal::Ok, 5},
             Row{"023", 0, Decimal::Ok, 23},
             Row{"88.55", 1, Decimal::TooFine, 885},
             Row{"", 6, Decimal::Bad, 0},
             Row{".", 6, Decimal::Bad, 0},
             Row{"-1", 6, Decimal::Bad, 0},
             Row{"1e3", 6, Decimal::Bad, 0},
             Row{"1.2.3", 6, Decimal::Bad, 0},
             Row{"1234567890", 0, Decimal::Bad, 0},
         }) {
        long long v = 0;
        EXPECT_EQ(memmgr::ParseDecimal(r.text, r.decimals, v), r.result) << r.text;
        if (r.result != Decimal::Bad) {
            EXPECT_EQ(v, r.value) << r.text;
        }
    }
    EXPECT_EQ(memmgr::FormatDecimal(146520000, 6), "146.520000");
    EXPECT_EQ(memmgr::FormatDecimal(909000, 6), "0.909000");
    EXPECT_EQ(memmgr::FormatDecimal(885, 1), "88.5");
    EXPECT_EQ(memmgr::FormatDecimal(-5, 2), "0.00");
}

class ChannelFileTest : public kivo::testing::FileFixture {
protected:
    memmgr::ChannelFile channels{s, fs, dialogs};
};

TEST_F(ChannelFileTest, ImportPlacesTheRowsMarksTheDatabaseChangedAndSaysWhatItTook)
{
    const std::string path = dir / "list.csv";
    kivo::testing::WriteAll(path, Data("channels.csv") +
                                      "7,bad,145.5,,0,,88.5,88.5,023,NN,023,Tone->Tone,WFM,5.00,,,,,,,\r\n");
    s.MemData[600] = Ch(14500000, 5, 1, "stays");
    s.MemCount = 1;
    dialogs.files.push_back(path);
    channels.Import();
    ExpectOneBox("Imported 14 channels from " + path + ". 1 row could not be taken:\nline 16: unknown mode \"WFM\"\n",
                 "Import Channels", platform::Icon::Exclamation, platform::Buttons::Ok);
    EXPECT_EQ(dialogs.fileFilters[0], "Channel List (*.csv)|*.csv|All Files (*.*)|*.*");
    EXPECT_EQ(s.MemData[12], FixtureChannels()[12]);
    EXPECT_TRUE(s.MemData[600].Used()) << "positions the file does not name stay";
    EXPECT_TRUE(s.MemChanged);
    EXPECT_EQ(s.MemCount, 15);
}

TEST_F(ChannelFileTest, AMissingOrUnreadableFileChangesNothingAndCreatesNothing)
{
    const std::string missing = dir / "none.csv";
    EXPECT_FALSE(channels.ImportFrom(missing));
    ExpectOneBox("Error encountered while trying to open file " + missing + ". No such file or directory.",
                 "Import Channels", platform::Icon::Exclamation, platform::Buttons::Ok);
    EXPECT_FALSE(kivo::testing::Exists(missing));

    const std::string unreadable = dir / "bad.csv";
    kivo::testing::WriteAll(unreadable, Data("channels.csv"));
    fs.readErrors[unreadable] = EIO;
    dialogs.boxes.clear();
    EXPECT_FALSE(channels.ImportFrom(unreadable));
    ExpectOneBox("Error encountered while trying to open file " + unreadable + ". Input/output error.",
                 "Import Channels", platform::Icon::Exclamation, platform::Buttons::Ok);
    EXPECT_FALSE(s.MemChanged);
    EXPECT_FALSE(s.MemData[0].Used());
}

TEST_F(ChannelFileTest, GarbageIsNoChannelList)
{
    const std::string path = dir / "garbage.csv";
    kivo::testing::WriteAll(path, std::string("\x00\x01\xFF\xFE garbage\n1,2,3\n", 19));
    EXPECT_FALSE(channels.ImportFrom(path));
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(
        dialogs.boxes[0].text.rfind("Nothing was imported from " + path + ": its first line names no Location", 0), 0u)
        << dialogs.boxes[0].text;
    EXPECT_FALSE(s.MemChanged);
}

TEST_F(ChannelFileTest, ExportWritesEveryUsedPositionAndSaysWhenTheDiskRefuses)
{
    const Memory fixture = FixtureChannels();
    std::copy(fixture.begin(), fixture.end(), s.MemData.begin());
    s.Settings.LastMemFile.Assign(dir / "club.mem");
    const std::string path = dir / "out.csv";
    dialogs.files.push_back(path);
    channels.Export();
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(kivo::testing::ReadAll(path), Data("channels.csv"));

    fs.writeErrors[path] = ENOSPC;
    EXPECT_FALSE(channels.ExportTo(path));
    ExpectOneBox("Error encountered while trying to save file " + path + ". No space left on device.",
                 "Export Channels", platform::Icon::Exclamation, platform::Buttons::Ok);
    EXPECT_EQ(kivo::testing::ReadAll(path), Data("channels.csv")) << "the earlier file is whole";
}

} // namespace
