#include "tests/support/PanelRig.h"

using namespace kivo;
using kivo::testing::F;
using state::Long;

namespace {

// The usual files, lit: the main VFO on 145.200 FM with minus shift and a tone (band 1), the sub
// VFO on 433.100 FM (band 0).
class Memories : public kivo::testing::PanelRig {
protected:
    void SetUp() override { StartLit(); }
    void Store(int pos, Long freq, state::Integer band = 1)
    {
        s.MemData[std::size_t(pos)].VFO1 = {freq, 5, 60000, -1, 1, 8, 0, 0};
        s.MemData[std::size_t(pos)].Band1 = band;
        ++s.MemCount;
    }
    void Knob(int detents)
    {
        m_knob += detents;
        panel.Tuning().ChannelKnob_Change(m_knob);
    }
    std::string Caption(const std::string& n) const { return display.Get(n).caption; }

    Long m_knob = 0;
};

TEST_F(Memories, StepsOverEmptyPositionsButMemoryCheckVisitsEveryOne)
{
    Store(5, 14505000);
    Store(900, 14530000);
    struct Row {
        const char* name;
        bool mck;
        int from, step, lands;
        const char* number;
        const char* freq;
    } const rows[] = {
        {"down over the empty ones, through 999", false, 5, -1, 900, "900", "145.300.00"},
        {"up from 900, through 999 to 0", false, 900, 1, 5, "005", "145.050.00"},
        {"memory check shows the empty 4", true, 5, -1, 4, "004", ""},
        {"memory check wraps from 999 to 0", true, 999, 1, 0, "000", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        s.CurMemPos = r.from;
        if (r.mck) {
            panel.MemoryCheck().MCKbutton_MouseDown();
            panel.MemoryCheck().MCKbutton_MouseUp();
        } else {
            panel.Memories().PressVfoMr();
            ASSERT_EQ(s.VFOMRMode, state::kModeMR);
        }
        TakeFrames();
        Knob(r.step);
        EXPECT_EQ(s.CurMemPos, r.lands);
        EXPECT_EQ(Caption("ledMRnumber"), r.number);
        EXPECT_EQ(Caption("ledFreq"), r.freq);
        EXPECT_EQ(Shown(el::lblMBmode(5)), !r.mck) << "an empty position shows no mode";
        const auto sent = TakeSent();
        if (r.mck) {
            EXPECT_TRUE(sent.empty()) << "memory check only shows";
            panel.MemoryCheck().TurnOffMCK();
        } else {
            EXPECT_EQ(sent.size(), 1u) << "the frequency alone differs";
            panel.Memories().PressVfoMr();
        }
        EXPECT_EQ(s.VFOMRMode, state::kModeVFO);
    }
}

TEST_F(Memories, EnteringMrOnAnEmptyPositionRecallsTheNextWithTheBandsShift)
{
    state::MemRec& m = s.MemData[17];
    m.VFO1 = {43350000, 5, 100000, -1, 0, 8, 0, 0}; // stored with a 1 MHz shift
    m.Band1 = 0;
    m.Desc.Assign("Club repeater");
    s.MemCount = 1;
    s.BandData.BandVFOMB[0].RptOffset = 500000; // the band's shift is 5 MHz
    s.CurMemPos = 12;
    panel.Tuning().PressMhz(true); // 146.200, to be kept in the band store
    TakeFrames();

    panel.Memories().PressVfoMr();
    EXPECT_EQ(s.VFOMRMode, state::kModeMR);
    EXPECT_EQ(s.CurMemPos, 17);
    EXPECT_EQ(Caption("ledMRnumber"), "017");
    EXPECT_TRUE(Shown("ledMRnumber"));
    EXPECT_TRUE(Shown("lblCH"));
    EXPECT_EQ(Caption("lblMemoryDesc"), "Club repeater");
    EXPECT_TRUE(Shown("lblMemoryDesc"));
    EXPECT_EQ(Caption("ledFreq"), "433.500.00");
    EXPECT_EQ(s.VFOMB.RptOffset, 500000);
    // Mode and tone index are as the radio has them; the MHz key's automatic shift left the radio
    // simplex, so the memory's minus goes out; the offset is the band's.
    EXPECT_EQ(TakeSent(), (std::vector<std::string>{F({0x43, 0x35, 0x00, 0x00, 0x01}), F({0x09, 0, 0, 0, 0x09}),
                                                    F({0x00, 0x50, 0x00, 0x00, 0xF9}), F({0x8A, 0, 0, 0, 0x0A})}));
    EXPECT_EQ(radio.RptOffset(), 500000u);
    EXPECT_EQ(s.BandData.BandVFOMB[1].Freq, 14620000) << "the VFO left for MR waits in the band store";
    EXPECT_FALSE(Enabled("STObutton"));
    EXPECT_TRUE(meter.TimerSignalMeter().Enabled());

    panel.Memories().PressVfoMr();
    EXPECT_EQ(s.VFOMRMode, state::kModeVFO);
    EXPECT_FALSE(Shown("ledMRnumber"));
    EXPECT_FALSE(Shown("lblMemoryDesc"));
    EXPECT_EQ(Caption("ledFreq"), "146.200.00");
    EXPECT_EQ(radio.A().freq, 14620000u);
}

TEST_F(Memories, ASplitMemorySendsTheSubVfoBetweenTwoTogglesThenSplitOn)
{
    state::MemRec& m = s.MemData[3];
    m.VFO1 = s.VFOMB;
    m.Band1 = 1;
    m.VFO2 = s.VFOSB;
    m.VFO2.Freq = 43320000;
    m.Band2 = 0;
    m.Split = -1;
    s.MemCount = 1;
    panel.Memories().PressVfoMr();
    EXPECT_EQ(TakeSent(), (std::vector<std::string>{F({0x14, 0x52, 0x00, 0x00, 0x01}), F({0, 0, 0, 0, 0x81}),
                                                    F({0x43, 0x32, 0x00, 0x00, 0x01}), F({0, 0, 0, 0, 0x81}),
                                                    F({0, 0, 0, 0, 0x02})}));
    EXPECT_TRUE(radio.Split());
    EXPECT_EQ(radio.B().freq, 43320000u);
    EXPECT_TRUE(Shown("lblRXTX"));
    EXPECT_TRUE(Enabled("DOPbutton")) << "the decimal key of a split memory";

    panel.Memories().PressVfoMr();
    EXPECT_FALSE(radio.Split());
    EXPECT_FALSE(Shown("lblRXTX"));
}

TEST_F(Memories, WithNoPositionUsedMrIsRefusedAndTheKnobStopsAfterOneRound)
{
    s.MemCount = 3; // a counter, not the database
    panel.Memories().PressVfoMr();
    ExpectOneBox("You must either open a memory (*.MEM) file containing saved frequency information, or save some "
                 "frequency information to memory before selecting the MR function.",
                 "Help", platform::Icon::Exclamation, platform::Buttons::Ok);
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_EQ(s.VFOMRMode, state::kModeVFO);

    // In MR, every memory deleted behind the panel's back.
    Store(5, 14505000);
    panel.Memories().PressVfoMr();
    ASSERT_EQ(s.CurMemPos, 5);
    s.EmptyMemData();
    TakeFrames();
    Knob(1);
    EXPECT_EQ(dialogs.beeps, 2);
    EXPECT_EQ(s.CurMemPos, 5);
    EXPECT_EQ(Caption("ledMRnumber"), "005");
    EXPECT_EQ(Caption("ledFreq"), "145.050.00");
    EXPECT_TRUE(TakeSent().empty());

    // Leaving a HOME channel for MR, with nothing left to show, goes to VFO.
    s.HomeMem[1].VFO1 = s.VFOMB;
    panel.BandMode().PressHome();
    panel.BandMode().PressHome();
    EXPECT_EQ(s.VFOMRMode, state::kModeVFO);
    EXPECT_FALSE(s.HomeOn);
}

TEST_F(Memories, VfoMrLeavesMemoryTuneForTheStoredMemory)
{
    Store(8, 14505000);
    panel.Memories().PressVfoMr();
    panel.Tuning().SetupTuningKnob(panel::kMainKnob, panel::kGrab);
    panel.Tuning().MainKnob_Change(1);
    panel.Tuning().SetupTuningKnob(panel::kMainKnob, panel::kRelease);
    ASSERT_TRUE(s.MTOn);
    EXPECT_TRUE(Shown("lblMT"));

    panel.Memories().PressVfoMr();
    EXPECT_EQ(s.VFOMRMode, state::kModeMR);
    EXPECT_FALSE(s.MTOn);
    EXPECT_FALSE(Shown("lblMT"));
    EXPECT_EQ(s.VFOMB.Freq, 14505000);
    EXPECT_EQ(radio.A().freq, 14505000u);
}

} // namespace
