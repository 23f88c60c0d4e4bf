#include "state/Layout.h"
#include "tests/support/FileFixture.h"

#include <cerrno>
#include <filesystem>

using namespace kivo;
using namespace kivo::testing;
using platform::Buttons;
using platform::Icon;

namespace {
const char* kBandDefaultsText = "The band information file does NOT exist in the program directory, or it is "
                                "corrupted. A default file will be created. The band information changes you make "
                                "during this session will be saved upon normal termination.";
}

class BandAndHomeFiles : public FileFixture {};

TEST_F(BandAndHomeFiles, FirstStartWritesDefaultsAndAnEmptyHomeFile)
{
    files.OpenBandDataFile();
    ExpectOneBox(kBandDefaultsText, "Open Band Info File", Icon::Exclamation, Buttons::Ok);
    EXPECT_EQ(FileSize(bandPath()), 1204);
    EXPECT_EQ(s.BandData, state::DefaultBandData());
    files.OpenHomeFile();
    EXPECT_EQ(FileSize(homePath()), 0);
    EXPECT_FALSE(s.HomeMem[0].Used());
    ASSERT_TRUE(files.SaveHomeFile());
    EXPECT_EQ(FileSize(homePath()), 1236);
    EXPECT_EQ(dialogs.boxes.size(), 1u);
}

TEST_F(BandAndHomeFiles, AnEditedBandLabelMeansDefaultsEverywhere)
{
    state::BandDataRec b = state::DefaultBandData();
    b.BandMHz[2] = 51;
    b.PMSLow[1] = 14450000;
    b.LastBandMB = 7;
    WriteAll(bandPath(), state::ToBytes(b));
    files.OpenBandDataFile();
    ExpectOneBox(std::string(kBandDefaultsText) + " The damaged file was kept as " + bandPath() + ".damaged.",
                 "Open Band Info File", Icon::Exclamation, Buttons::Ok);
    EXPECT_EQ(s.BandData.PMSLow[1], 14400000);
    EXPECT_EQ(s.BandData.LastBandMB, 3);
    EXPECT_EQ(ReadAll(bandPath()), state::ToBytes(state::DefaultBandData()));
    EXPECT_EQ(ReadAll(bandPath() + ".damaged"), state::ToBytes(b)) << "the user's file, byte for byte";

    // A second damaged file does not replace the first copy; when it cannot be kept, it is not
    // replaced either.
    dialogs.boxes.clear();
    WriteAll(bandPath(), "garbage");
    fs.writeErrors[bandPath() + ".damaged.2"] = EROFS;
    files.OpenBandDataFile();
    ExpectOneBox(std::string(kBandDefaultsText) + " The damaged file could not be kept as " + bandPath() +
                     ".damaged.2 (Read-only file system).",
                 "Open Band Info File", Icon::Exclamation, Buttons::Ok);
    EXPECT_EQ(ReadAll(bandPath()), "garbage");
    EXPECT_EQ(ReadAll(bandPath() + ".damaged"), state::ToBytes(b));
}

TEST_F(BandAndHomeFiles, ADamagedHomeFileIsKeptAndWhatCanBeReadIsUsed)
{
    state::MemRec a;
    a.VFO1.Freq = 43300000;
    a.VFO1.Mode = 5;
    const std::string cut = state::ToBytes(a) + std::string(50, 'x'); // one record and half of another
    WriteAll(homePath(), cut);
    files.OpenHomeFile();
    ExpectOneBox("The HOME memory file " + homePath() +
                     " is damaged. The HOME memories that could be read are used. The damaged file was kept as " +
                     homePath() + ".damaged.",
                 "Open HOME Memory File", Icon::Exclamation, Buttons::Ok);
    EXPECT_EQ(s.HomeMem[0], a);
    EXPECT_EQ(ReadAll(homePath() + ".damaged"), cut);

    // Whole records, however many, are a normal file.
    dialogs.boxes.clear();
    WriteAll(homePath(), state::ToBytes(a));
    files.OpenHomeFile();
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(BandAndHomeFiles, AShortFileWithTheRightLabelIsAcceptedWithZeros)
{
    WriteAll(bandPath(), state::ToBytes(state::DefaultBandData()).substr(0, 1000));
    files.OpenBandDataFile();
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(s.BandData.CoverHigh[10], 0);
    EXPECT_EQ(s.BandData.TuneLow[0], 0);
    EXPECT_EQ(s.BandData.LastBandMB, 0);
}

TEST_F(BandAndHomeFiles, DamagedValuesAreBroughtIntoRange)
{
    state::BandDataRec b = state::DefaultBandData();
    b.LastBandMB = 99;
    b.LastBandSB = -1;
    b.BandVFOMB[0].Mode = 12;
    b.BandVFOSB[3].CTCSSidx = 500;
    b.BandPMSVFO[4].DCSidx = -2;
    WriteAll(bandPath(), state::ToBytes(b));
    files.OpenBandDataFile();
    EXPECT_EQ(s.BandData.LastBandMB, 3);
    EXPECT_EQ(s.BandData.LastBandSB, 3);
    EXPECT_EQ(s.BandData.BandVFOMB[0].Mode, 1);
    EXPECT_EQ(s.BandData.BandVFOSB[3].CTCSSidx, 8);
    EXPECT_EQ(s.BandData.BandPMSVFO[4].DCSidx, 0);
}

TEST_F(BandAndHomeFiles, ErrorsCarryTheirTitlesAndKeepTheOldFiles)
{
    files.OpenBandDataFile();
    dialogs.boxes.clear();
    const std::string oldBand = ReadAll(bandPath());
    fs.readErrors[bandPath()] = EIO;
    files.OpenBandDataFile();
    ExpectOneBox("Error encountered while trying to open file BANDINFO.KIVO. Input/output error.",
                 "Open Band Info File", Icon::Exclamation, Buttons::Ok);
    dialogs.boxes.clear();
    fs.writeErrors[bandPath()] = EROFS;
    s.BandData.LastBandMB = 5;
    EXPECT_FALSE(files.SaveBandDataFile());
    ExpectOneBox("Error encountered while trying to save file BANDINFO.KIVO.Read-only file system.",
                 "Save Band Info File", Icon::Exclamation, Buttons::OkCancel);
    EXPECT_EQ(ReadAll(bandPath()), oldBand);

    dialogs.boxes.clear();
    fs.readErrors[homePath()] = EACCES;
    files.OpenHomeFile();
    ExpectOneBox("Error encountered while trying to open file HOMEMEM.KIVO. Permission denied.",
                 "Open HOME Memory File", Icon::Exclamation, Buttons::Ok);
    dialogs.boxes.clear();
    fs.writeErrors[homePath()] = ENOSPC;
    EXPECT_FALSE(files.SaveHomeFile());
    ExpectOneBox("Error encountered while trying to save file HOMEMEM.KIVO.No space left on device.",
                 "Save HOME Memory File", Icon::Exclamation, Buttons::OkCancel);
}

TEST_F(BandAndHomeFiles, HomeFileOf206BytesHoldsTwoBands)
{
    state::MemRec a;
    a.VFO1.Freq = 43300000;
    a.VFO1.Mode = 5;
    a.Desc.Assign("UHF home");
    state::MemRec b;
    b.VFO1.Freq = 14550000;
    b.Band1 = 1;
    WriteAll(homePath(), state::ToBytes(a) + state::ToBytes(b));
    files.OpenHomeFile();
    EXPECT_EQ(s.HomeMem[0], a);
    EXPECT_EQ(s.HomeMem[1], b);
    for (int i = 2; i < 12; ++i)
        EXPECT_FALSE(s.HomeMem[i].Used());
    ASSERT_TRUE(files.SaveHomeFile());
    const std::string saved = ReadAll(homePath());
    ASSERT_EQ(saved.size(), 1236u);
    EXPECT_EQ(saved.substr(0, 206), state::ToBytes(a) + state::ToBytes(b));
    EXPECT_EQ(saved.substr(206), std::string(1030, '\0'));
}

TEST_F(BandAndHomeFiles, WhatTheRadioIsOwedIsKeptUntilNothingIsAndBadLinesAreReported)
{
    const std::string path = dir / state::kRadioOwedFileName;
    using Owed = state::RadioOwed;
    // Each row: what is saved, then what a new start reads back.
    for (const Owed owed : {Owed{true, false, false}, Owed{false, true, true}, Owed{true, true, true}}) {
        ASSERT_TRUE(files.SaveRadioOwedFile(owed));
        EXPECT_EQ(files.OpenRadioOwedFile(), owed);
    }
    ASSERT_TRUE(files.SaveRadioOwedFile({}));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(files.OpenRadioOwedFile(), Owed{});
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(dialogs.boxes.empty());

    WriteAll(path, "split off\r\nVFO B\n");
    EXPECT_EQ(files.OpenRadioOwedFile(), (Owed{false, false, true}));
    ExpectOneBox("The file " + path +
                     " holds lines this program does not know; they are left out. What the radio is still owed since "
                     "its port was lost may not all be sent at POWER.",
                 "Open Radio Owed File", Icon::Exclamation, Buttons::Ok);
    dialogs.boxes.clear();
    fs.writeErrors[path] = ENOSPC;
    EXPECT_FALSE(files.SaveRadioOwedFile({false, true, true}));
    ExpectOneBox("What the radio is still owed since its port was lost could not be remembered in " + path +
                     " (No space left on device), so the next start cannot send it. On the radio itself: Press its "
                     "A/B key once. Switch its split off.",
                 "Save Radio Owed File", Icon::Exclamation, Buttons::Ok);
    // The user does it by hand: the older file would have the next start do part of it again.
    EXPECT_FALSE(std::filesystem::exists(path));
}
