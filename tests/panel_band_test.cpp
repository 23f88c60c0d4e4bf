#include "tests/support/PanelRig.h"

using namespace kivo;
using kivo::testing::F;
using state::Long;

namespace {

// The usual files: the main VFO on 145.200 FM (band 1), the sub VFO on 433.100 FM (band 0).
class Bands : public kivo::testing::PanelRig {
protected:
    void SetUp() override
    {
        WriteUsualFiles();
        PowerOn();
    }
    void PowerOn()
    {
        panel.Power().Load();
        panel.Power().PressPower();
        loop.Advance(0.5);
        TakeFrames();
    }
    std::string LastFreqFrame()
    {
        std::string last;
        for (const auto& f : TakeSent())
            if (std::uint8_t(f[4]) == 0x01)
                last = f;
        return last;
    }
    // As SUB does: the sub VFO is changed, and the radio's current VFO holds it.
    void SelectSub()
    {
        s.SubSelected = true;
        cat.ToggleVFOAB();
        TakeFrames();
    }
    panel::BandMode& Keys() { return panel.BandMode(); }
    state::BandDataRec& Bd() { return s.BandData; }
};

TEST_F(Bands, BandKeysSendTheBandsStateWithinItsEdges)
{
    // From 2 m FM with minus shift and a tone to 20 m USB: every field that differs goes out,
    // the band's offset of 0 as 0.
    Bd().BandVFOMB[7].Freq = 1500000;
    Keys().PressBand(7);
    EXPECT_EQ(TakeSent(), (std::vector<std::string>{F({0x01, 0, 0, 0, 0x07}), F({0x01, 0x43, 0x50, 0x00, 0x01}),
                                                    F({0x89, 0, 0, 0, 0x09}), F({0x00, 0x00, 0x00, 0x00, 0xF9}),
                                                    F({0x8A, 0, 0, 0, 0x0A})}));
    EXPECT_EQ(Bd().BandVFOMB[1].Freq, 14520000) << "the old band keeps where it was left";
    EXPECT_TRUE(meter.TimerSignalMeter().Enabled());

    struct Row {
        const char* name;
        int band;
        Long stored, sent;
    } const rows[] = {
        {"below the bottom edge", 9, 650000, 700000},
        {"inside", 3, 2850000, 2850000},
        {"at the top edge", 11, 200000, 200000},
        {"above the top edge", 0, 45500000, 45000000},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Bd().BandVFOMB[r.band].Freq = r.stored;
        Keys().PressBand(r.band);
        EXPECT_EQ(s.BandIdxMB, r.band);
        EXPECT_EQ(s.VFOMB.Freq, r.sent);
        EXPECT_EQ(Bd().BandVFOMB[r.band].Freq, r.sent);
        EXPECT_EQ(LastFreqFrame(), *radio::FreqFrame(r.sent));
    }
}

TEST_F(Bands, BandUpAndDownWrapAndSendTheStoredFrequencyAsItIs)
{
    EXPECT_EQ(display.Get("BandButton(0)").caption, "430");
    EXPECT_EQ(display.Get("BandButton(10)").caption, "3.5");
    EXPECT_EQ(display.Get("BandButton(11)").caption, "1.8");
    Keys().PressBand(0);
    Bd().BandVFOMB[11].Freq = 150000; // below the band's edge
    TakeFrames();
    Keys().PressBandUp();
    EXPECT_EQ(s.BandIdxMB, 11);
    EXPECT_EQ(s.VFOMB.Freq, 150000);
    EXPECT_EQ(LastFreqFrame(), F({0x00, 0x15, 0x00, 0x00, 0x01}));
    Keys().PressBandDown();
    EXPECT_EQ(s.BandIdxMB, 0);
    EXPECT_EQ(Bd().BandVFOMB[11].Freq, 150000);
    Keys().PressBandDown();
    EXPECT_EQ(s.BandIdxMB, 1);
    EXPECT_EQ(s.VFOMB.Freq, 14520000);
}

TEST_F(Bands, EachBandRemembersItsStateAcrossARestart)
{
    Keys().PressBand(7);
    panel.Keypad().PressEnt();
    for (int d : {1, 4, 0, 7, 4, 0, 0})
        ASSERT_TRUE(panel.Keypad().DigitKey(d));
    panel.Keypad().PressEnt();
    Keys().PressMode(2);
    ASSERT_EQ(s.VFOMB.Freq, 1407400);
    Keys().PressBand(1);
    panel.Power().PressPower();

    s.BandData = state::DefaultBandData();
    PowerOn();
    EXPECT_EQ(s.VFOMB.Freq, 14520000);
    Keys().PressBand(7);
    EXPECT_EQ(s.VFOMB.Freq, 1407400);
    EXPECT_EQ(s.VFOMB.Mode, 2);
    EXPECT_EQ(display.Get("ledFreq").caption, "14.074.00");
}

TEST_F(Bands, InPmsTheMainVfoTakesEachBandsPmsStateAndLimits)
{
    s.VFOMRMode = state::kModePMS;
    s.VFOMB.Freq = 14530000;
    const state::VFOInfo before = s.VFOMB;
    Bd().BandPMSVFO[7] = {1420000, 2, 0, 0, 0, 8, 0, 0};
    Bd().PMSLow[7] = 1400000;
    Bd().PMSHigh[7] = 1410000;
    Keys().PressBand(7);
    EXPECT_EQ(s.VFOMB, Bd().BandPMSVFO[7]);
    EXPECT_EQ(s.VFOMB.Freq, 1420000) << "the PMS state goes out unclamped";
    EXPECT_EQ(Bd().TuneLow[7], 1400000);
    EXPECT_EQ(Bd().TuneHigh[7], 1410000);
    EXPECT_EQ(Bd().BandPMSVFO[1], before);
    EXPECT_EQ(Bd().BandVFOMB[1].Freq, 14520000) << "the VFO slot is not touched";

    Keys().PressBandUp();
    EXPECT_EQ(s.BandIdxMB, 6);
    EXPECT_EQ(s.VFOMB, Bd().BandPMSVFO[6]);
    EXPECT_EQ(Bd().TuneLow[6], Bd().PMSLow[6]);

    // The sub VFO does not change band in PMS.
    SelectSub();
    Keys().PressBand(2);
    EXPECT_EQ(s.BandIdxSB, 0);
    EXPECT_TRUE(TakeSent().empty());
    s.SubSelected = false;

    // Back in VFO, a band that was left in PMS tunes over its coverage again.
    panel.VfoModel().ChangeToVFOfunction();
    Keys().PressBand(7);
    EXPECT_EQ(Bd().TuneLow[7], Bd().CoverLow[7]);
    EXPECT_EQ(Bd().TuneHigh[7], Bd().CoverHigh[7]);
}

TEST_F(Bands, InMrABandKeyTunesAVfoAndShowsMemoryTune)
{
    s.VFOMRMode = state::kModeMR;
    const state::VFOInfo memory = {14530000, 5, 60000, 0, 0, 8, 0, 0};
    s.VFOMB = memory;
    Keys().PressBand(3);
    EXPECT_TRUE(Shown("lblMT"));
    EXPECT_TRUE(s.MTOn);
    EXPECT_EQ(s.VFOMB.Freq, 2830000);
    EXPECT_NE(Bd().BandVFOMB[1], memory) << "a memory channel is not filed as a band's VFO";

    s.MTOn = false;
    display.SetVisible("lblMT", false);
    Keys().PressBandDown();
    EXPECT_TRUE(Shown("lblMT"));
    EXPECT_EQ(s.VFOMB, Bd().BandVFOMB[4]);
}

TEST_F(Bands, TheSubVfosBandKeys)
{
    SelectSub();
    Keys().PressBand(2);
    EXPECT_EQ(s.BandIdxSB, 2);
    EXPECT_EQ(s.VFOSB.Freq, 5200000);
    EXPECT_EQ(TakeSent(), (std::vector<std::string>{F({0x01, 0, 0, 0, 0x07}), F({0x05, 0x20, 0x00, 0x00, 0x01}),
                                                    F({0x08, 0x85, 0, 0, 0x0B})}))
        << "into the radio's current VFO, which holds the sub VFO";
    EXPECT_EQ(Bd().BandVFOSB[0].Freq, 43310000);
    EXPECT_EQ(s.BandIdxMB, 1);

    Keys().PressBandUp();
    EXPECT_EQ(s.BandIdxSB, 1);
    EXPECT_EQ(s.VFOSB, Bd().BandVFOSB[1]);

    // In MR too the sub VFO takes the new band's state, so its band and frequency agree.
    s.VFOMRMode = state::kModeMR;
    Keys().PressBandDown();
    EXPECT_EQ(s.BandIdxSB, 2);
    EXPECT_EQ(s.VFOSB.Freq, 5200000);
    EXPECT_EQ(LastFreqFrame(), F({0x05, 0x20, 0x00, 0x00, 0x01}));
}

TEST_F(Bands, ModeKeysSetTheModeAndReadItBack)
{
    int shifts = 0, readBacks = 0;
    Keys().hooks.autoRptShift = [&shifts] { ++shifts; };
    panel.LinkReports().hooks.autoRepeaterShift = [&readBacks] { ++readBacks; };
    const std::uint8_t codes[8] = {0x00, 0x01, 0x02, 0x03, 0x04, 0x08, 0x0A, 0x0C};
    for (int m = 0; m < 8; ++m) {
        SCOPED_TRACE(m);
        Keys().PressMode(m);
        const std::string set = F({codes[m], 0, 0, 0, 0x07});
        EXPECT_EQ(TakeSent(), (std::vector<std::string>{set, F({0, 0, 0, 0, 0x03}), set}));
        EXPECT_EQ(s.VFOMB.Mode, m);
        for (int k = 0; k < 8; ++k)
            EXPECT_EQ(Shown(el::lblMBmode(k)), k == m) << k;
    }
    EXPECT_EQ(shifts, 8);
    EXPECT_EQ(readBacks, 8);
    EXPECT_TRUE(meter.TimerSignalMeter().Enabled());

    // The read-back takes what the radio holds.
    radio.A().freq = 14530000;
    Keys().PressMode(5);
    EXPECT_EQ(s.VFOMB.Freq, 14530000);

    SelectSub();
    Keys().PressMode(4);
    EXPECT_EQ(radio.B().mode, 0x04);
    EXPECT_EQ(s.VFOSB.Mode, 4);
    EXPECT_EQ(s.VFOSB.Freq, 43310000);
    EXPECT_TRUE(Shown(el::lblSBmode(4)));
    EXPECT_EQ(s.VFOMB.Mode, 5);
}

TEST_F(Bands, HomeStoredWithMckIsRecalledAndLeftAgain)
{
    int mckOff = 0;
    Keys().hooks.turnOffMCK = [&] {
        ++mckOff;
        s.MCKOn = false;
    };
    s.HomeMem[1].Split = -1; // a split channel stored there before
    s.HomeMem[1].VFO2 = s.VFOSB;
    s.MCKOn = true;
    Keys().PressHome();
    EXPECT_EQ(mckOff, 1);
    EXPECT_EQ(s.HomeMem[1].VFO1, s.VFOMB);
    EXPECT_EQ(s.HomeMem[1].Band1, 1);
    EXPECT_EQ(s.HomeMem[1].Split, 0) << "stored with SPLIT off, it recalls as simplex";
    EXPECT_FALSE(s.HomeOn);

    panel.Tuning().PressMhz(true); // 146.200, where the automatic shift gives plus
    TakeFrames();
    Keys().PressHome();
    EXPECT_TRUE(s.HomeOn);
    EXPECT_EQ(display.Get("ledMRnumber").caption, "H");
    EXPECT_TRUE(Shown("ledMRnumber"));
    EXPECT_EQ(s.VFOMB.Freq, 14520000);
    EXPECT_EQ(TakeSent(), (std::vector<std::string>{F({0x14, 0x52, 0x00, 0x00, 0x01}), F({0x09, 0, 0, 0, 0x09})}));
    EXPECT_EQ(Bd().BandVFOMB[1].Freq, 14620000);

    Keys().PressHome();
    EXPECT_FALSE(s.HomeOn);
    EXPECT_FALSE(Shown("ledMRnumber"));
    EXPECT_EQ(s.VFOMRMode, state::kModeVFO);
    EXPECT_EQ(s.VFOMB.Freq, 14620000);

    // POWER off leaves a HOME channel shown; the VFO goes to the band file, the channel to the
    // HOME file.
    Keys().PressHome();
    panel.Power().PressPower();
    EXPECT_FALSE(s.HomeOn);
    EXPECT_EQ(Bd().BandVFOMB[1].Freq, 14620000);
    const state::MemRec stored = s.HomeMem[1];
    s.HomeMem = {};
    files.OpenHomeFile();
    EXPECT_EQ(s.HomeMem[1].VFO1, stored.VFO1);
}

TEST_F(Bands, AnEmptyHomeChannelIsRefused)
{
    dialogs.boxes.clear();
    Keys().PressHome();
    ExpectOneBox("You must save HOME information for the current band before you can recall it.", "Help",
                 platform::Icon::Exclamation, platform::Buttons::Ok);
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_FALSE(s.HomeOn);
    EXPECT_TRUE(TakeSent().empty());
}

TEST_F(Bands, ASplitHomeChannelSendsTheSubVfoBetweenTwoToggles)
{
    int split = 0;
    Keys().hooks.splitKey = [&split] { ++split; };
    state::MemRec& home = s.HomeMem[1];
    home.VFO1 = s.VFOMB;
    home.VFO1.Freq = 14530000;
    home.Band1 = 1;
    home.VFO2 = s.VFOSB;
    home.VFO2.Freq = 43350000;
    home.Band2 = 0;
    home.Split = -1;
    std::vector<double> toggles;
    port.GetWire().onFrame = [&](const sim::ReceivedFrame& f) {
        if (std::uint8_t(f.bytes[4]) == 0x81)
            toggles.push_back(f.at);
    };
    const double t0 = loop.Now();
    Keys().PressHome();
    EXPECT_EQ(TakeSent(), (std::vector<std::string>{F({0x14, 0x53, 0x00, 0x00, 0x01}), F({0, 0, 0, 0, 0x81}),
                                                    F({0x43, 0x35, 0x00, 0x00, 0x01}), F({0, 0, 0, 0, 0x81})}));
    ASSERT_EQ(toggles.size(), 2u);
    EXPECT_NEAR(toggles[0] - t0, 0.25, 1e-9);
    EXPECT_NEAR(toggles[1] - toggles[0], 0.50, 1e-9);
    EXPECT_NEAR(loop.Now() - t0, 1.0, 1e-9);
    EXPECT_EQ(split, 1) << "then SPLIT goes on";
    EXPECT_EQ(radio.A().freq, 14530000u);
    EXPECT_EQ(radio.B().freq, 43350000u);
    EXPECT_FALSE(radio.OnB());
    EXPECT_EQ(s.VFOSB, home.VFO2);
}

TEST_F(Bands, HomeTwiceReturnsToTheFunctionInUse)
{
    std::string reentered;
    Keys().hooks.changeToMRfunction = [&] {
        reentered = "MR";
        s.HomeOn = false;
    };
    Keys().hooks.changeToPMSfunction = [&] {
        reentered = "PMS";
        s.HomeOn = false;
    };
    int clar = 0, pri = 0;
    Keys().hooks.clarKey = [&] {
        ++clar;
        s.ClarOn = false;
    };
    Keys().hooks.stopPriorityMonitor = [&pri] { ++pri; };
    s.HomeMem[1].VFO1 = {14400000, 5, 60000, 0, 0, 8, 0, 0};
    s.HomeMem[1].Band1 = 1;

    struct Row {
        state::Integer function;
        const char* reentered;
    } const rows[] = {{state::kModeVFO, ""}, {state::kModeMR, "MR"}, {state::kModePMS, "PMS"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.function);
        reentered.clear();
        s.VFOMRMode = r.function;
        s.ClarOn = s.PRIOn = true;
        const state::VFOInfo before = s.VFOMB;
        const state::BandDataRec store = Bd();
        Keys().PressHome();
        ASSERT_TRUE(s.HomeOn);
        EXPECT_FALSE(s.ClarOn);
        EXPECT_FALSE(s.PRIOn);
        EXPECT_EQ(s.VFOMB, s.HomeMem[1].VFO1);
        // What the function in use keeps of the VFO before HOME took it over.
        const bool vfo = r.function == state::kModeVFO, pms = r.function == state::kModePMS;
        EXPECT_EQ(Bd().BandVFOMB[1], vfo ? before : store.BandVFOMB[1]);
        EXPECT_EQ(Bd().BandPMSVFO[1], pms ? before : store.BandPMSVFO[1]);
        Keys().PressHome();
        EXPECT_EQ(reentered, r.reentered);
        EXPECT_FALSE(s.HomeOn);
        EXPECT_EQ(s.VFOMRMode, r.function);
        if (vfo) {
            EXPECT_EQ(s.VFOMB, before) << "VFO again, where it was";
        }
    }
    EXPECT_EQ(clar, 3);
    EXPECT_EQ(pri, 3);
}

} // namespace
