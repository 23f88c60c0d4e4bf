#include "tests/support/PanelRig.h"

#include "platform/Version.h"
#include "state/Layout.h"

using namespace kivo;
using kivo::testing::F;

namespace {

class Power : public kivo::testing::PanelRig {};

using kivo::testing::FakeUnit;
using kivo::testing::kUsualPowerOn;

TEST_F(Power, StartUpWithNoFilesRunsOnDefaultsAndStaysDark)
{
    const double t0 = loop.Now();
    panel.Power().Load();
    EXPECT_GE(loop.Now() - t0, 2.0) << "the splash stays two seconds";
    // The project's version, each number with the leading blank of its text.
    EXPECT_EQ(window.version,
              panel::Power::VersionText(platform::kVersionMajor, platform::kVersionMinor, platform::kVersionPatch));
    EXPECT_EQ(panel::Power::VersionText(1, 0, 12), "Version  1. 0. 12");
    // The display size the settings give is applied under a busy pointer of its own.
    const std::vector<std::string> order{"splash", "busy", "busy", "idle", "move", "hide splash", "main", "idle"};
    EXPECT_EQ(window.calls, order);
    EXPECT_EQ(window.title, "KIVO FT-817");

    // Band data, settings and HOME files were all missing: each said so, and each was created.
    std::vector<std::string> titles;
    for (const auto& b : dialogs.boxes)
        titles.push_back(b.title);
    EXPECT_NE(std::find(titles.begin(), titles.end(), "Open Settings File"), titles.end());
    EXPECT_TRUE(kivo::testing::Exists(settingsPath()));
    EXPECT_TRUE(kivo::testing::Exists(bandPath()));
    EXPECT_TRUE(kivo::testing::Exists(homePath()));

    EXPECT_EQ(s.Settings.CommPort, 10);
    EXPECT_FALSE(s.PortReady);
    EXPECT_FALSE(s.CATOn);
    EXPECT_EQ(s.VFOMRMode, state::kModeVFO);
    EXPECT_EQ(s.VFOMB, s.BandData.BandVFOMB[s.BandData.LastBandMB]);
    EXPECT_EQ(s.VFOSB, s.VFOMB);
    EXPECT_EQ(display.Get("DisplayPanel").color, panel::kUnlitColor);
    EXPECT_FALSE(Shown("LMeter"));
    EXPECT_FALSE(Shown("ledFreq"));
    EXPECT_TRUE(port.GetWire().Frames().empty()) << "the radio is not contacted at start-up";
}

TEST_F(Power, PowerWithoutAPortIsRefusedAndSendsNothing)
{
    panel.Power().Load();
    dialogs.boxes.clear();
    panel.Power().PressPower();
    ExpectOneBox("Please select a new Serial Port in the Settings Menu. Either the current serial port is not "
                 "available to the KIVO software, or a serial port has not been selected yet.",
                 "SERIAL PORT ERROR", platform::Icon::Exclamation, platform::Buttons::Ok);
    EXPECT_FALSE(s.CATOn);
    EXPECT_TRUE(port.GetWire().Frames().empty());
}

TEST_F(Power, StoredWindowPositionIsUsedOnlyWhereAScreenIs)
{
    WriteUsualFiles();
    panel.Power().Load();
    EXPECT_EQ(window.calls[4], "move");
    EXPECT_EQ(window.left, 100) << "the stored 1500 twips";

    state::ModKIVO f;
    f.Settings.CommPort = 1;
    f.Settings.FormLeft = 60000; // a second monitor that is no longer there
    f.Settings.FormTop = 900;
    state::DataFiles(f, fs, dialogs, dir.path()).SaveSettingsFile();
    window.calls.clear();
    panel.Power().Load();
    EXPECT_EQ(window.calls[4], "centre");
}

TEST_F(Power, PowerOnSendsBothVFOsInOrderWithTheToggleBracketing)
{
    WriteUsualFiles();
    panel.Power().Load();
    ASSERT_TRUE(s.PortReady);
    dialogs.boxes.clear();
    std::vector<double> toggles;
    port.GetWire().onFrame = [&](const sim::ReceivedFrame& f) {
        if (std::uint8_t(f.bytes[4]) == 0x81)
            toggles.push_back(f.at);
    };
    const double t0 = loop.Now();
    panel.Power().PressPower();
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(TakeFrames(), kUsualPowerOn);
    ASSERT_EQ(toggles.size(), 2u);
    EXPECT_NEAR(toggles[0] - t0, 0.25, 1e-9);
    EXPECT_NEAR(toggles[1] - toggles[0], 0.50, 1e-9);
    EXPECT_NEAR(loop.Now() - t0, 1.0, 1e-9);

    // The simulator ends on VFO A with the main state, B with the sub state.
    EXPECT_FALSE(radio.OnB());
    EXPECT_EQ(radio.A().freq, 14520000u);
    EXPECT_EQ(radio.B().freq, 43310000u);
    EXPECT_EQ(radio.RptDir(), -1);
    EXPECT_EQ(radio.ToneMode(), 1);
    EXPECT_EQ(radio.CtcssTenthsHz(), 1000); // the sub VFO's tone went out last

    // The lit panel.
    EXPECT_TRUE(s.CATOn);
    EXPECT_EQ(display.Get("DisplayPanel").color, panel::kLit16BitColor);
    EXPECT_TRUE(Shown("LMeter"));
    EXPECT_EQ(display.Get("ledFreq").caption, "145.200.00");
    EXPECT_EQ(display.Get("ledSubFreq").caption, "433.100.00");
    EXPECT_TRUE(Shown("lblMBmode(5)"));
    EXPECT_TRUE(Shown("lblSBmode(5)"));
    EXPECT_TRUE(Shown("ImgRPTdirection(1)"));
    EXPECT_TRUE(Shown("lblMainENC"));
    EXPECT_EQ(s.TimerDelayTag, "OFF");
    EXPECT_TRUE(meter.TimerSignalMeter().Enabled());
    loop.Advance(1.2);
    // The meter poll's status reads, and its read of the radio's dial about once a second.
    for (const auto& f : TakeFrames())
        EXPECT_TRUE(f == F({0, 0, 0, 0, 0xE7}) || f == F({0, 0, 0, 0, 0x03})) << "only meter polls while idle";

    // Off and on again: everything goes out afresh except the DCS codes the radio already has.
    panel.Power().PressPower();
    EXPECT_FALSE(s.CATOn);
    TakeFrames();
    panel.Power().PressPower();
    auto second = kUsualPowerOn;
    second.erase(second.begin() + 6);
    EXPECT_EQ(TakeFrames(), second);
}

TEST_F(Power, PacedFramesAllReachARealisticRadio)
{
    WriteUsualFiles();
    panel.Power().Load();
    port.GetWire().SetOptions({}); // the radio as it is
    cat.SetFrameGap(0.1);
    panel.Power().PressPower();
    loop.Advance(0.5);
    const auto& frames = port.GetWire().Frames();
    ASSERT_GE(frames.size(), kUsualPowerOn.size());
    for (const auto& f : frames)
        EXPECT_TRUE(f.accepted) << sim::DescribeFrame(f.bytes);
    EXPECT_EQ(radio.A().freq, 14520000u);
    EXPECT_EQ(radio.A().mode, 0x08);
    EXPECT_EQ(radio.B().freq, 43310000u);
    EXPECT_EQ(radio.RptDir(), -1);
    EXPECT_EQ(radio.RptOffset(), 60000u);
    EXPECT_EQ(radio.ToneMode(), 1);
    EXPECT_EQ(radio.DcsCode(), 23);
    EXPECT_FALSE(radio.OnB());
}

TEST_F(Power, UnchangedStateSentTwiceSendsOnlyTheFrequencyTheSecondTime)
{
    WriteUsualFiles();
    panel.Power().Load();
    panel.Power().PressPower();
    TakeFrames();
    panel.VfoModel().SendInfoToRadioVFOMB(s.VFOMB);
    EXPECT_EQ(TakeFrames(), std::vector<std::string>{F({0x14, 0x52, 0x00, 0x00, 0x01})});
}

TEST_F(Power, TuneToRadioTakesBothOfTheRadiosVFOsBeforeSendingAnything)
{
    WriteUsualFiles(true);
    radio.A() = {14430000, 0x02};
    radio.B() = {5010000, 0x01};
    panel.Power().Load();
    ASSERT_TRUE(panel.Power().TuneOnStartup());
    panel.Power().PressPower();
    std::vector<std::string> frames;
    for (const auto& f : TakeFrames())
        if (f != F({0, 0, 0, 0, 0xE7})) // the meter polls between the reads
            frames.push_back(f);
    // The main VFO's read in CW takes the automatic shift's simplex with it.
    const std::vector<std::string> head{
        F({0, 0, 0, 0, 0x03}), F({0x02, 0, 0, 0, 0x07}), F({0x89, 0, 0, 0, 0x09}), F({0, 0, 0, 0, 0x81}),
        F({0, 0, 0, 0, 0x03}), F({0x01, 0, 0, 0, 0x07}), F({0, 0, 0, 0, 0x81}),
    };
    ASSERT_GE(frames.size(), head.size() + 2);
    EXPECT_EQ(std::vector<std::string>(frames.begin(), frames.begin() + 7), head);
    EXPECT_EQ(frames[8], F({0x14, 0x43, 0x00, 0x00, 0x01})) << "the radio's own frequency goes back to it";
    EXPECT_EQ(s.VFOMB.Freq, 14430000);
    EXPECT_EQ(s.VFOMB.Mode, 2);
    EXPECT_EQ(s.VFOSB.Freq, 5010000);
    EXPECT_EQ(s.VFOSB.Mode, 1);
    EXPECT_EQ(s.BandIdxMB, 1);
    EXPECT_EQ(s.BandIdxSB, state::BandOfFreq(5010000, 0));
    EXPECT_EQ(radio.A().freq, 14430000u);
    EXPECT_EQ(radio.B().freq, 5010000u);
}

TEST_F(Power, NoReplyToTheStartUpReadsSendsTheStoredStates)
{
    WriteUsualFiles(true);
    panel.Power().Load();
    for (int i = 0; i < 2; ++i)
        port.GetWire().InjectFault({sim::Fault::NoReply});
    panel.Power().PressPower();
    EXPECT_EQ(s.VFOMB.Freq, 14520000);
    EXPECT_EQ(radio.A().freq, 14520000u);
}

TEST_F(Power, PowerOffSavesBandDataSettingsAndHomeAndDarkensThePanel)
{
    WriteUsualFiles();
    panel.Power().Load();
    panel.Power().PressPower();
    s.VFOMB.Freq = 14560000;
    s.VFOMB.RptDir = -11;
    window.left = 200; // pixels: 3000 and 2400 twips in the file
    window.top = 160;
    panel.Tuning().PressFast();
    const int writes = fs.writes;
    panel.Power().PressPower();
    EXPECT_EQ(fs.writes - writes, 3);
    TakeFrames(); // the meter polls while lit

    state::ModKIVO back;
    state::DataFiles r(back, fs, dialogs, dir.path());
    r.OpenBandDataFile();
    r.OpenSettingsFile({}, {}, nullptr);
    EXPECT_EQ(back.BandData.BandVFOMB[1].Freq, 14560000);
    EXPECT_EQ(back.BandData.BandVFOMB[1].RptDir, 0) << "the split marker is not stored";
    EXPECT_EQ(s.VFOMB.RptDir, -11);
    EXPECT_EQ(back.BandData.BandVFOSB[0].Freq, 43310000);
    EXPECT_EQ(back.Settings.FormLeft, 3000);
    EXPECT_EQ(back.Settings.FormTop, 2400);

    EXPECT_FALSE(s.CATOn);
    EXPECT_EQ(display.Get("DisplayPanel").color, panel::kUnlitColor);
    for (const char* n : {"LMeter", "ledFreq", "ledSubFreq", "lblMBmode(5)", "lblSBmode(5)", "lblMainENC",
                          "ImgRPTdirection(1)", "lblBusy"})
        EXPECT_FALSE(Shown(n)) << n;
    EXPECT_EQ(display.Get("ledFAST").value, 0);
    EXPECT_FALSE(meter.TimerSignalMeter().Enabled());
    loop.Advance(2);
    EXPECT_TRUE(TakeFrames().empty()) << "the link is quiet";
    EXPECT_TRUE(Enabled("CATbutton"));
    EXPECT_FALSE(Enabled("SYNCbutton"));
    EXPECT_FALSE(Enabled("MainKnob"));
}

TEST_F(Power, PowerOffPressesTheKeysOfActiveFeaturesFirst)
{
    WriteUsualFiles();
    panel.Power().Load();
    panel.Power().PressPower();
    panel.Transmit().PressMox();
    ASSERT_TRUE(radio.Transmitting());
    std::vector<std::string> pressed;
    // The panel's own MOX, SCAN, CLAR, SUB and SPLIT are seen going off between the stand-ins' turns.
    bool mox = true, scan = true, clar = true, sub = true, split = true;
    const auto wentOff = [&](bool& was, bool now, const char* name) {
        if (was && !now)
            pressed.push_back(name);
        was = now;
    };
    const auto press = [&](const char* key) {
        wentOff(mox, s.Transmitting || radio.Transmitting(), "MOX");
        wentOff(scan, s.ScanArmed, "SCAN");
        wentOff(clar, s.ClarOn, "CLAR");
        wentOff(sub, s.SubSelected, "SUB");
        wentOff(split, s.SplitOn, "SPLIT");
        if (key)
            pressed.push_back(key);
    };
    // The panel's own PRI takes its place; switching it off re-enters the function, which would
    // end HOME and SPLIT out of turn in this state no key could reach, so it is tested on its own.
    FakeUnit pri{[&] {
        if (s.PRIOn)
            press("PRI");
    }};
    // The panel's own MCK takes its place; this one, added after it, sees it done.
    FakeUnit mck{[&] {
        if (!s.MCKOn)
            press("MCK");
    }};
    using O = panel::SwitchOffOrder;
    // Added in any order; the panel's own keys take their places among them.
    const std::pair<FakeUnit*, O> units[] = {{&mck, O::MCK}, {&pri, O::PRI}};
    for (const auto& [unit, order] : units)
        panel.Power().AddSwitchable(*unit, order);
    s.VFOMRMode = state::kModeMR; // HOME returns to MR: the memory unit's to do
    panel.BandMode().hooks.changeToMRfunction = [&] {
        press("HOME");
        s.HomeOn = false;
    };
    s.ScanArmed = s.ClarOn = s.MCKOn = s.SubSelected = s.HomeOn = s.SplitOn = true;
    panel.Power().PressPower();
    press(nullptr);
    const std::vector<std::string> order{"MOX", "SCAN", "CLAR", "MCK", "SUB", "HOME", "SPLIT"};
    EXPECT_EQ(pressed, order);
    EXPECT_FALSE(s.ScanArmed);
}

TEST_F(Power, ShutdownWithUnsavedMemories)
{
    WriteUsualFiles();
    panel.Power().Load();
    const std::string memPath = dir / "club.mem";
    s.MemData[4].VFO1.Freq = 14550000;
    s.MemChanged = true;

    // Cancel: nothing saved, the program runs on.
    const int writes = fs.writes;
    dialogs.answers = {platform::Answer::Cancel};
    EXPECT_FALSE(panel.Power().EndKIVO());
    EXPECT_EQ(fs.writes, writes);
    EXPECT_TRUE(s.MemChanged);
    EXPECT_EQ(dialogs.boxes.back().title, "Save File");
    EXPECT_EQ(dialogs.boxes.back().text,
              "You have made changes to memory. Would you like to save these changes before you exit?");
    EXPECT_EQ(dialogs.boxes.back().buttons, platform::Buttons::YesNoCancel);

    // Yes, but the disk is full: the error is shown and the program runs on with the edits.
    dialogs.answers = {platform::Answer::Yes};
    dialogs.files = {memPath};
    fs.writeErrors[memPath] = ENOSPC;
    dialogs.boxes.clear();
    EXPECT_FALSE(panel.Power().EndKIVO());
    EXPECT_TRUE(s.MemChanged);
    EXPECT_GE(dialogs.boxes.size(), 2u) << "the question, then the save error";
    EXPECT_FALSE(kivo::testing::Exists(memPath));

    // Yes: the file is written, then band data, settings and HOME.
    fs.writeErrors.clear();
    dialogs.answers = {platform::Answer::Yes};
    dialogs.files = {memPath};
    EXPECT_TRUE(panel.Power().EndKIVO());
    EXPECT_FALSE(s.MemChanged);
    EXPECT_EQ(kivo::testing::FileSize(memPath), 103000);
    EXPECT_EQ(window.title, "KIVO FT-817 (club.mem)");
}

TEST_F(Power, ShutdownAnsweredNoSavesTheDataFilesButNotTheMemories)
{
    WriteUsualFiles();
    panel.Power().Load();
    s.MemChanged = true;
    dialogs.answers = {platform::Answer::No};
    const int writes = fs.writes;
    EXPECT_TRUE(panel.Power().EndKIVO());
    EXPECT_EQ(fs.writes - writes, 3);
    EXPECT_EQ(dialogs.helpCloses, 1);
}

TEST_F(Power, ShutdownWhileLitPowersOffFirst)
{
    WriteUsualFiles();
    panel.Power().Load();
    panel.Power().PressPower();
    panel.Transmit().PressMox();
    ASSERT_TRUE(radio.Transmitting());
    EXPECT_TRUE(panel.Power().EndKIVO());
    EXPECT_FALSE(radio.Transmitting()) << "back to receive before the program ends";
    EXPECT_FALSE(s.Transmitting);
    EXPECT_FALSE(s.CATOn);
}

TEST_F(Power, SendFreqTimerFollowsTheTunedVFO)
{
    WriteUsualFiles();
    panel.Power().Load();
    panel.Power().PressPower();
    meter.TurnOffLMeter();
    TakeFrames();
    panel.Power().TimerSendFreq().SetEnabled(true);
    loop.Advance(1.0);
    EXPECT_EQ(TakeFrames().size(), 4u) << "four times a second";
    panel.VfoOperations().PressSub();
    TakeFrames();
    loop.Advance(0.25);
    EXPECT_EQ(TakeFrames(), std::vector<std::string>{F({0x43, 0x31, 0x00, 0x00, 0x01})});
}

TEST_F(Power, APortThatVanishesIsReportedOnceDarkensThePanelAndComesBack)
{
    WriteUsualFiles();
    panel.Power().Load();
    panel.Power().PressPower();
    dialogs.boxes.clear();
    loop.Advance(1.0);
    port.Vanish();
    loop.Advance(5.0);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].title, "SERIAL PORT ERROR");
    EXPECT_FALSE(s.CATOn);
    EXPECT_FALSE(s.PortReady);
    EXPECT_FALSE(port.IsOpen());

    // Still gone: POWER refuses as for any missing port.
    panel.Power().PressPower();
    EXPECT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_FALSE(s.CATOn);

    port.Reappear();
    TakeFrames();
    panel.Power().PressPower();
    EXPECT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_TRUE(s.CATOn);
    EXPECT_EQ(TakeFrames().size(), kUsualPowerOn.size() - 1);
}

TEST(VfoModel, RoundFreqToStep)
{
    EXPECT_EQ(panel::RoundFreqToStep(14543210, 500), 14543500);
    EXPECT_EQ(panel::RoundFreqToStep(14543210, -500), 14543000);
    EXPECT_EQ(panel::RoundFreqToStep(14543000, 1250), 14543750);
    EXPECT_EQ(panel::RoundFreqToStep(14543750, 1250), 14543750);
    EXPECT_EQ(panel::RoundFreqToStep(14543750, -1250), 14543750);
    EXPECT_EQ(panel::RoundFreqToStep(712345, 1), 712345);
    EXPECT_EQ(panel::RoundFreqToStep(712345, 10), 712350);
    EXPECT_EQ(panel::RoundFreqToStep(14500001, 625), 14500625);
    EXPECT_EQ(panel::RoundFreqToStep(14500001, -625), 14499750); // the grid runs down from 14.501 MHz
}

TEST_F(Power, SaveAndSwapThroughTheBandStore)
{
    WriteUsualFiles();
    panel.Power().Load();
    s.BandIdxMB = 1;
    s.BandIdxSB = 1;
    state::VFOInfo a{14500000, 5, 60000, 0, 0, 0, 0, 0};
    state::VFOInfo b{14480000, 5, 60000, 1, 2, 3, 4, 0};
    s.BandData.BandVFOMB[1] = a;
    s.BandData.BandVFOSB[1] = b;
    panel.VfoModel().SwapVFOMBSB();
    EXPECT_EQ(s.BandData.BandVFOMB[1], b);
    EXPECT_EQ(s.BandData.BandVFOSB[1], a);

    s.BandIdxSB = 0;
    s.BandData.BandVFOSB[0] = {43300000, 5, 0, 0, 0, 0, 0, 0};
    panel.VfoModel().SwapVFOMBSB();
    EXPECT_EQ(s.BandData.LastBandMB, 0);
    EXPECT_EQ(s.BandData.LastBandSB, 1);
    EXPECT_EQ(s.BandData.BandVFOMB[0].Freq, 43300000);
    EXPECT_EQ(s.BandData.BandVFOSB[1], b);
}

TEST_F(Power, EveryElementTheLogicSetsIsDeclared)
{
    WriteUsualFiles();
    panel.Power().Load();
    panel.Power().PressPower();
    panel.Tuning().PressFast();
    panel.Tuning().PressLock();
    panel.TuningSteps().Show();
    panel.TuningSteps().CANCEL();
    loop.Advance(1.0);
    panel.Power().PressPower();
    ASSERT_GT(display.All().size(), 100u);
    for (const auto& [name, element] : display.All())
        EXPECT_TRUE(el::IsDeclared(name)) << name;
}

} // namespace

TEST_F(Power, AnUnattendedEndSavesEverythingAndKeepsUnsavedMemoriesForTheNextStart)
{
    WriteUsualFiles();
    const std::string memPath = dir / "club.mem";
    state::MemRec kept;
    kept.VFO1.Freq = 14550000;
    kept.VFO1.Mode = 5;
    kivo::testing::WriteAll(memPath,
                            state::ToBytes(kept) + std::string(state::kMemFileSize - state::kMemRecSize, '\0'));
    memory.SetRecoveryFolder(dir.path());
    panel.Power().Load();
    ASSERT_TRUE(memory.OpenMemoryFile(memPath));
    panel.Power().PressPower();
    loop.Advance(1.0);
    TakeFrames();
    s.MemData[4].VFO1.Freq = 43350000;
    s.MemChanged = true;
    s.VFOMB.Freq = 14530000;

    // A signal at logout: no question can be asked.
    panel.Power().EndUnattended();
    const auto frames = TakeFrames();
    ASSERT_FALSE(frames.empty());
    EXPECT_EQ(frames.front(), F({0, 0, 0, 0, 0x88})) << "transmit off before anything else";
    EXPECT_FALSE(s.CATOn);
    EXPECT_EQ(kivo::testing::ReadAll(memPath).substr(4 * state::kMemRecSize, state::kMemRecSize),
              state::ToBytes(state::MemRec{}))
        << "the memory file stays as the user saved it";
    const std::string recovery = memPath + ".recovery";
    ASSERT_EQ(kivo::testing::ReadAll(recovery).size(), state::kMemFileSize);
    EXPECT_EQ(state::MemRecAt(kivo::testing::ReadAll(recovery), 4).VFO1.Freq, 43350000);
    state::ModKIVO saved;
    state::DataFiles reread(saved, fs, dialogs, dir.path());
    reread.OpenBandDataFile();
    EXPECT_EQ(saved.BandData.BandVFOMB[1].Freq, 14530000) << "band data saved";

    // The next start offers the changes back; they come back unsaved until saved.
    state::ModKIVO next;
    state::MemoryFile again(next, fs, dialogs);
    again.SetRecoveryFolder(dir.path());
    next.Settings.LastMemFile.Assign(memPath);
    dialogs.boxes.clear();
    dialogs.answers = {platform::Answer::Yes};
    again.OpenLastAtStartup();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].title, "Restore Memory Changes");
    EXPECT_EQ(dialogs.boxes[0].buttons, platform::Buttons::YesNo);
    EXPECT_EQ(next.MemData[4].VFO1.Freq, 43350000);
    EXPECT_EQ(next.MemData[0].VFO1.Freq, 14550000);
    EXPECT_EQ(next.MemCount, 2);
    EXPECT_TRUE(next.MemChanged);
    EXPECT_TRUE(kivo::testing::Exists(recovery)) << "kept until the changes are saved";
    ASSERT_TRUE(again.SaveCommand());
    EXPECT_FALSE(kivo::testing::Exists(recovery));
    EXPECT_EQ(state::MemRecAt(kivo::testing::ReadAll(memPath), 4).VFO1.Freq, 43350000);

    // Declined: the recovery file goes and the file's own memories stay.
    kivo::testing::WriteAll(recovery, std::string(state::kMemFileSize, '\0'));
    state::ModKIVO third;
    state::MemoryFile declined(third, fs, dialogs);
    third.Settings.LastMemFile.Assign(memPath);
    dialogs.answers = {platform::Answer::No};
    declined.OpenLastAtStartup();
    EXPECT_FALSE(kivo::testing::Exists(recovery));
    EXPECT_EQ(third.MemData[4].VFO1.Freq, 43350000);
    EXPECT_FALSE(third.MemChanged);
}
