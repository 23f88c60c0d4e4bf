#include "panel/TuningSteps.h"
#include "tests/support/PanelRig.h"

using namespace kivo;
using kivo::testing::F;
using state::Long;

namespace {

class Tuning : public kivo::testing::PanelRig {
protected:
    void SetUp() override
    {
        WriteUsualFiles();
        panel.Power().Load();
        panel.Power().PressPower();
        loop.Advance(0.5);
        SetFrames();
    }
    void SetFrames() { TakeFrames(); }
    // Set-frequency frames since the last call (meter polls left out).
    std::vector<std::string> FreqFrames()
    {
        std::vector<std::string> v;
        for (const auto& f : TakeFrames())
            if (std::uint8_t(f[4]) == 0x01)
                v.push_back(f);
        return v;
    }
    Long Low(int b) const { return s.BandData.TuneLow[b]; }
    Long High(int b) const { return s.BandData.TuneHigh[b]; }
    void Turn(int knob, Long& pos, int detents)
    {
        for (int i = 0; i < std::abs(detents); ++i) {
            pos += detents > 0 ? 1 : -1;
            if (knob == panel::kMainKnob)
                panel.Tuning().MainKnob_Change(pos);
            else if (knob == panel::kSubKnob)
                panel.Tuning().SubKnob_Change(pos);
            else
                panel.Tuning().ChannelKnob_Change(pos);
            loop.Advance(0.3); // slow enough for one frame per detent
        }
    }
};

TEST_F(Tuning, MainKnobSendsOneFramePerDetentByTheDialStep)
{
    s.Settings.DialStep[1][5] = 10;
    Long pos = 0;
    panel.Tuning().SetKnobPositions(0, 0, 0);
    panel.Tuning().SetupTuningKnob(panel::kMainKnob, panel::kGrab);
    EXPECT_EQ(panel.Tuning().KnobStep(), 10);
    EXPECT_FALSE(meter.TimerSignalMeter().Enabled()) << "the meter rests while tuning";
    panel.Power().TimerSendFreq().SetEnabled(false); // count only the detent frames here
    Turn(panel::kMainKnob, pos, 2);
    EXPECT_EQ(FreqFrames(),
              (std::vector<std::string>{F({0x14, 0x52, 0x00, 0x10, 0x01}), F({0x14, 0x52, 0x00, 0x20, 0x01})}));
    pos += 5; // a jump of several detents moves one step
    panel.Tuning().MainKnob_Change(pos);
    EXPECT_EQ(s.VFOMB.Freq, 14520030);
    EXPECT_EQ(display.Get("ledFreq").caption, "145.200.30");
    panel.Tuning().SetupTuningKnob(panel::kMainKnob, panel::kRelease);
    EXPECT_TRUE(meter.TimerSignalMeter().Enabled());

    panel.Tuning().PressFast();
    EXPECT_EQ(display.Get("ledFAST").value, 1);
    panel.Tuning().SetupTuningKnob(panel::kMainKnob, panel::kGrab);
    EXPECT_EQ(panel.Tuning().KnobStep(), 100);
    Turn(panel::kMainKnob, pos, -1);
    EXPECT_EQ(s.VFOMB.Freq, 14519930);
    panel.Tuning().SetupTuningKnob(panel::kMainKnob, panel::kRelease);
}

TEST_F(Tuning, StepsFollowTheTunedVFOsBandAndMode)
{
    s.Settings.DialStep[0][5] = 7;
    s.Settings.ChannelStep[0][5] = 1250;
    s.Settings.ChannelStep[1][5] = 2500;
    panel.Tuning().SetupTuningKnob(panel::kChannelKnob, panel::kGrab);
    EXPECT_EQ(panel.Tuning().KnobStep(), 2500);
    panel.Tuning().SetupTuningKnob(panel::kChannelKnob, panel::kRelease);
    s.SubSelected = true; // the sub VFO is on 70 cm
    panel.Tuning().SetupTuningKnob(panel::kMainKnob, panel::kGrab);
    EXPECT_EQ(panel.Tuning().KnobStep(), 7);
    panel.Tuning().SetupTuningKnob(panel::kMainKnob, panel::kRelease);
    panel.Tuning().SetupTuningKnob(panel::kChannelKnob, panel::kGrab);
    EXPECT_EQ(panel.Tuning().KnobStep(), 1250);
    Long pos = 0;
    panel.Tuning().SetKnobPositions(0, 0, 0);
    Turn(panel::kChannelKnob, pos, 1);
    EXPECT_EQ(s.VFOSB.Freq, 43311250);
    panel.Tuning().SetupTuningKnob(panel::kChannelKnob, panel::kRelease);
    EXPECT_EQ(FreqFrames().back(), F({0x43, 0x31, 0x12, 0x50, 0x01}));
    panel.Tuning().SetupTuningKnob(panel::kSubKnob, panel::kGrab);
    EXPECT_EQ(panel.Tuning().KnobStep(), 1);
    panel.Tuning().SetupTuningKnob(panel::kSubKnob, panel::kRelease);
}

TEST_F(Tuning, WrapAtTheBandsTuningLimits)
{
    Long pos = 0;
    panel.Tuning().SetKnobPositions(0, 0, 0);
    s.Settings.DialStep[1][5] = 100;
    s.VFOMB.Freq = High(1) - 50;
    panel.Tuning().SetupTuningKnob(panel::kMainKnob, panel::kGrab);
    Turn(panel::kMainKnob, pos, 1);
    EXPECT_EQ(s.VFOMB.Freq, Low(1) + 50) << "the main knob wraps modulo the band";
    Turn(panel::kMainKnob, pos, -1);
    EXPECT_EQ(s.VFOMB.Freq, High(1) - 50);
    panel.Tuning().SetupTuningKnob(panel::kMainKnob, panel::kRelease);

    s.VFOMB.Freq = High(1) - 300;
    panel.Tuning().SetupTuningKnob(panel::kChannelKnob, panel::kGrab); // 5 kHz in FM
    Turn(panel::kChannelKnob, pos, 1);
    EXPECT_EQ(s.VFOMB.Freq, Low(1)) << "the channel knob resets to the opposite limit";
    Turn(panel::kChannelKnob, pos, -1);
    EXPECT_EQ(s.VFOMB.Freq, High(1) - 500);
    panel.Tuning().SetupTuningKnob(panel::kChannelKnob, panel::kRelease);
}

TEST_F(Tuning, ChannelKnobRoundsOntoTheGrid)
{
    Long pos = 0;
    panel.Tuning().SetKnobPositions(0, 0, 0);
    s.VFOMB.Freq = 14520130;
    panel.Tuning().SetupTuningKnob(panel::kChannelKnob, panel::kGrab);
    Turn(panel::kChannelKnob, pos, 1);
    EXPECT_EQ(s.VFOMB.Freq, 14521000);
    Turn(panel::kChannelKnob, pos, -1);
    EXPECT_EQ(s.VFOMB.Freq, 14520500);
    panel.Tuning().SetupTuningKnob(panel::kChannelKnob, panel::kRelease);
}

TEST_F(Tuning, HeldKnobResendsEveryQuarterSecondAndOnceMore0_2sAfterRelease)
{
    Long pos = 0;
    panel.Tuning().SetKnobPositions(0, 0, 0);
    const double t0 = loop.Now();
    std::vector<double> at;
    port.GetWire().onFrame = [&](const sim::ReceivedFrame& f) {
        if (std::uint8_t(f.bytes[4]) == 0x01)
            at.push_back(f.at - t0);
    };
    panel.Tuning().SetupTuningKnob(panel::kMainKnob, panel::kGrab);
    panel.Tuning().MainKnob_Change(++pos);
    loop.Advance(1.0);
    panel.Tuning().SetupTuningKnob(panel::kMainKnob, panel::kRelease);
    const std::vector<double> expected{0.0, 0.25, 0.5, 0.75, 1.0, 1.2};
    ASSERT_EQ(at.size(), expected.size());
    for (std::size_t i = 0; i < at.size(); ++i)
        EXPECT_NEAR(at[i], expected[i], 1e-9) << i;
    loop.Advance(1.0);
    EXPECT_EQ(at.size(), expected.size()) << "the timer stops on release";
}

TEST_F(Tuning, LockRefusesTheKnobsAndTheJogKeys)
{
    panel.Tuning().PressLock();
    EXPECT_EQ(display.Get("ledLOCK").value, 1);
    for (const char* k : {"MainKnob", "SubKnob", "ChannelKnob", "btnJogUp", "btnJogDown"})
        EXPECT_FALSE(Enabled(k)) << k;
    EXPECT_TRUE(TakeFrames().size() <= 1) << "no command for LOCK (a meter poll at most)";
    panel.Tuning().PressLock();
    EXPECT_TRUE(Enabled("MainKnob"));
}

TEST_F(Tuning, SubKnobMovesTheClarifierWithinNineKilohertz)
{
    Long pos = 0;
    panel.Tuning().SetKnobPositions(0, 0, 0);
    const Long f0 = s.VFOMB.Freq;
    panel.Tuning().SetupTuningKnob(panel::kSubKnob, panel::kGrab);
    Turn(panel::kSubKnob, pos, 1);
    EXPECT_EQ(s.VFOMB.Freq, f0) << "no effect with CLAR off";
    s.ClarOn = true;
    s.VFOMB.ClarOffset = 997;
    Turn(panel::kSubKnob, pos, 5);
    EXPECT_EQ(s.VFOMB.ClarOffset, 999);
    EXPECT_EQ(s.VFOMB.Freq, f0 + 2);
    panel.Tuning().SetupTuningKnob(panel::kSubKnob, panel::kRelease);
}

TEST_F(Tuning, JogKeysStepTenKilohertzEvery200msAndWrap)
{
    const double t0 = loop.Now();
    std::vector<double> at;
    port.GetWire().onFrame = [&](const sim::ReceivedFrame& f) {
        if (std::uint8_t(f.bytes[4]) == 0x01)
            at.push_back(f.at - t0);
    };
    panel.Tuning().JogButton_Press(1);
    EXPECT_EQ(Enabled("SYNCbutton"), false) << "a held jog key leaves POWER and MOX";
    loop.Advance(0.65);
    EXPECT_EQ(s.VFOMB.Freq, 14520000 + 3 * 1000);
    panel.Tuning().JogButton_Release();
    EXPECT_TRUE(Enabled("SYNCbutton"));
    ASSERT_EQ(at.size(), 4u);
    EXPECT_NEAR(at[0], 0.2, 1e-9);
    EXPECT_NEAR(at[2], 0.6, 1e-9);
    EXPECT_NEAR(at[3], 0.85, 1e-9) << "0.2 s after the release";
    EXPECT_EQ(s.ScanDir, 0);

    s.VFOMB.Freq = Low(1) + 500;
    panel.Tuning().JogButton_Press(-1);
    loop.Advance(0.2);
    panel.Tuning().JogButton_Release();
    EXPECT_EQ(s.VFOMB.Freq, High(1) - 1000);
    panel.Tuning().PressFast();
    s.VFOMB.Freq = High(1) - 2000;
    panel.Tuning().JogButton_Press(1);
    loop.Advance(0.2);
    panel.Tuning().JogButton_Release();
    EXPECT_EQ(s.VFOMB.Freq, Low(1));
    panel.Tuning().JogButton_Press(-1);
    loop.Advance(0.2);
    panel.Tuning().JogButton_Release();
    EXPECT_EQ(s.VFOMB.Freq, High(1) - 10000);
}

TEST_F(Tuning, MhzKeysMoveOneMegahertzAndResetAtTheLimits)
{
    panel.Tuning().PressMhz(true);
    EXPECT_EQ(s.VFOMB.Freq, 14620000);
    EXPECT_EQ(FreqFrames(), std::vector<std::string>{F({0x14, 0x62, 0x00, 0x00, 0x01})});
    s.VFOMB.Freq = Low(1) + 50000;
    panel.Tuning().PressMhz(false);
    EXPECT_EQ(s.VFOMB.Freq, High(1)) << "exactly the top";
    panel.Tuning().PressMhz(true);
    EXPECT_EQ(s.VFOMB.Freq, Low(1));
    panel.Tuning().PressFast();
    s.VFOMB.Freq = 14520000;
    panel.Tuning().PressMhz(true);
    EXPECT_EQ(s.VFOMB.Freq, Low(1)) << "155.2 MHz is past the top of the band";

    bool entry = false;
    kivo::testing::FakeMhzEntry keypad{[&](bool up) { entry = up; }};
    panel.Tuning().SetMhzKeyEntry(&keypad);
    s.KeypadOn = true;
    const Long f = s.VFOMB.Freq;
    panel.Tuning().PressMhz(true);
    EXPECT_TRUE(entry);
    EXPECT_EQ(s.VFOMB.Freq, f);
}

TEST_F(Tuning, FastKnobNeverBuildsABacklogAndTheLastFrequencyArrives)
{
    port.GetWire().SetOptions({});          // the radio as it is
    cat.SetFrameGap(panel::kRadioFrameGap); // as the program runs
    Long pos = 0;
    panel.Tuning().SetKnobPositions(0, 0, 0);
    panel.Tuning().SetupTuningKnob(panel::kMainKnob, panel::kGrab);
    const int detents = 60;
    for (int i = 0; i < detents; ++i) {
        panel.Tuning().MainKnob_Change(++pos);
        loop.Advance(0.008); // a spun wheel: 125 detents a second
    }
    panel.Tuning().SetupTuningKnob(panel::kMainKnob, panel::kRelease);
    const auto frames = port.GetWire().Frames();
    int sets = 0;
    for (const auto& f : frames)
        if (std::uint8_t(f.bytes[4]) == 0x01)
            ++sets;
    EXPECT_LE(sets, detents / 4) << "paced to what the radio can take";
    for (std::size_t i = 1; i < frames.size(); ++i)
        EXPECT_GE(frames[i].at - frames[i - 1].at, 0.09 - 1e-9) << "frame " << i;
    EXPECT_EQ(s.VFOMB.Freq, 14520000 + detents);
    EXPECT_EQ(radio.A().freq, std::uint32_t(s.VFOMB.Freq)) << "the final frequency reached the radio";
    EXPECT_EQ(display.Get("ledFreq").caption, "145.200.60");
}

TEST_F(Tuning, TuningStepsDialog)
{
    panel::TuningSteps dlg(s, display);
    EXPECT_EQ(display.Get("frmTuningSteps").caption, "Tuning Steps");
    EXPECT_EQ(display.Get("fraSteps(3)").caption, "HF - MEM / VFO CH");
    EXPECT_EQ(display.Get("CHboxFM(0)").caption, "5 KHz|6.25 KHz|10 KHz|12.5 KHz|15 KHz|20 KHz|25 KHz");
    dlg.Show();
    EXPECT_TRUE(dlg.IsOpen());
    EXPECT_EQ(dlg.ValueOf("CHboxFM", 1), 500);
    EXPECT_EQ(dlg.ValueOf("CHboxSSB", 3), 250);
    EXPECT_EQ(dlg.ValueOf("VFObox", 5), 1);

    dlg.Select("CHboxFM", 3, 1); // "6.25 KHz"
    dlg.Select("VFObox", 3, 2);  // "1.0 KHz"
    dlg.SAVE();
    EXPECT_FALSE(dlg.IsOpen());
    for (int b = 3; b < 12; ++b) {
        EXPECT_EQ(s.Settings.ChannelStep[b][5], 625) << b;
        EXPECT_EQ(s.Settings.ChannelStep[b][7], 625) << b;
    }
    EXPECT_EQ(s.Settings.ChannelStep[2][5], 500);
    EXPECT_EQ(s.Settings.DialStep[0][0], 100);
    EXPECT_EQ(s.Settings.DialStep[11][6], 100);
    EXPECT_EQ(s.Settings.DialStep[11][5], 1);

    dlg.Show();
    dlg.DEFAULT();
    EXPECT_TRUE(dlg.IsOpen());
    EXPECT_EQ(s.Settings.ChannelStep[5][5], 500);
    EXPECT_EQ(dlg.ValueOf("CHboxFM", 3), 500);
    dlg.Select("CHboxAM", 0, 5);
    dlg.CANCEL();
    EXPECT_FALSE(dlg.IsOpen());
    EXPECT_EQ(s.Settings.ChannelStep[0][4], 500) << "CANCEL keeps the tables, defaults included";
    EXPECT_EQ(s.Settings.DialStep[0][0], 1);

    s.Settings.ChannelStep[1][5] = 777; // not in the list: the selection stays
    dlg.Select("CHboxFM", 1, 4);
    dlg.Show();
    EXPECT_EQ(dlg.ValueOf("CHboxFM", 1), 1500);
}

TEST(TuneLimits, AroundAndReset)
{
    const panel::TuneLimits lim{14400000, 14800000};
    struct Row {
        const char* what;
        Long got, want;
    };
    const Row rows[] = {
        {"inside stays", lim.Around(14500000), 14500000},
        {"around past the top", lim.Around(14800050), 14400050},
        {"around below the bottom", lim.Around(14399950), 14799950},
        {"far below comes into the band", lim.Around(5201522), 14401522},
        {"far above comes into the band", lim.Around(43310000), 14510000},
        {"reset at the top", lim.Reset(14800000, true, true, 0), 14400000},
        {"reset below the bottom", lim.Reset(14399000, true, true, 14799000), 14799000},
        {"upward move checks the top only", lim.Reset(10000000, true, false, 14799000), 10000000},
        {"downward move checks the bottom only", lim.Reset(15000000, false, true, 14799000), 15000000},
        {"inside stays on reset", lim.Reset(14500000, true, true, 0), 14500000},
    };
    for (const Row& r : rows)
        EXPECT_EQ(r.got, r.want) << r.what;
}

} // namespace
