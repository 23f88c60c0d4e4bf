// The CTCSS tone, DCS code and repeater shift dialogs' models: what each button stores and sends.

#include "tests/support/PanelRig.h"

using namespace kivo;
using kivo::testing::F;
using platform::Buttons;
using platform::Icon;
using state::Long;

namespace {

// The usual files, lit: the main VFO on 145.200 FM, 88.5 Hz; the sub VFO on 433.100, 100.0 Hz,
// DCS 036.
class ToneDialogs : public kivo::testing::PanelRig {
protected:
    void SetUp() override { StartLit(); }
};

TEST_F(ToneDialogs, CtcssDefaultThenCancelLeaves88_5InForce)
{
    auto& d = panel.CtcssTones();
    s.VFOMB.CTCSSidx = 12;
    d.Show();
    EXPECT_EQ(d.Caption(), "CTCSS Tone (MAIN VFO)");
    EXPECT_STREQ(d.Frame(), "Frequency (Hz)");
    ASSERT_EQ(d.Options().size(), 39u);
    EXPECT_EQ(d.Options().front(), "67.0");
    EXPECT_EQ(d.Options()[8], "88.5");
    EXPECT_EQ(d.Options().back(), "250.3");
    EXPECT_EQ(d.Selected(), 12);

    d.Select(0);
    d.DEFAULT();
    EXPECT_TRUE(d.IsOpen());
    EXPECT_EQ(d.Selected(), 8);
    EXPECT_EQ(s.VFOMB.CTCSSidx, 8);
    EXPECT_EQ(TakeSent(), std::vector<std::string>{F({0x08, 0x85, 0, 0, 0x0B})});
    d.CANCEL();
    EXPECT_FALSE(d.IsOpen());
    EXPECT_EQ(s.VFOMB.CTCSSidx, 8);
    EXPECT_EQ(radio.CtcssTenthsHz(), 885);
    EXPECT_TRUE(TakeSent().empty());
}

TEST_F(ToneDialogs, EachDialogSavesIntoTheVfoBeingChanged)
{
    struct Row {
        const char* name;
        bool dcs, sub;
        int pick;
        const char* caption;
        std::vector<std::string> frames;
    } const rows[] = {
        {"CTCSS, main VFO", false, false, 38, "CTCSS Tone (MAIN VFO)", {F({0x25, 0x03, 0, 0, 0x0B})}},
        {"CTCSS, sub VFO", false, true, 0, "CTCSS Tone (SUB VFO)", {F({0x06, 0x70, 0, 0, 0x0B})}},
        {"DCS, main VFO", true, false, 103, "DCS Code (MAIN VFO)", {F({0x07, 0x54, 0, 0, 0x0C})}},
        {"DCS, sub VFO: remembered, not sent", true, true, 1, "DCS Code (SUB VFO)", {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        s.SubSelected = r.sub;
        auto& d = r.dcs ? panel.DcsCodes() : panel.CtcssTones();
        d.Show();
        EXPECT_EQ(d.Caption(), r.caption);
        d.Select(r.pick);
        d.Select(999); // not an option: nothing
        d.SAVE();
        EXPECT_FALSE(d.IsOpen());
        const state::VFOInfo& v = r.sub ? s.VFOSB : s.VFOMB;
        EXPECT_EQ(r.dcs ? v.DCSidx : v.CTCSSidx, r.pick);
        EXPECT_EQ(TakeSent(), r.frames);
    }
    s.SubSelected = false;

    auto& dcs = panel.DcsCodes();
    dcs.Show();
    EXPECT_STREQ(dcs.Frame(), "Code Number");
    ASSERT_EQ(dcs.Options().size(), 104u);
    EXPECT_EQ(dcs.Options().front(), "023");
    EXPECT_EQ(dcs.Options().back(), "754");
    dcs.DEFAULT();
    EXPECT_EQ(s.VFOMB.DCSidx, 0);
    EXPECT_EQ(TakeSent(), std::vector<std::string>{F({0x00, 0x23, 0, 0, 0x0C})});
    EXPECT_EQ(radio.DcsCode(), 23);
}

TEST_F(ToneDialogs, WhileDarkTheyStoreAndPowerOnSends)
{
    panel.Power().PressPower();
    TakeFrames();
    auto& d = panel.CtcssTones();
    d.Show();
    d.Select(12);
    d.SAVE();
    EXPECT_TRUE(TakeFrames().empty());
    EXPECT_EQ(s.VFOMB.CTCSSidx, 12);
    panel.Power().PressPower();
    loop.Advance(0.5);
    EXPECT_EQ(radio.CtcssTenthsHz(), 1000);
}

TEST(RepeaterShiftText, AsTheBoxesShowAndTakeIt)
{
    struct Shown {
        Long offset;
        const char* text;
    } const shown[] = {{60000, ".60"},     {500000, "5.00"}, {0, ".00"},         {612500, "6.12"},
                       {2000000, "20.00"}, {10000, ".10"},   {9999999, "99.99"}, {999, ".00"}};
    for (const Shown& r : shown)
        EXPECT_EQ(panel::RptOffsetText(r.offset), r.text) << r.offset;

    struct Typed {
        const char* text;
        std::optional<Long> offset;
    } const typed[] = {
        {"0.60", 60000},    {".6", 60000},         {"5", 500000},     {"5.", 500000},
        {"0", 0},           {" 1.7 ", 170000},     {"6.125", 613000}, {"6.1249", 612000},
        {"99.99", 9999000}, {"99.995", {}},        {"100", {}},       {"abc", {}},
        {"-1", {}},         {"-0.60", {}},         {"", {}},          {"  ", {}},
        {".", {}},          {"1.2.3", {}},         {"1,5", {}},       {"1e3", {}},
        {"+5", {}},         {"1234567890123", {}},
    };
    for (const Typed& r : typed)
        EXPECT_EQ(panel::ParseRptOffset(r.text), r.offset) << '"' << r.text << '"';
}

TEST_F(ToneDialogs, RepeaterShiftSaveOf0_60Stores60000)
{
    auto& d = panel.RepeaterShifts();
    s.BandData.BandVFOMB[1].RptOffset = 100000;
    s.Settings.AutoRptShift430 = 0;
    s.BandData.BandVFOSB[1].RptOffset = 123000;
    d.Show();
    EXPECT_EQ(d.Text(0), "5.00");
    EXPECT_EQ(d.Text(1), "1.00");
    EXPECT_EQ(d.Text(2), "1.00");
    EXPECT_EQ(d.Text(3), ".10");
    EXPECT_TRUE(d.AutoShift144());
    EXPECT_FALSE(d.AutoShift430());

    d.SetText(1, "0.60");
    EXPECT_TRUE(d.LeaveBox(1));
    EXPECT_EQ(d.Text(1), ".60");
    d.SetText(3, "0");
    d.SetAutoShift144(false);
    d.SAVE();
    EXPECT_FALSE(d.IsOpen());
    EXPECT_EQ(s.BandData.BandVFOMB[1].RptOffset, 60000);
    EXPECT_EQ(s.BandData.BandPMSVFO[1].RptOffset, 60000);
    EXPECT_EQ(s.BandData.BandVFOSB[1].RptOffset, 123000) << "the sub VFO's slot keeps its shift";
    EXPECT_EQ(s.BandData.BandVFOMB[3].RptOffset, 0);
    EXPECT_EQ(s.Settings.AutoRptShift144, 0);
    EXPECT_EQ(s.Settings.AutoRptShift430, 0);
    // The main VFO on 2 m takes its band's shift, and so does the radio.
    EXPECT_EQ(s.VFOMB.RptOffset, 60000);
    EXPECT_EQ(TakeSent(), std::vector<std::string>{F({0x00, 0x06, 0x00, 0x00, 0xF9})});
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(ToneDialogs, ARepeaterShiftThatIsNotOneIsRefusedAndNothingStored)
{
    auto& d = panel.RepeaterShifts();
    for (const char* text : {"abc", "-0.60", "100.00"}) {
        SCOPED_TRACE(text);
        dialogs.boxes.clear();
        d.Show();
        d.SetText(1, text);
        d.SAVE();
        ASSERT_EQ(dialogs.boxes.size(), 1u);
        EXPECT_EQ(dialogs.boxes[0].text, std::string("\"") + text +
                                             "\" is not a repeater shift. Type the 144 MHz shift in megahertz, "
                                             "from 0 up to 99.99, for example .60 or 5.00.");
        EXPECT_EQ(dialogs.boxes[0].title, "Repeater Shift");
        EXPECT_EQ(dialogs.boxes[0].icon, Icon::Exclamation);
        EXPECT_EQ(dialogs.boxes[0].buttons, Buttons::Ok);
        EXPECT_TRUE(d.IsOpen()) << "the user sees the box again";
        EXPECT_EQ(d.Text(1), ".60") << "the box keeps its previous value";
        EXPECT_EQ(s.BandData.BandVFOMB[1].RptOffset, 60000);
        EXPECT_TRUE(TakeSent().empty());
        d.CANCEL();
    }

    // Leaving the box refuses the same way, and keeps the last good text it had.
    d.Show();
    d.SetText(0, "7.6");
    EXPECT_TRUE(d.LeaveBox(0));
    d.SetText(0, "7,6");
    EXPECT_FALSE(d.LeaveBox(0));
    EXPECT_EQ(d.Text(0), "7.60");
}

TEST_F(ToneDialogs, RepeaterShiftDefaultStoresNothingUntilSave)
{
    auto& d = panel.RepeaterShifts();
    s.Settings.AutoRptShift144 = s.Settings.AutoRptShift430 = 0;
    s.BandData.BandVFOMB[0].RptOffset = 760000;
    d.Show();
    d.DEFAULT();
    EXPECT_EQ(d.Text(0), "5.00");
    EXPECT_EQ(d.Text(1), ".60");
    EXPECT_EQ(d.Text(2), "1.00");
    EXPECT_EQ(d.Text(3), ".10");
    EXPECT_TRUE(d.AutoShift144() && d.AutoShift430());
    EXPECT_EQ(s.BandData.BandVFOMB[0].RptOffset, 760000);
    d.CANCEL();
    EXPECT_EQ(s.Settings.AutoRptShift144, 0);
    EXPECT_EQ(s.BandData.BandVFOMB[0].RptOffset, 760000);

    // On 20 m the main VFO keeps its own shift; nothing goes to the radio.
    panel.BandMode().PressBand(7);
    TakeFrames();
    d.Show();
    d.DEFAULT();
    d.SAVE();
    EXPECT_EQ(s.BandData.BandVFOMB[0].RptOffset, 500000);
    EXPECT_EQ(s.Settings.AutoRptShift144, -1);
    EXPECT_EQ(s.VFOMB.RptOffset, 0);
    EXPECT_TRUE(TakeSent().empty());
}

} // namespace
