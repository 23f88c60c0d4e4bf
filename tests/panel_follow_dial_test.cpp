#include "tests/support/PanelRig.h"

#include <iostream>

using namespace kivo;
using kivo::testing::F;
using state::Long;

namespace {

constexpr int kFastestMeter = 5; // Meter Update entry of 100 ms

// The usual files, lit, the meter at its fastest: the main VFO on 145.200 FM with minus shift
// and a tone (band 1), the sub VFO on 433.100 FM (band 0). The radio's VFO A is current.
class FollowDial : public kivo::testing::PanelRig {
protected:
    void SetUp() override { StartLit(kFastestMeter); }
    // Frames other than the meter's status reads and the dial's reads: what the panel set.
    std::vector<std::string> TakeSets()
    {
        std::vector<std::string> v;
        for (auto& f : TakeFrames())
            if (std::uint8_t(f[4]) != 0xE7 && std::uint8_t(f[4]) != 0x03)
                v.push_back(std::move(f));
        return v;
    }
    int CountReads()
    {
        int n = 0;
        for (const auto& f : TakeFrames())
            n += std::uint8_t(f[4]) == 0x03;
        return n;
    }
    std::string Caption(const std::string& n) const { return display.Get(n).caption; }
};

TEST_F(FollowDial, IsOnByDefaultWithItsMenuChecked)
{
    EXPECT_TRUE(panel.DialFollower().Following());
    EXPECT_TRUE(display.Get("mnuSettingsArray(15)").checked);
}

TEST_F(FollowDial, TheRadiosKnobIsShownAndCachedWithinOneAndAHalfSeconds)
{
    radio.A().freq = 14530000;
    loop.Advance(1.5);
    EXPECT_EQ(s.VFOMB.Freq, 14530000);
    EXPECT_EQ(Caption("ledFreq"), "145.300.00");
    EXPECT_EQ(s.BandIdxMB, 1);
    EXPECT_EQ(s.BandData.BandVFOMB[1].Freq, 14530000); // the band store holds it
    EXPECT_EQ(cat.LastInfo.MB.Mode, 5);
    EXPECT_TRUE(TakeSets().empty()); // nothing sent because of it
    EXPECT_EQ(radio.A().freq, 14530000u);
}

TEST_F(FollowDial, TheRadiosModeKeyIsShownAndCached)
{
    radio.A().mode = 0x01; // USB
    loop.Advance(1.5);
    EXPECT_EQ(s.VFOMB.Mode, 1);
    EXPECT_EQ(cat.LastInfo.MB.Mode, 1);
    EXPECT_TRUE(Shown("lblMBmode(1)"));
    EXPECT_FALSE(Shown("lblMBmode(5)"));
    EXPECT_TRUE(TakeSets().empty());
    EXPECT_EQ(radio.A().mode, 0x01);
}

TEST_F(FollowDial, AnotherBandSwitchesTheBandKeepingTheOldBandsState)
{
    const state::VFOInfo old = s.VFOMB;
    radio.A().freq = 5012500; // 50.125 MHz
    radio.A().mode = 0x01;
    loop.Advance(1.5);
    EXPECT_EQ(s.BandIdxMB, 2);
    EXPECT_EQ(s.VFOMB.Freq, 5012500);
    EXPECT_EQ(s.VFOMB.Mode, 1);
    EXPECT_EQ(Caption("ledFreq"), "50.125.00");
    EXPECT_EQ(s.BandData.LastBandMB, 2);
    EXPECT_EQ(s.BandData.BandVFOMB[2].Freq, 5012500);
    EXPECT_EQ(s.BandData.BandVFOMB[1].Freq, old.Freq);
    EXPECT_EQ(s.BandData.BandVFOMB[1].Mode, old.Mode);
    EXPECT_EQ(s.BandData.BandVFOMB[1].CTCSSidx, old.CTCSSidx);
    // The radio stays where its knob put it.
    EXPECT_EQ(radio.A().freq, 5012500u);
    EXPECT_EQ(radio.A().mode, 0x01);
}

TEST_F(FollowDial, NotTakenWhileThePanelChangesTheRadio)
{
    struct Row {
        const char* name;
        std::function<void(bool)> set;
    } const rows[] = {
        {"scan",
         [this](bool on) {
             s.ScanArmed = on;
             s.ScanDir = on ? 1 : 0;
         }},
        {"search", [this](bool on) { s.SearchOn = on; }},
        {"priority check", [this](bool on) { s.PRIOn = on; }},
        {"scope sweep", [this](bool on) { s.ScanDir = on ? -1 : 0; }},
        {"keypad entry", [this](bool on) { s.KeypadOn = on; }},
        {"transmitting", [this](bool on) { s.Transmitting = on; }},
        {"jog key held", [this](bool on) { s.JogHeld = on; }},
    };
    Long freq = 14530000;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        r.set(true);
        TakeFrames();
        freq += 1000;
        radio.A().freq = std::uint32_t(freq);
        loop.Advance(2);
        EXPECT_NE(s.VFOMB.Freq, freq);
        EXPECT_EQ(CountReads(), 0);
        r.set(false);
        loop.Advance(1.5); // and taken once the panel is done
        EXPECT_EQ(s.VFOMB.Freq, freq);
    }
}

TEST_F(FollowDial, NotTakenDuringAKnobTurn)
{
    panel.Tuning().SetupTuningKnob(panel::kMainKnob, panel::kGrab);
    TakeFrames();
    radio.A().freq = 14530000;
    loop.Advance(0.1); // the radio's knob, before the panel's resend
    panel.Tuning().MainKnob_Change(1);
    const Long turned = s.VFOMB.Freq;
    ASSERT_NE(turned, 14520000);
    loop.Advance(2);
    EXPECT_EQ(CountReads(), 0);
    EXPECT_EQ(s.VFOMB.Freq, turned); // the panel's knob wins
    panel.Tuning().SetupTuningKnob(panel::kMainKnob, panel::kRelease);
    loop.Advance(2);
    EXPECT_EQ(s.VFOMB.Freq, turned);
    EXPECT_EQ(radio.A().freq, std::uint32_t(turned));
}

TEST_F(FollowDial, NotTakenWhileTheRadiosOtherVfoIsCurrent)
{
    // A sequence bracketed by two toggles, left half done: the radio's VFO B (433.100) is current.
    cat.ToggleVFOAB();
    ASSERT_TRUE(radio.OnB());
    TakeFrames();
    loop.Advance(2);
    EXPECT_EQ(CountReads(), 0);
    EXPECT_EQ(s.VFOMB.Freq, 14520000);
    cat.ToggleVFOAB();
    radio.A().freq = 14530000;
    loop.Advance(1.5);
    EXPECT_EQ(s.VFOMB.Freq, 14530000);
}

TEST_F(FollowDial, NotTakenDuringASplitToggleSequence)
{
    // Each pause of the sequence runs the meter poll; a read then would answer from VFO B.
    s.VFOSB.Freq = 43320000;
    radio.B().freq = 43320000;
    for (int i = 0; i < 4; ++i) {
        panel.Split().PressSplit();
        loop.Advance(0.3);
    }
    loop.Advance(1.5);
    EXPECT_EQ(s.VFOMB.Freq, 14520000);
    EXPECT_EQ(s.BandIdxMB, 1);
    EXPECT_FALSE(radio.OnB());
}

TEST_F(FollowDial, AStaleReadingIsDroppedWhenThePanelSentMeanwhile)
{
    // The radio's knob moves; the read goes out, and the panel's MHz key changes the radio
    // before the read's answer is taken: that answer is stale.
    radio.A().freq = 14530000;
    TakeFrames();
    for (int i = 0; i < 40 && CountReads() == 0; ++i)
        loop.Advance(0.05);
    ASSERT_EQ(s.VFOMB.Freq, 14520000);
    panel.Tuning().PressMhz(true);
    loop.Advance(0.3);
    EXPECT_EQ(s.VFOMB.Freq, 14620000);
}

TEST_F(FollowDial, InMemoryModeTheRadiosKnobEntersTheVfoFunction)
{
    s.MemData[3].VFO1 = {14550000, 5, 60000, -1, 1, 8, 0, 0};
    s.MemData[3].Band1 = 1;
    s.MemCount = 1;
    s.CurMemPos = 3;
    panel.Memories().PressVfoMr();
    ASSERT_EQ(s.VFOMRMode, state::kModeMR);
    loop.Advance(1.5);
    EXPECT_EQ(s.VFOMRMode, state::kModeMR); // the memory's own frequency is no change
    radio.A().freq = 14556000;
    loop.Advance(1.5);
    EXPECT_EQ(s.VFOMRMode, state::kModeVFO);
    EXPECT_EQ(s.VFOMB.Freq, 14556000);
    EXPECT_EQ(Caption("ledFreq"), "145.560.00");
    EXPECT_FALSE(Shown("ledMRnumber"));
    EXPECT_EQ(radio.A().freq, 14556000u); // entering the VFO function leaves the radio there
}

TEST_F(FollowDial, TurnedOffNothingIsRead)
{
    panel.DialFollower().ToggleFollowDial();
    EXPECT_FALSE(display.Get("mnuSettingsArray(15)").checked);
    TakeFrames();
    radio.A().freq = 14530000;
    loop.Advance(3);
    EXPECT_EQ(CountReads(), 0);
    EXPECT_EQ(s.VFOMB.Freq, 14520000);
}

TEST(FollowDialOption, RoundTripsThroughItsLine)
{
    EXPECT_FALSE(panel::ParseFollowDialOption(panel::FollowDialOptionText(false)));
    EXPECT_TRUE(panel::ParseFollowDialOption(panel::FollowDialOptionText(true)));
    EXPECT_TRUE(panel::ParseFollowDialOption(""));
    EXPECT_FALSE(panel::ParseFollowDialOption("Other=1\r\nFollowRadioDial=0\r\n"));
}

// At the fastest meter setting, with the real frame gap, the meter still reads at least four
// times a second while the dial is followed.
TEST_F(FollowDial, MeterReadingsPerSecondAtTheFastestSetting)
{
    cat.SetFrameGap(panel::kRadioFrameGap);
    constexpr double kSeconds = 20;
    const auto measure = [this](int& reads) {
        TakeFrames();
        loop.Advance(kSeconds);
        int status = 0;
        reads = 0;
        for (const auto& f : TakeFrames()) {
            status += std::uint8_t(f[4]) == 0xE7;
            reads += std::uint8_t(f[4]) == 0x03;
        }
        return status / kSeconds;
    };
    int reads = 0;
    const double following = measure(reads);
    EXPECT_GE(following, 4.0);
    EXPECT_GE(reads, int(kSeconds) - 3);
    panel.DialFollower().SetFollowing(false);
    int none = 0;
    const double without = measure(none);
    EXPECT_EQ(none, 0);
    std::cout << "meter readings per second at 100 ms: " << following << " following the dial (" << reads / kSeconds
              << " dial reads/s), " << without << " without\n";
}

} // namespace
