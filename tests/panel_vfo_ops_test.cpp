#include "tests/support/PanelRig.h"

#include <ostream>

using namespace kivo;
using state::Long;

namespace {

enum class Key { AB, SWAP, SUB, SPLIT, CLAR, SYNC };

using kivo::testing::Timed;

const std::string kToggle = "00 00 00 00 81";

// Split off at `at` ms, then both VFOs afresh: every main field but the DCS code the radio has
// (the minus shift from the band store: the split marker never reached it), then the sub VFO
// between two toggles.
std::vector<Timed> SplitOffFrames(long at)
{
    return {{at, "00 00 00 00 82"},       {at, "08 00 00 00 07"},       {at, "14 52 00 00 01"},
            {at, "09 00 00 00 09"},       {at, "00 06 00 00 F9"},       {at, "4A 00 00 00 0A"},
            {at, "08 85 00 00 0B"},       {at + 250, kToggle},          {at + 500, "08 00 00 00 07"},
            {at + 500, "43 31 00 00 01"}, {at + 500, "10 00 00 00 0B"}, {at + 750, kToggle}};
}

// The usual files: main VFO 145.200 FM, minus shift, tone 88.5 (band 1); sub VFO 433.100 FM,
// simplex, tone 100.0, DCS 036 (band 0).
class VfoOps : public kivo::testing::PanelRig {
protected:
    void SetUp() override { StartLit(); }
    void Press(Key k)
    {
        switch (k) {
        case Key::AB: panel.VfoOperations().PressAToB(); break;
        case Key::SWAP: panel.VfoOperations().PressSwap(); break;
        case Key::SUB: panel.VfoOperations().PressSub(); break;
        case Key::SPLIT: panel.Split().PressSplit(); break;
        case Key::CLAR: panel.Clarifier().PressClar(); break;
        case Key::SYNC: panel.VfoModel().PressSync(); break;
        }
    }
    // The frames since the last take, meter polls left out, timed from `t0`.
    std::vector<Timed> SentSince(double t0) { return TakeTimed(t0, false); }
    // The radio's current VFO holds the VFO being tuned, its other VFO the other one, and its
    // split is the panel's.
    void ExpectRadioAsPanel()
    {
        const auto expect = [](const sim::Vfo& radioVfo, const state::VFOInfo& vfo, const char* which) {
            EXPECT_EQ(Long(radioVfo.freq), vfo.Freq) << which;
            EXPECT_EQ(radioVfo.mode, radio::ModeTable[std::size_t(vfo.Mode)].code) << which;
        };
        EXPECT_EQ(radio.OnB(), s.SubSelected);
        expect(radio.A(), s.VFOMB, "main");
        expect(radio.B(), s.VFOSB, "sub");
        EXPECT_EQ(radio.Split(), s.SplitOn);
        EXPECT_EQ(display.Get(el::ledFreq).caption, radio::FreqText(s.VFOMB.Freq));
        EXPECT_EQ(display.Get(el::ledSubFreq).caption, radio::FreqText(s.VFOSB.Freq));
    }
};

struct Row {
    const char* name;
    std::vector<Key> before;
    Key key;
    std::vector<Timed> frames;
    std::uint32_t radioOn = 0; // what the radio's current VFO then holds (0: what it was sent)
    Long mainAt = 0;           // the main VFO moved there before the key (0: left alone)
};
void PrintTo(const Row& r, std::ostream* os) { *os << r.name; }

const std::vector<Timed> kAToB{{250, kToggle}, {500, "14 52 00 00 01"}, {500, "08 85 00 00 0B"}, {750, kToggle}};

const Row kRows[] = {
    {"AToB", {}, Key::AB, kAToB},
    {"AToBInSplit", {Key::SPLIT}, Key::AB, kAToB},
    {"Swap",
     {},
     Key::SWAP,
     {{0, "43 31 00 00 01"},
      {0, "89 00 00 00 09"},
      {0, "00 76 00 00 F9"},
      {0, "8A 00 00 00 0A"},
      {0, "10 00 00 00 0B"},
      {0, "00 36 00 00 0C"},
      {250, kToggle},
      {500, "14 52 00 00 01"},
      {500, "08 85 00 00 0B"},
      {750, kToggle}}},
    {"SubOn", {}, Key::SUB, {{250, kToggle}}},
    {"SubOff", {Key::SUB}, Key::SUB, {{250, kToggle}}},
    {"SplitOn", {}, Key::SPLIT, {{250, kToggle}, {500, "43 31 00 00 01"}, {750, kToggle}, {1200, "00 00 00 00 02"}}},
    {"SplitOff", {Key::SPLIT}, Key::SPLIT, SplitOffFrames(200)},
    {"ClarOn", {}, Key::CLAR, {{0, "14 52 05 00 01"}}},
    {"ClarOff", {Key::CLAR}, Key::CLAR, {{0, "14 52 00 00 01"}}},
    // 76.002 MHz less the 5 kHz offset would leave the band: the foot of the band.
    {"ClarOffAtTheBandsFoot", {Key::CLAR}, Key::CLAR, {{0, "07 60 00 00 01"}}, 0, 7600200},
    // 88 MHz USB; the read-back in USB clears the shift.
    {"Sync", {}, Key::SYNC, {{200, "00 00 00 00 03"}, {300, "01 00 00 00 07"}, {300, "89 00 00 00 09"}}, 8800000},
};

class VfoKeys : public VfoOps, public ::testing::WithParamInterface<Row> {};

TEST_P(VfoKeys, FramesInOrderOnTheClockAndTheRadioAsThePanel)
{
    const Row& r = GetParam();
    s.VFOMB.ClarOffset = 500;
    for (Key k : r.before)
        Press(k);
    if (r.mainAt)
        s.VFOMB.Freq = r.mainAt;
    if (r.radioOn)
        radio.Current() = {r.radioOn, 0x01};
    TakeFrames();
    const double t0 = loop.Now();
    Press(r.key);
    EXPECT_EQ(SentSince(t0), r.frames);
    ExpectRadioAsPanel();
}

INSTANTIATE_TEST_SUITE_P(Rows, VfoKeys, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<Row>& i) { return std::string(i.param.name); });

TEST_F(VfoOps, PowerOffTurnsClarSubAndSplitOffInTurn)
{
    s.VFOMB.ClarOffset = 500;
    for (Key k : {Key::SPLIT, Key::CLAR, Key::SUB})
        Press(k);
    TakeFrames();
    const double t0 = loop.Now();
    panel.Power().PressPower();
    // CLAR between toggles (SUB leaves the main VFO in the radio's other VFO), SUB, SPLIT.
    std::vector<Timed> frames{{250, kToggle}, {500, "14 52 00 00 01"}, {750, kToggle}, {1250, kToggle}};
    for (const Timed& f : SplitOffFrames(1700))
        frames.push_back(f);
    EXPECT_EQ(SentSince(t0), frames);
    EXPECT_FALSE(s.ClarOn || s.SubSelected || s.SplitOn);
    ExpectRadioAsPanel();
    EXPECT_EQ(display.Get(el::LEDsub).value, 0);
    for (const char* n : {el::lblCLAR, el::lblSPLIT, el::lblRXTX})
        EXPECT_FALSE(Shown(n)) << n;
}

TEST_F(VfoOps, AToBGivesSimplexAndOutsideTheVfoFunctionFilesNoBandsVfo)
{
    Press(Key::SPLIT);
    Press(Key::AB);
    EXPECT_EQ(s.VFOSB.RptDir, 0);
    EXPECT_EQ(s.VFOMB.RptDir, -11);
    Press(Key::SPLIT);

    // In MR the main VFO is a memory channel: the sub VFO takes it, the band keeps its VFO.
    const state::VFOInfo bandVfo = s.BandData.BandVFOMB[1];
    s.VFOMRMode = state::kModeMR;
    s.VFOMB = {14600000, 5, 60000, 1, 0, 8, 0, 0};
    panel.VfoModel().SendInfoToRadioVFOMB(s.VFOMB);
    Press(Key::AB);
    EXPECT_EQ(s.VFOSB.Freq, 14600000);
    EXPECT_EQ(s.BandData.BandVFOMB[1], bandVfo);
    ExpectRadioAsPanel();

    // A < > B only in the VFO function.
    for (state::Integer mode : {state::kModeMR, state::kModePMS}) {
        s.VFOMRMode = mode;
        const auto main = s.VFOMB, sub = s.VFOSB;
        TakeFrames();
        Press(Key::SWAP);
        EXPECT_TRUE(TakeSent().empty());
        EXPECT_TRUE(s.VFOMB == main && s.VFOSB == sub);
    }
}

TEST_F(VfoOps, LeavingASplitHomeChannelBringsBackTheVfosOfBefore)
{
    const state::VFOInfo main = s.VFOMB, sub = s.VFOSB;
    state::MemRec& home = s.HomeMem[1];
    home.VFO1 = main;
    home.VFO1.Freq = 14530000;
    home.Band1 = 1;
    home.VFO2 = sub;
    home.VFO2.Freq = 43350000;
    home.Band2 = 0;
    home.Split = -1;
    panel.BandMode().PressHome();
    EXPECT_TRUE(s.SplitOn && radio.Split());
    EXPECT_EQ(radio.B().freq, 43350000u);
    panel.BandMode().PressHome();
    EXPECT_FALSE(s.HomeOn || s.SplitOn);
    EXPECT_EQ(s.VFOMB, main);
    EXPECT_EQ(s.VFOSB, sub);
    ExpectRadioAsPanel();
}

TEST_F(VfoOps, ClarTakesItsOffsetBackWhateverTheMainKnobDid)
{
    s.VFOMB.ClarOffset = 500;
    Press(Key::CLAR);
    EXPECT_TRUE(Shown(el::lblCLAR));
    EXPECT_FALSE(Enabled(el::ChannelKnob));
    auto& t = panel.Tuning();
    t.SetKnobPositions(0, 0, 0);
    t.SetupTuningKnob(panel::kMainKnob, panel::kGrab);
    t.MainKnob_Change(1);
    t.MainKnob_Change(2);
    t.SetupTuningKnob(panel::kMainKnob, panel::kRelease);
    Press(Key::CLAR);
    EXPECT_EQ(s.VFOMB.Freq, 14520002);
    ExpectRadioAsPanel();

    // Leaving for the VFO function turns it off first.
    Press(Key::CLAR);
    panel.VfoModel().ChangeToVFOfunction();
    EXPECT_FALSE(s.ClarOn || Shown(el::lblCLAR));
}

TEST_F(VfoOps, SubBlinksItsModeAndTheMainKnobTunesItEvenInSplit)
{
    Press(Key::SPLIT);
    Press(Key::SUB);
    EXPECT_EQ(display.Get(el::LEDsub).value, 1);
    std::vector<bool> lit;
    for (int i = 0; i < 4; ++i) {
        loop.Advance(0.25);
        lit.push_back(Shown(el::lblSBmode(5)));
    }
    EXPECT_EQ(lit, (std::vector<bool>{false, true, false, true}));

    // The radio's current VFO holds the sub VFO: a main VFO frame would land there.
    auto& t = panel.Tuning();
    t.SetKnobPositions(0, 0, 0);
    t.SetupTuningKnob(panel::kMainKnob, panel::kGrab);
    t.MainKnob_Change(1);
    t.SetupTuningKnob(panel::kMainKnob, panel::kRelease);
    EXPECT_EQ(s.VFOSB.Freq, 43310001);
    ExpectRadioAsPanel();

    while (Shown(el::lblSBmode(5)))
        loop.Advance(0.25);
    Press(Key::SUB);
    EXPECT_TRUE(Shown(el::lblSBmode(5))) << "a label caught dark comes back";
    EXPECT_EQ(display.Get(el::LEDsub).value, 0);
    ExpectRadioAsPanel();
}

} // namespace
