// RPT, REV, TONE and the automatic repeater shift: the main VFO's shift and tones on the wire
// and on the display.

#include "tests/support/PanelRig.h"

using namespace kivo;
using kivo::testing::F;
using state::Integer;
using state::Long;

namespace {

std::string Dir(int p1) { return F({p1, 0, 0, 0, 0x09}); }
const std::string kSimplex = Dir(0x89), kMinus = Dir(0x09), kPlus = Dir(0x49);
const std::string kToggle = F({0, 0, 0, 0, 0x81});

// The usual files, lit: the main VFO on 145.200 FM with minus shift 600 kHz and ENC 88.5 Hz.
class Repeater : public kivo::testing::PanelRig {
protected:
    void SetUp() override
    {
        StartLit();
        dialogs.boxes.clear();
    }
    panel::RepeaterTones& Keys() { return panel.RepeaterTones(); }
    // The shift marks: "+" for plus, "-" for minus, "+-" for the split marker, "" for none.
    std::string Marks() const
    {
        return std::string(Shown(el::ImgRPTdirection(0)) ? "+" : "") + (Shown(el::ImgRPTdirection(1)) ? "-" : "");
    }
    std::string ToneMarks() const
    {
        std::string m;
        for (auto [name, text] :
             {std::pair{el::lblMainENC, "ENC "}, {el::lblMainDEC, "DEC "}, {el::lblMainDCS, "DCS "}})
            if (Shown(name))
                m += text;
        return m;
    }
};

TEST_F(Repeater, RptCyclesTheShiftInFmOnly)
{
    struct Row {
        const char* name;
        Integer mode, dir;
        bool split, sub;
        std::vector<Integer> dirs; // after each of three presses
        std::vector<std::string> frames;
    } const rows[] = {
        {"FM from simplex", 5, 0, false, false, {-1, 1, 0}, {kMinus, kPlus, kSimplex}},
        {"FM from plus", 5, 1, false, false, {0, -1, 1}, {kSimplex, kMinus, kPlus}},
        {"AM: nothing", 4, 0, false, false, {0, 0, 0}, {}},
        {"SPLIT on: nothing", 5, -11, true, false, {-11, -11, -11}, {}},
        {"the split marker alone: nothing", 5, -11, false, false, {-11, -11, -11}, {}},
        {"SUB active: to the main VFO between two toggles",
         5,
         0,
         false,
         true,
         {-1, 1, 0},
         {kToggle, kMinus, kToggle, kToggle, kPlus, kToggle, kToggle, kSimplex, kToggle}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        s.VFOMB.Mode = r.mode;
        s.VFOMB.RptDir = r.dir;
        s.SplitOn = r.split;
        s.SubSelected = r.sub;
        for (int i = 0; i < 3; ++i) {
            Keys().PressRpt();
            EXPECT_EQ(s.VFOMB.RptDir, r.dirs[std::size_t(i)]) << "press " << i;
        }
        EXPECT_EQ(TakeSent(), r.frames);
        s.SplitOn = s.SubSelected = false;
    }
    s.VFOMB.Mode = 5;
    s.VFOMB.RptDir = 0;
    const char* marks[] = {"-", "+", ""};
    for (const char* m : marks) {
        Keys().PressRpt();
        EXPECT_EQ(Marks(), m);
    }
    EXPECT_EQ(radio.RptDir(), 0);
}

TEST_F(Repeater, RptRevAndToneAreDigitsWhileAnEntryIsPending)
{
    panel.Keypad().PressEnt();
    Keys().PressRpt();
    Keys().PressRev();
    Keys().PressTone();
    EXPECT_EQ(panel.Keypad().Mask(), "---.123.--");
    EXPECT_EQ(s.VFOMB.RptDir, -1);
    EXPECT_EQ(s.VFOMB.ToneMode, 1);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(Repeater, RevMovesToTheTransmitFrequencyAndBack)
{
    s.VFOMB.Freq = 14694000;
    s.VFOMB.RptDir = -1;
    s.VFOMB.RptOffset = 60000;
    Keys().PressRev();
    EXPECT_EQ(s.VFOMB.Freq, 14634000);
    EXPECT_EQ(s.VFOMB.RptDir, 1);
    EXPECT_EQ(display.Get(el::ledFreq).caption, "146.340.00");
    EXPECT_EQ(Marks(), "+");
    EXPECT_EQ(TakeSent(), (std::vector<std::string>{F({0x14, 0x63, 0x40, 0x00, 0x01}), kPlus}));

    Keys().PressRev();
    EXPECT_EQ(s.VFOMB.Freq, 14694000);
    EXPECT_EQ(s.VFOMB.RptDir, -1);
    EXPECT_EQ(Marks(), "-");
    EXPECT_EQ(TakeSent(), (std::vector<std::string>{F({0x14, 0x69, 0x40, 0x00, 0x01}), kMinus}));
    EXPECT_EQ(radio.A().freq, 14694000u);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(Repeater, RevOutsideRepeaterOperationIsRefused)
{
    struct Row {
        const char* name;
        Integer dir;
        Integer function;
    } const rows[] = {
        {"simplex", 0, state::kModeVFO},
        {"the split marker", -11, state::kModeVFO},
        {"PMS", -1, state::kModePMS},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        dialogs.boxes.clear();
        s.VFOMB.RptDir = r.dir;
        s.VFOMRMode = r.function;
        Keys().PressRev();
        ExpectOneBox("You must be in repeater mode before reversing can take place.", "Help",
                     platform::Icon::Exclamation, platform::Buttons::Ok);
        EXPECT_EQ(s.VFOMB.Freq, 14520000);
        EXPECT_EQ(s.VFOMB.RptDir, r.dir);
        EXPECT_TRUE(TakeSent().empty());
    }

    // Memory check on a memory channel: the key clears the channel instead.
    int cleared = 0;
    Keys().hooks.clearMemory = [&cleared] { ++cleared; };
    s.VFOMRMode = state::kModeMR;
    s.MCKOn = true;
    s.VFOMB.RptDir = -1;
    Keys().PressRev();
    EXPECT_EQ(cleared, 1);
    EXPECT_EQ(s.VFOMB.Freq, 14520000);
}

TEST_F(Repeater, AutoShiftSetsTheMainVfosShiftFromItsFrequency)
{
    struct Row {
        const char* name;
        Long freq;
        Integer dir;
        const char* marks;
    } const rows[] = {
        {"145.49999, the top of a minus range", 14549999, -1, "-"},
        {"145.500 is simplex", 14550000, 0, ""},
        {"148.000", 14800000, -1, "-"},
        {"147.000", 14700000, 1, "+"},
        {"440.000", 44000000, 1, "+"},
        {"445.000", 44500000, -1, "-"},
        {"450.000", 45000000, 0, ""},
    };
    s.VFOMB.RptDir = 0;
    Keys().PressRpt(); // minus, in the radio too
    TakeSent();
    Integer last = -1;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        s.VFOMB.Freq = r.freq;
        Keys().AutoRptShift();
        EXPECT_EQ(s.VFOMB.RptDir, r.dir);
        EXPECT_EQ(s.VFOMB.RptOffset, 60000) << "the offset stays";
        EXPECT_EQ(Marks(), r.marks);
        const auto sent = TakeSent();
        if (r.dir == last)
            EXPECT_TRUE(sent.empty()) << "nothing new for the radio";
        else
            EXPECT_EQ(sent, std::vector<std::string>{r.dir == 0 ? kSimplex : r.dir == 1 ? kPlus : kMinus});
        last = r.dir;
    }
}

TEST_F(Repeater, AutoShiftLeavesSplitAlone)
{
    s.SplitOn = true;
    s.VFOMB.RptDir = -11;
    s.VFOMB.Freq = 14700000;
    Keys().AutoRptShift();
    EXPECT_EQ(s.VFOMB.RptDir, -11);
    EXPECT_TRUE(TakeSent().empty());
}

TEST_F(Repeater, AModeChangeToUsbClearsTheShift)
{
    s.VFOMB.Freq = 14694000;
    radio.A().freq = 14694000; // the mode keys read the radio back
    for (bool only144 : {true, false}) {
        SCOPED_TRACE(only144 ? "144 MHz flag on" : "430 MHz flag on");
        s.Settings.AutoRptShift144 = only144 ? -1 : 0;
        s.Settings.AutoRptShift430 = only144 ? 0 : -1;
        panel.BandMode().PressMode(5);
        EXPECT_EQ(s.VFOMB.RptDir, -1);
        EXPECT_EQ(Marks(), "-");
        panel.BandMode().PressMode(1);
        EXPECT_EQ(s.VFOMB.RptDir, 0);
        EXPECT_EQ(Marks(), "");
        EXPECT_EQ(radio.RptDir(), 0);
    }
}

TEST_F(Repeater, TheTuningControlsFollowTheShiftInFm)
{
    // MHz UP from 145.200 to 146.200: a plus sub-band.
    panel.Tuning().PressMhz(true);
    EXPECT_EQ(s.VFOMB.RptDir, 1);
    EXPECT_EQ(radio.RptDir(), 1);

    // The main knob across 146.400 (the plus range's top) with 10 kHz steps.
    s.Settings.DialStep[1][5] = 1000;
    s.VFOMB.Freq = 14639000;
    panel.Tuning().SetupTuningKnob(panel::kMainKnob, panel::kGrab);
    panel.Tuning().MainKnob_Change(1);
    EXPECT_EQ(s.VFOMB.Freq, 14640000);
    EXPECT_EQ(s.VFOMB.RptDir, 0);
    panel.Tuning().SetupTuningKnob(panel::kMainKnob, panel::kRelease);
    EXPECT_EQ(radio.RptDir(), 0);

    // With the band's flag off nothing follows.
    s.Settings.AutoRptShift144 = 0;
    panel.Tuning().PressMhz(false); // 145.400: minus, were it on
    EXPECT_EQ(s.VFOMB.RptDir, 0);
}

TEST_F(Repeater, ToneCyclesInFm)
{
    s.VFOMB.ToneMode = 0;
    const struct {
        Integer mode;
        int p1;
        const char* marks;
    } steps[] = {{1, 0x4A, "ENC "}, {2, 0x2A, "ENC DEC "}, {3, 0x0A, "DCS "}, {0, 0x8A, ""}};
    for (const auto& st : steps) {
        Keys().PressTone();
        EXPECT_EQ(s.VFOMB.ToneMode, st.mode);
        EXPECT_EQ(ToneMarks(), st.marks);
        EXPECT_EQ(TakeSent(), std::vector<std::string>{F({st.p1, 0, 0, 0, 0x0A})});
    }

    s.VFOMB.Mode = 1; // USB: nothing
    Keys().PressTone();
    EXPECT_EQ(s.VFOMB.ToneMode, 0);
    EXPECT_TRUE(TakeSent().empty());

    // The sub VFO: its marks only; the radio has no tone mode command for it.
    s.SubSelected = true;
    s.VFOSB.ToneMode = 1;
    Keys().PressTone();
    EXPECT_EQ(s.VFOSB.ToneMode, 2);
    EXPECT_TRUE(Shown(el::lblSubENC));
    EXPECT_TRUE(Shown(el::lblSubDEC));
    EXPECT_TRUE(TakeSent().empty());
}

} // namespace
