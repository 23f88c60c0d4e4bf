#include "tests/support/PanelRig.h"

#include <set>

using namespace kivo;

namespace {

class Keys : public kivo::testing::PanelRig {
protected:
    void SetUp() override
    {
        WriteUsualFiles();
        panel.Power().Load();
        s.CATOn = true;
    }
    std::set<std::string> EnabledKeys()
    {
        panel.KeyEnabling().ToggleFunctionButtons();
        std::set<std::string> on;
        for (const auto& k : panel::kFunctionKeys)
            if (Enabled(k))
                on.insert(k);
        return on;
    }
    bool ModeKeys()
    {
        bool all = true, any = false;
        for (int m = 0; m < 8; ++m) {
            const bool e = Enabled(platform::DisplayModel::Indexed("ModeButton", m));
            all = all && e;
            any = any || e;
        }
        EXPECT_EQ(all, any) << "the mode keys go together";
        return all;
    }
    bool BandKeysFollowBandDown()
    {
        for (int b = 0; b < 12; ++b)
            if (Enabled(platform::DisplayModel::Indexed("BandButton", b)) != Enabled("BandDownButton"))
                return false;
        return true;
    }
    static std::set<std::string> AllBut(std::set<std::string> out)
    {
        std::set<std::string> k;
        for (const auto& n : panel::kFunctionKeys)
            if (!out.count(n))
                k.insert(n);
        return k;
    }
};

using Set = std::set<std::string>;

TEST_F(Keys, DarkPanelAndTransmitLeaveOnlyPower)
{
    s.CATOn = false;
    s.SubSelected = s.ClarOn = s.ScanArmed = true; // whatever else is set
    EXPECT_EQ(EnabledKeys(), Set{"CATbutton"});
    EXPECT_FALSE(ModeKeys());
    EXPECT_FALSE(Enabled("CLARbutton"));

    // Transmitting: MOX keeps the state it had, so the operator can end the transmission.
    s.CATOn = true;
    s.SubSelected = s.ClarOn = s.ScanArmed = false;
    panel.KeyEnabling().ToggleFunctionButtons();
    ASSERT_TRUE(Enabled("MOXbutton"));
    s.Transmitting = true;
    EXPECT_EQ(EnabledKeys(), (Set{"CATbutton", "MOXbutton"}));
    display.SetEnabled("MOXbutton", false);
    EXPECT_EQ(EnabledKeys(), Set{"CATbutton"});
    EXPECT_TRUE(BandKeysFollowBandDown());
}

TEST_F(Keys, PendingSelectionsAndEntryStates)
{
    s.QMBStore = true;
    s.MCKOn = s.SubSelected = true; // lower rows do not matter
    EXPECT_EQ(EnabledKeys(),
              (Set{"CATbutton", "RPTbutton", "REVbutton", "TONEbutton", "SCANbutton", "PRIbutton", "PMSbutton",
                   "DOPbutton", "BandDownButton", "BandUpButton", "MhzDownButton", "MhzUpButton"}));
    EXPECT_FALSE(ModeKeys());
    EXPECT_TRUE(BandKeysFollowBandDown());
    EXPECT_TRUE(Enabled("BandButton(3)"));

    s.QMBStore = false;
    EXPECT_EQ(EnabledKeys(), (Set{"CATbutton", "MCKbutton"}));
    EXPECT_FALSE(Enabled("BandButton(3)"));

    s.MCKOn = false;
    EXPECT_EQ(EnabledKeys(), (Set{"CATbutton", "SYNCbutton", "FASTbutton", "SUBbutton", "RPTbutton", "REVbutton",
                                  "TONEbutton", "ENTbutton", "SCANbutton", "PRIbutton", "PMSbutton", "DOPbutton",
                                  "BandDownButton", "BandUpButton", "MhzDownButton", "MhzUpButton"}));
    EXPECT_TRUE(ModeKeys());
    EXPECT_FALSE(Enabled("CLARbutton"));

    s.SubSelected = false;
    s.KeypadOn = true;
    EXPECT_EQ(EnabledKeys(),
              (Set{"CATbutton", "RPTbutton", "REVbutton", "TONEbutton", "ENTbutton", "SCANbutton", "PRIbutton",
                   "PMSbutton", "DOPbutton", "BandDownButton", "BandUpButton", "MhzDownButton", "MhzUpButton"}));
    EXPECT_FALSE(ModeKeys());
}

TEST_F(Keys, MonitorClarJogAndScanStates)
{
    s.PRIOn = true;
    s.ClarOn = true;
    EXPECT_EQ(EnabledKeys(), (Set{"CATbutton", "MOXbutton", "FASTbutton", "LOCKbutton", "HOMEbutton", "VFOMRbutton",
                                  "PRIbutton", "MhzDownButton", "MhzUpButton"}));
    EXPECT_FALSE(ModeKeys());

    s.PRIOn = false;
    EXPECT_EQ(EnabledKeys(), (Set{"CATbutton", "MOXbutton", "RCLbutton", "STObutton", "FASTbutton", "LOCKbutton",
                                  "HOMEbutton", "VFOMRbutton", "REVbutton", "ENTbutton", "PMSbutton", "MhzDownButton",
                                  "MhzUpButton", "CLARbutton"}));
    EXPECT_TRUE(ModeKeys());

    s.ScanArmed = true;
    s.ScanDir = -1; // a scan the jog started after CLAR: its own keys only
    EXPECT_EQ(EnabledKeys(), (Set{"CATbutton", "SCANbutton"}));
    s.ScanArmed = false;
    s.ScanDir = 0;

    s.ClarOn = false;
    s.JogHeld = true;
    EXPECT_EQ(EnabledKeys(), (Set{"CATbutton", "MOXbutton"}));
    s.JogHeld = false;

    s.ScanArmed = true;
    s.ScanDir = 1;
    EXPECT_EQ(EnabledKeys(), (Set{"CATbutton", "SCANbutton"}));
    s.ScanArmed = false;
    s.SearchOn = true;
    EXPECT_EQ(EnabledKeys(), (Set{"CATbutton", "SEARCHbutton"}));
    s.SearchOn = false;

    s.ScanArmed = true;
    s.ScanDir = 0;
    EXPECT_EQ(EnabledKeys(),
              AllBut({"SEARCHbutton", "SCOPEbutton", "RCLbutton", "STObutton", "HOMEbutton", "VFOMRbutton",
                      "SPLITbutton", "SWAPbutton", "PRIbutton", "PMSbutton", "DOPbutton"}));
    EXPECT_TRUE(ModeKeys());
    EXPECT_TRUE(Enabled("CLARbutton"));
}

TEST_F(Keys, FunctionRowsAndTheDopKey)
{
    s.VFOMRMode = state::kModePMS;
    EXPECT_EQ(EnabledKeys(), AllBut({"SCOPEbutton", "SWAPbutton", "DOPbutton"}));
    EXPECT_TRUE(ModeKeys());

    s.VFOMRMode = state::kModeVFO;
    EXPECT_EQ(EnabledKeys(), AllBut({"DOPbutton"}));
    s.SplitOn = true;
    EXPECT_EQ(EnabledKeys(), AllBut({}));
    s.SplitOn = false;

    s.VFOMRMode = state::kModeMR;
    s.CurMemPos = 7;
    EXPECT_EQ(EnabledKeys(), AllBut({"SEARCHbutton", "SCOPEbutton", "RCLbutton", "STObutton", "DOPbutton"}));
    s.MemData[7].Split = -1;
    EXPECT_TRUE(EnabledKeys().count("DOPbutton"));
    EXPECT_TRUE(ModeKeys());
    EXPECT_TRUE(Enabled("CLARbutton"));
    EXPECT_TRUE(BandKeysFollowBandDown());
}

TEST_F(Keys, KnobsFollowLockEntryScanAndClar)
{
    panel.KeyEnabling().ChangeTuningKnob();
    for (const char* k : {"MainKnob", "SubKnob", "ChannelKnob", "btnJogUp", "btnJogDown"})
        EXPECT_TRUE(Enabled(k)) << k;

    s.LockOn = true;
    panel.KeyEnabling().ChangeTuningKnob();
    for (const char* k : {"MainKnob", "SubKnob", "ChannelKnob", "btnJogUp", "btnJogDown"})
        EXPECT_FALSE(Enabled(k)) << k;
    s.ScanArmed = true; // the jog keys still run a scan
    panel.KeyEnabling().ChangeTuningKnob();
    EXPECT_FALSE(Enabled("MainKnob"));
    EXPECT_TRUE(Enabled("btnJogUp"));
    s.LockOn = false;

    s.ScanDir = 1;
    panel.KeyEnabling().ChangeTuningKnob();
    EXPECT_FALSE(Enabled("MainKnob"));
    EXPECT_FALSE(Enabled("ChannelKnob"));
    s.ScanArmed = false;
    s.ScanDir = 0;

    s.ClarOn = true;
    panel.KeyEnabling().ChangeTuningKnob();
    EXPECT_TRUE(Enabled("MainKnob"));
    EXPECT_TRUE(Enabled("SubKnob"));
    EXPECT_FALSE(Enabled("ChannelKnob"));
    s.ClarOn = false;
    s.MCKOn = true;
    panel.KeyEnabling().ChangeTuningKnob();
    EXPECT_FALSE(Enabled("MainKnob"));
    EXPECT_TRUE(Enabled("ChannelKnob"));
    EXPECT_FALSE(Enabled("btnJogUp"));
    s.MCKOn = false;

    s.KeypadOn = true;
    panel.KeyEnabling().ChangeTuningKnob();
    EXPECT_FALSE(Enabled("MainKnob"));
    s.KeypadOn = false;
    s.Transmitting = true;
    panel.KeyEnabling().ChangeTuningKnob();
    EXPECT_FALSE(Enabled("SubKnob"));
}

} // namespace
