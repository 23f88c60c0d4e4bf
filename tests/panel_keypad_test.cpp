#include "tests/support/PanelRig.h"

using namespace kivo;
using kivo::testing::F;
using state::Long;

namespace {

enum class Where { Main, Sub, PMS, MR };

struct Row {
    const char* name;
    Where where;
    // E is ENT, '.' the decimal key, a digit the key that doubles as it.
    const char* keys;
    // The display of the VFO being changed after each key.
    std::vector<std::string> shown;
    Long freq;
    int band;
    std::vector<std::string> frames;
    std::string box; // the message shown, if any
};

class KeypadRig : public kivo::testing::PanelRig {
protected:
    void PowerOn()
    {
        WriteUsualFiles();
        panel.Power().Load();
        panel.Power().PressPower();
        loop.Advance(0.5);
        TakeFrames();
    }
    // The key's click handler, as the window binds it.
    void Press(char key)
    {
        auto& keypad = panel.Keypad();
        switch (key) {
        case 'E': keypad.PressEnt(); break;
        case '.': keypad.PressDop(); break;
        case '0': panel.Tuning().PressMhz(true); break;
        case '9': panel.Tuning().PressMhz(false); break;
        case '7': panel.BandMode().PressBandDown(); break;
        case '8': panel.BandMode().PressBandUp(); break;
        default: ASSERT_TRUE(keypad.DigitKey(key - '0')) << key;
        }
    }
};

void PrintTo(const Row& row, std::ostream* os) { *os << row.name; }

class KeypadEntry : public KeypadRig, public ::testing::WithParamInterface<Row> {};

const std::string kNotValid = " that you entered is not in a valid range for this software and possibly this radio.";

const Row kRows[] = {
    {"Mhz7_074",
     Where::Main,
     "E7.074E",
     {"---.---.--", "---.--7.--", "--7.---.--", "--7.0--.--", "--7.07-.--", "--7.074.--", "7.074.00"},
     707400,
     9,
     {F({0x00, 0x70, 0x74, 0x00, 0x01})},
     ""},
    {"FinishesByItselfAfterTheDecimal",
     Where::Main,
     "E145.43000",
     {"---.---.--", "---.--1.--", "---.-14.--", "---.145.--", "145.---.--", "145.4--.--", "145.43-.--", "145.430.--",
      "145.430.0-", "145.430.00"},
     14543000,
     1,
     {F({0x14, 0x54, 0x30, 0x00, 0x01})},
     ""},
    {"EightDigitsFinishByThemselves",
     Where::Main,
     "E14543000",
     {"---.---.--", "---.--1.--", "---.-14.--", "---.145.--", "---.145.4-", "---.145.43", "--1.454.30", "-14.543.00",
      "145.430.00"},
     14543000,
     1,
     {F({0x14, 0x54, 0x30, 0x00, 0x01})},
     ""},
    {"Khz500",
     Where::Main,
     "E500E",
     {"---.---.--", "---.--5.--", "---.-50.--", "---.500.--", ".500.00"},
     50000,
     11,
     {F({0x00, 0x05, 0x00, 0x00, 0x01})},
     ""},
    {"Mhz88IsInNoBand",
     Where::Main,
     "E88.E",
     {"---.---.--", "---.--8.--", "---.-88.--", "-88.---.--", "145.200.00"},
     14520000,
     1,
     {},
     "The frequency 88.000.00" + kNotValid},
    {"DecimalAfterFourDigitsKeepsThem",
     Where::Main,
     "E1445.E",
     {"---.---.--", "---.--1.--", "---.-14.--", "---.144.--", "---.144.5-", "---.144.5-", ".144.50"},
     14450,
     11,
     {F({0x00, 0x01, 0x44, 0x50, 0x01})},
     "You have pressed the decimal key to identify the number 1445 as the MHz part of the frequency. This number is "
     "too large for this radio. Try entering a MHz number that is 3 digits or less in length."},
    {"EntEntCancels", Where::Main, "EE", {"---.---.--", "145.200.00"}, 14520000, 1, {}, ""},
    {"DecimalBeforeAnyDigit",
     Where::Main,
     "E.E",
     {"---.---.--", "---.---.--", "145.200.00"},
     14520000,
     1,
     {},
     "You must enter atleast one digit of the frequency before pressing the decimal key. The decimal key is used to "
     "identify the previously entered digit(s) as the MHz portion of the frequency. If the desired frequency is less "
     "that 1 MHz then enter the frequency without pressing the decimal key."},
    {"DecimalAgainDropsTheDigitsAfterIt",
     Where::Main,
     "E14.3.5E",
     {"---.---.--", "---.--1.--", "---.-14.--", "-14.---.--", "-14.3--.--", "-14.---.--", "-14.5--.--", "14.500.00"},
     1450000,
     7,
     {F({0x01, 0x45, 0x00, 0x00, 0x01})},
     ""},
    {"Mhz45IsBeyondItsBandsCoverage",
     Where::Main,
     "E45.E",
     {"---.---.--", "---.--4.--", "---.-45.--", "-45.---.--", "145.200.00"},
     14520000,
     1,
     {},
     "The frequency 45.000.00" + kNotValid},
    {"SubVfo",
     Where::Sub,
     "E432.125E",
     {"---.---.--", "---.--4.--", "---.-43.--", "---.432.--", "432.---.--", "432.1--.--", "432.12-.--", "432.125.--",
      "432.125.00"},
     43212500,
     0,
     {F({0x43, 0x21, 0x25, 0x00, 0x01})},
     ""},
    {"SubVfoRefused",
     Where::Sub,
     "E88.E",
     {"---.---.--", "---.--8.--", "---.-88.--", "-88.---.--", "433.100.00"},
     43310000,
     0,
     {},
     "The frequency 88.000.00 that you entered is not with in a valid range for this software and possibly this "
     "radio."},
    {"PmsOutsideTheLimits",
     Where::PMS,
     "E149.E",
     {"---.---.--", "---.--1.--", "---.-14.--", "---.149.--", "149.---.--", "145.200.00"},
     14520000,
     1,
     {},
     "The frequency 149.000.00 that you entered is not in the range of 144.000.00 to 147.999.00 that you specified "
     "for Programmable Memory Scan (PMS). You must enter a value in this range or adjust your PMS range."},
    {"PmsWithinTheLimits",
     Where::PMS,
     "E146.E",
     {"---.---.--", "---.--1.--", "---.-14.--", "---.146.--", "146.---.--", "146.000.00"},
     14600000,
     1,
     {F({0x14, 0x60, 0x00, 0x00, 0x01}), F({0x49, 0, 0, 0, 0x09})}, // a plus-shift sub-band
     ""},
    {"MemoryTune",
     Where::MR,
     "E7.074E",
     {"---.---.--", "---.--7.--", "--7.---.--", "--7.0--.--", "--7.07-.--", "--7.074.--", "7.074.00"},
     707400,
     9,
     {F({0x00, 0x70, 0x74, 0x00, 0x01})},
     ""},
};

TEST_P(KeypadEntry, MaskValueBandAndFrames)
{
    const Row& row = GetParam();
    PowerOn();
    const bool sub = row.where == Where::Sub;
    if (sub) {
        s.SubSelected = true;
        cat.ToggleVFOAB(); // as SUB does: the radio's current VFO holds the sub VFO
        TakeFrames();
    } else if (row.where == Where::PMS) {
        s.VFOMRMode = state::kModePMS;
        panel.VfoModel().SavePMSInfo();
        panel.VfoModel().GetPMSInfo();
    } else if (row.where == Where::MR) {
        s.VFOMRMode = state::kModeMR;
    }
    dialogs.boxes.clear();

    const std::string keys = row.keys;
    ASSERT_EQ(keys.size(), row.shown.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        Press(keys[i]);
        EXPECT_EQ(display.Get(sub ? "ledSubFreq" : "ledFreq").caption, row.shown[i]) << "after key " << i;
        if (i == 0) {
            EXPECT_FALSE(Enabled("MainKnob")) << "the knobs refuse input during entry";
        }
    }
    EXPECT_FALSE(s.KeypadOn);
    EXPECT_EQ(sub ? s.VFOSB.Freq : s.VFOMB.Freq, row.freq);
    EXPECT_EQ(sub ? s.BandIdxSB : s.BandIdxMB, row.band);
    EXPECT_EQ(TakeSent(), row.frames);
    if (row.box.empty()) {
        EXPECT_TRUE(dialogs.boxes.empty());
    } else {
        ASSERT_EQ(dialogs.boxes.size(), 1u);
        EXPECT_EQ(dialogs.boxes[0].text, row.box);
        EXPECT_EQ(dialogs.boxes[0].icon, platform::Icon::Exclamation);
    }
    EXPECT_EQ(Shown("lblMT"), row.where == Where::MR && !row.frames.empty());
    EXPECT_TRUE(Enabled("MainKnob"));
}

INSTANTIATE_TEST_SUITE_P(Rows, KeypadEntry, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<Row>& i) { return std::string(i.param.name); });

class Keypad : public KeypadRig {};

TEST_F(Keypad, AnEntryTypedWhileTheLastOnesFramesWaitKeepsBothValues)
{
    PowerOn();
    cat.SetFrameGap(panel::kRadioFrameGap);
    cat.ResetLastInfoVFO(); // as after a split change: every field of the VFO goes out again
    for (char k : std::string("E145.4300"))
        Press(k);
    // A meter poll has just gone out: the final frames wait out the gap behind it, and keys run
    // meanwhile.
    TakeFrames();
    while (port.GetWire().Frames().empty())
        loop.Advance(0.01);
    loop.CallAt(loop.Now() + 0.03, [this] {
        Press('E');
        Press('7');
    });
    Press('0');
    EXPECT_EQ(s.VFOMB.Freq, 14543000);
    EXPECT_EQ(TakeSent(), (std::vector<std::string>{F({0x08, 0, 0, 0, 0x07}), F({0x14, 0x54, 0x30, 0x00, 0x01}),
                                                    F({0x09, 0, 0, 0, 0x09}), F({0x00, 0x06, 0x00, 0x00, 0xF9}),
                                                    F({0x4A, 0, 0, 0, 0x0A}), F({0x08, 0x85, 0, 0, 0x0B})}));
    EXPECT_EQ(radio.A().freq, 14543000u);
    EXPECT_TRUE(s.KeypadOn);
    EXPECT_EQ(display.Get("ledFreq").caption, "---.--7.--") << "the new entry's mask, not the sent frequency";

    for (char k : std::string(".074E"))
        Press(k);
    EXPECT_EQ(s.VFOMB.Freq, 707400);
    EXPECT_EQ(radio.A().freq, 707400u);
    EXPECT_EQ(s.BandData.BandVFOMB[1].Freq, 14543000) << "the first entry's value is kept on its band";
}

} // namespace
