#include "tests/support/PanelRig.h"

using namespace kivo;
using kivo::testing::F;
using state::Long;

namespace {

// The usual files, lit: the main VFO on 145.200 FM, minus shift, tone encoder (band 1).
class MemoryCheck : public kivo::testing::PanelRig {
protected:
    void SetUp() override { StartLit(); }
    void Press() { panel.MemoryCheck().MCKbutton_MouseDown(); }
    void Release() { panel.MemoryCheck().MCKbutton_MouseUp(); }
    // A turn of the channel knob as the window makes it: grab, one detent, release.
    void Browse(int detents)
    {
        auto& t = panel.Tuning();
        t.SetupTuningKnob(panel::kChannelKnob, panel::kGrab);
        m_knob += detents;
        t.ChannelKnob_Change(m_knob);
        t.SetupTuningKnob(panel::kChannelKnob, panel::kRelease);
    }
    std::string Caption(const std::string& n) const { return display.Get(n).caption; }

    Long m_knob = 0;
};

TEST_F(MemoryCheck, ASecondPressLeavesOrHeldLongerStoresAndTheVfoIsShownAgain)
{
    struct Row {
        const char* name;
        double hold;
        bool storedBeforeRelease;
        bool stored;
    } const rows[] = {
        {"released after 0.3 s: leaves", 0.3, false, false},
        {"released after 0.6 s, between two blinks: stores", 0.6, false, true},
        {"held 1 s: stores while held", 1.0, true, true},
    };
    const state::MemRec usb{{1420000, 1, 0, 0, 0, 0, 0, 0}, {}, {}, 0, 0, 0, 7, 0};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        s.MemData[43] = usb;
        s.MemCount = 1;
        s.MemChanged = false;
        s.CurMemPos = 44;
        dialogs.beeps = 0;
        Press();
        Release();
        EXPECT_TRUE(s.MCKOn);
        EXPECT_EQ(Caption("ledMRnumber"), "044");
        EXPECT_TRUE(Enabled("MCKbutton"));
        EXPECT_FALSE(Enabled("VFOMRbutton"));
        loop.Advance(0.1);
        Browse(-1);
        EXPECT_EQ(Caption("ledFreq"), "14.200.00") << "the memory stays shown after the knob's release";
        EXPECT_TRUE(Shown(el::lblMBmode(1)));
        EXPECT_FALSE(Shown("lblMainENC"));
        // The blinks fall every quarter second from the first press; the second press comes
        // 0.3 s after it, so the next blinks are 0.2, 0.45 and 0.7 s into the hold.
        loop.Advance(0.2);
        Press();
        loop.Advance(r.hold);
        EXPECT_EQ(s.MCKOn, !r.storedBeforeRelease);
        Release();
        EXPECT_FALSE(s.MCKOn);
        EXPECT_EQ(dialogs.beeps, 2) << "one on entering, one on leaving or storing";
        EXPECT_EQ(s.MemData[43].VFO1 == s.VFOMB, r.stored);
        EXPECT_EQ(s.MemChanged, r.stored);
        EXPECT_EQ(s.MemCount, 1);
        // The main display shows what the radio holds, and the next send is complete.
        EXPECT_EQ(Caption("ledFreq"), "145.200.00");
        EXPECT_TRUE(Shown(el::lblMBmode(5)));
        EXPECT_FALSE(Shown(el::lblMBmode(1)));
        EXPECT_TRUE(Shown("lblMainENC"));
        EXPECT_TRUE(Shown(el::ImgRPTdirection(1)));
        EXPECT_FALSE(Shown("ledMRnumber"));
        EXPECT_FALSE(Shown("lblMCK"));
        EXPECT_EQ(cat.LastInfo.MB.Mode, radio::LastInfoVFO::kUnknown);
        EXPECT_FALSE(panel.TimerDelay().Running());
        EXPECT_TRUE(Enabled("VFOMRbutton"));
        EXPECT_TRUE(TakeSent().empty()) << "memory check sends nothing";
    }
}

TEST_F(MemoryCheck, InMrAShortSecondPressReturnsToTheMemoryInUse)
{
    s.MemData[5].VFO1 = {14505000, 5, 60000, -1, 1, 8, 0, 0};
    s.MemData[5].Band1 = 1;
    s.MemCount = 1;
    panel.Memories().PressVfoMr();
    Press();
    Release();
    Browse(1);
    EXPECT_EQ(Caption("ledMRnumber"), "006");
    EXPECT_EQ(Caption("ledFreq"), "");
    Press();
    loop.Advance(0.2);
    Release();
    EXPECT_EQ(s.CurMemPos, 5);
    EXPECT_EQ(Caption("ledMRnumber"), "005");
    EXPECT_EQ(Caption("ledFreq"), "145.050.00");
    EXPECT_TRUE(Shown("ledMRnumber"));
    EXPECT_EQ(radio.A().freq, 14505000u);
}

TEST_F(MemoryCheck, AStoredMemoryIsSavedAndReopenedByteForByte)
{
    const std::string path = dir / "club.mem";
    s.CurMemPos = 7;
    Press();
    Release();
    Press();
    loop.Advance(0.6);
    Release();
    EXPECT_EQ(s.MemCount, 1);
    ASSERT_TRUE(s.MemChanged);

    dialogs.files = {path};
    ASSERT_TRUE(memory.SaveCommand());
    const std::string bytes = kivo::testing::ReadAll(path);
    ASSERT_EQ(bytes.size(), 103000u);
    // 145.200 FM, 600 kHz minus shift, tone encoder on tone 8; no sub VFO, blank description,
    // not split, not skipped, band 1.
    const std::string vfo1 = F({0xC0, 0x8E, 0xDD, 0x00, 0x05, 0x00, 0x60, 0xEA, 0x00, 0x00, 0xFF,
                                0xFF, 0x01, 0x00, 0x08, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00});
    const std::string record = vfo1 + std::string(22 + 49 + 6, '\0') + F({0x01, 0x00, 0x00, 0x00});
    EXPECT_EQ(bytes.substr(7 * 103, 103), record);
    EXPECT_EQ(bytes.find_first_not_of('\0', 8 * 103), std::string::npos);
    EXPECT_EQ(bytes.find_first_not_of('\0'), 7 * 103u);

    const state::MemRec stored = s.MemData[7];
    s.EmptyMemData();
    ASSERT_TRUE(memory.OpenMemoryFile(path));
    EXPECT_EQ(s.MemData[7], stored);
    EXPECT_EQ(s.MemCount, 1);
}

TEST_F(MemoryCheck, PowerOffEndsMemoryCheckAndAPendingQuickMemory)
{
    Press();
    Release();
    panel.Power().PressPower();
    EXPECT_FALSE(s.MCKOn);
    EXPECT_EQ(s.TimerDelayTag, "OFF");
    panel.Power().PressPower();
    panel.QuickMemories().PressSto();
    panel.Power().PressPower();
    EXPECT_FALSE(s.QMBStore);
    EXPECT_FALSE(Shown("lblQMB"));
    EXPECT_FALSE(panel.TimerDelay().Running());
}

using QuickMemories = MemoryCheck;

TEST_F(QuickMemories, StoThenFiveSecondsOfNothingDisarms)
{
    panel.QuickMemories().PressSto();
    EXPECT_TRUE(s.QMBStore);
    EXPECT_TRUE(Enabled("RPTbutton"));
    EXPECT_FALSE(Enabled("VFOMRbutton"));
    bool blinked = false;
    for (int i = 0; i < 9; ++i) {
        loop.Advance(0.5);
        blinked = blinked || Shown("lblQMB");
    }
    EXPECT_TRUE(blinked);
    EXPECT_TRUE(s.QMBStore) << "armed after 4.5 s";
    loop.Advance(1.2);
    EXPECT_FALSE(s.QMBStore);
    EXPECT_FALSE(Shown("lblQMB"));
    EXPECT_FALSE(panel.TimerDelay().Running());
    EXPECT_TRUE(Enabled("VFOMRbutton"));
    // Nothing but the meter poll's reads of the radio's dial.
    for (const auto& f : TakeSent())
        EXPECT_EQ(f, F({0, 0, 0, 0, 0x03}));
}

TEST_F(QuickMemories, StoThenRptStoresQuickMemoryOneAndRclRecallsIt)
{
    const auto rpt = std::find_if(panel::kDigitKeys.begin(), panel::kDigitKeys.end(),
                                  [](const panel::DigitKey& d) { return d.key == el::RPTbutton; });
    ASSERT_EQ(rpt->digit, 1);
    panel.QuickMemories().PressSto();
    EXPECT_TRUE(panel.Keypad().DigitKey(rpt->digit));
    EXPECT_FALSE(s.QMBStore);
    const state::QuickMemRec& q = s.QuickMem[1];
    EXPECT_EQ(q.VFO1, s.VFOMB);
    EXPECT_EQ(q.VFO2, s.VFOSB);
    EXPECT_EQ(q.Band1, 1);
    EXPECT_EQ(q.Band2, 0);
    EXPECT_TRUE(TakeSent().empty());

    panel.BandMode().PressBand(7);
    TakeFrames();
    panel.QuickMemories().PressRcl();
    panel.Keypad().DigitKey(1);
    EXPECT_FALSE(s.QMBRecall);
    EXPECT_EQ(s.VFOMB, q.VFO1);
    EXPECT_EQ(s.BandIdxMB, 1);
    EXPECT_EQ(TakeSent(), (std::vector<std::string>{F({0x08, 0, 0, 0, 0x07}), F({0x14, 0x52, 0x00, 0x00, 0x01}),
                                                    F({0x09, 0, 0, 0, 0x09}), F({0x00, 0x06, 0x00, 0x00, 0xF9}),
                                                    F({0x4A, 0, 0, 0, 0x0A})}));
    EXPECT_EQ(s.BandData.TuneHigh[1], s.BandData.CoverHigh[1]);

    panel.QuickMemories().PressRcl();
    panel.Tuning().PressMhz(false); // the digit 9
    ExpectOneBox("The Quick Memory position 9 does not contain any information. Please store information in this "
                 "position before attempting to recall.",
                 "Quick Memory Recall", platform::Icon::Exclamation, platform::Buttons::Ok);
    EXPECT_FALSE(s.QMBRecall);
    EXPECT_EQ(s.VFOMB, q.VFO1);
}

} // namespace
