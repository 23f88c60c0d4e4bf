#include "tests/support/PanelRig.h"

#include <set>

using namespace kivo;
using state::Long;

namespace {

// The usual files, lit: the main VFO on 145.200 FM (band 1). The simulator's band has FM
// carriers centred on 144.300, 145.000 and 145.600 and the squelch at S1.
class Scan : public kivo::testing::PanelRig {
protected:
    void SetUp() override
    {
        StartLit();
        s.Settings.ChannelStep[1][5] = 2500;    // 25 kHz
        panel.Scanner().ChooseScanSpeed(5);     // 200 ms
        panel.Scanner().ChoosePauseInterval(2); // 5 s
    }
    void Store(int pos, Long freq, bool selected = true, int skip = 0)
    {
        auto& m = s.MemData[std::size_t(pos)];
        m.VFO1 = {freq, 5, 60000, 0, 0, 8, 0, 0};
        m.Band1 = 1;
        m.BankSel = selected ? -1 : 0;
        m.Skip = skip;
        ++s.MemCount;
    }
    // Each frequency the panel set, with the time it reached the radio.
    struct Set {
        double at;
        Long freq;
    };
    std::vector<Set> TakeSets()
    {
        std::vector<Set> v;
        for (const auto& f : port.GetWire().Frames()) {
            if (f.bytes.size() != 5 || f.bytes[4] != 0x01)
                continue;
            Long freq = 0;
            for (int i = 0; i < 4; ++i) {
                const auto b = std::uint8_t(f.bytes[std::size_t(i)]);
                freq = freq * 100 + (b >> 4) * 10 + (b & 0x0F);
            }
            v.push_back({f.at, freq});
        }
        port.GetWire().ClearFrames();
        return v;
    }
    void Jog(int dir)
    {
        panel.Tuning().JogButton_Press(dir);
        panel.Tuning().JogButton_Release();
    }
};

TEST_F(Scan, FmScanPausesOnACentredCarrierForTheChosenTimeThenMovesOn)
{
    s.VFOMB.Freq = 14550000;
    panel.Scanner().PressScan();
    EXPECT_TRUE(s.ScanArmed);
    EXPECT_EQ(s.ScanDir, 1);
    EXPECT_TRUE(Shown(el::lblSCAN));
    loop.Advance(10);
    const auto sets = TakeSets();
    std::vector<Long> freqs;
    double onCarrier = 0, leftCarrier = 0;
    for (std::size_t i = 0; i < sets.size(); ++i) {
        freqs.push_back(sets[i].freq);
        if (sets[i].freq == 14560000 && i + 1 < sets.size()) {
            onCarrier = sets[i].at;
            leftCarrier = sets[i + 1].at;
        }
    }
    ASSERT_GE(freqs.size(), 6u);
    EXPECT_EQ((std::vector<Long>(freqs.begin(), freqs.begin() + 6)),
              (std::vector<Long>{14552500, 14555000, 14557500, 14560000, 14562500, 14565000}));
    // Off-centre readings around the carrier never pause; the centred one holds for 5 s.
    EXPECT_GE(leftCarrier - onCarrier, 5.0);
    EXPECT_LT(leftCarrier - onCarrier, 5.8);
    EXPECT_LT(sets[1].at - sets[0].at, 0.5);
}

TEST_F(Scan, FmScanWithPauseOffHoldsWhileTheSignalStaysCentred)
{
    panel.Scanner().ChoosePauseInterval(4);
    s.VFOMB.Freq = 14557500;
    panel.Scanner().PressScan();
    // The hold lasts inside one tick; look at it from the event loop.
    bool held = false;
    loop.CallAt(loop.Now() + 30, [&] {
        held = radio.Current().freq == 14560000u && Shown(el::lblBusy);
        radio.Band().clear(); // the carrier goes away: the scan moves on
    });
    loop.Advance(31);
    EXPECT_TRUE(held);
    EXPECT_GT(radio.Current().freq, 14560000u);
    EXPECT_FALSE(Shown(el::lblBusy));
}

TEST_F(Scan, UsbScanCreepsThroughACarrierIn50HzStepsAndRunsIn500HzElsewhere)
{
    s.VFOMB.Mode = 1;
    s.VFOMB.Freq = 14427000;
    panel.Scanner().PressScan();
    loop.Advance(200);
    const auto sets = TakeSets();
    ASSERT_GT(sets.size(), 200u);
    EXPECT_EQ(sets[0].freq, 14427005); // starts with a 50 Hz step
    int slow = 0, fast = 0;
    for (std::size_t i = 1; i + 1 < sets.size(); ++i) {
        const Long f = sets[i].freq, next = sets[i + 1].freq;
        SCOPED_TRACE(f);
        if (radio.SignalAt(std::uint32_t(f)) >= radio.Squelch()) {
            EXPECT_EQ(next - f, 5);
            ++slow;
        } else {
            EXPECT_GE(next - f, 25);
            EXPECT_LE(next - f, 100); // the first quiet step also rounds to 500 Hz
            ++fast;
        }
        EXPECT_LT(sets[i + 1].at - sets[i].at, 0.5); // never stops
    }
    EXPECT_GT(slow, 100);
    EXPECT_GT(fast, 10);
}

TEST_F(Scan, StepFrequencyWrapsAtTheTuningOrPmsLimits)
{
    s.BandData.TuneLow[1] = 14400000;
    s.BandData.TuneHigh[1] = 14600000;
    s.BandData.PMSLow[1] = 14500000;
    s.BandData.PMSHigh[1] = 14550000;
    struct Row {
        const char* name;
        state::Integer function;
        Long from, step, lands;
    } const rows[] = {
        {"up below the top", state::kModeVFO, 14597500, 2500, 14400000},
        {"up just below the top", state::kModeVFO, 14599995, 5, 14400000},
        {"down from the bottom", state::kModeVFO, 14400000, -2500, 14597500},
        {"up inside", state::kModeVFO, 14500000, 2500, 14502500},
        {"PMS up at its top", state::kModePMS, 14547500, 2500, 14500000},
        {"PMS down from its bottom", state::kModePMS, 14500000, -2500, 14547500},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        s.VFOMRMode = r.function;
        s.VFOMB.Freq = r.from;
        s.ScanStep = r.step;
        s.ScanDir = r.step > 0 ? 1 : -1;
        panel.Tuning().StepFrequency();
        EXPECT_EQ(s.VFOMB.Freq, r.lands);
        EXPECT_EQ(radio.Current().freq, std::uint32_t(r.lands));
    }
    s.ScanDir = 0;
}

TEST_F(Scan, MemoryScanSkipsSkippedPositionsAndUnselectedBanks)
{
    Store(3, 14610000, true, -1); // skipped
    Store(5, 14620000, false);    // bank not selected
    Store(7, 14630000);
    Store(999, 14640000);
    panel.Memories().PressVfoMr();
    s.CurMemPos = 7;
    TakeSets();
    panel.Scanner().PressScan();
    loop.Advance(3);
    std::vector<Long> seen;
    for (const auto& set : TakeSets())
        seen.push_back(set.freq);
    ASSERT_GE(seen.size(), 4u);
    for (std::size_t i = 0; i < seen.size(); ++i)
        EXPECT_EQ(seen[i], i % 2 == 0 ? 14640000 : 14630000) << i;
    EXPECT_FALSE(Shown(el::lblMemoryDesc));
    Jog(1); // stops; still armed
    EXPECT_EQ(s.ScanDir, 0);
    EXPECT_TRUE(s.ScanArmed);
    EXPECT_FALSE(panel.Scanner().TimerScannerMR().Enabled());
}

TEST_F(Scan, MemoryScanWithNothingScannableStopsAndSaysSo)
{
    Store(3, 14610000, true, -1);
    Store(5, 14620000, false);
    panel.Memories().PressVfoMr();
    dialogs.boxes.clear();
    const int beeps = dialogs.beeps;
    panel.Scanner().PressScan();
    loop.Advance(2);
    EXPECT_EQ(s.ScanDir, 0);
    EXPECT_FALSE(panel.Scanner().TimerScannerMR().Enabled());
    EXPECT_EQ(dialogs.beeps, beeps + 1);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].title, "Memory Scan");
}

TEST_F(Scan, SearchStoresEachCarrierOnceInTheFirstEmptyPositions)
{
    s.BandData.TuneLow[1] = 14400000;
    s.BandData.TuneHigh[1] = 14700000;
    Store(1, 14800000);
    Store(3, 14810000);
    s.VFOMB.Freq = 14400000;
    panel.Scanner().PressSearch();
    EXPECT_TRUE(Shown(el::lblSEARCH));
    loop.Advance(80); // more than two rounds of 120 channels
    panel.Scanner().PressSearch();
    EXPECT_FALSE(s.SearchOn);
    EXPECT_FALSE(Shown(el::lblSEARCH));
    std::multiset<Long> stored;
    for (int pos = 0; pos < state::kMemCount; ++pos)
        if (s.MemData[std::size_t(pos)].VFO1.Freq > 0)
            stored.insert(s.MemData[std::size_t(pos)].VFO1.Freq);
    EXPECT_EQ(stored, (std::multiset<Long>{14430000, 14500000, 14560000, 14800000, 14810000}));
    EXPECT_EQ(s.MemData[2].VFO1.Freq, 14430000);
    EXPECT_EQ(s.MemData[4].VFO1.Freq, 14500000);
    EXPECT_EQ(s.MemData[5].VFO1.Freq, 14560000);
    EXPECT_EQ(s.MemData[0].VFO1.Freq, 0);
    EXPECT_TRUE(s.MemChanged);
}

TEST_F(Scan, SearchWithEveryPositionUsedStoresNothingAndStops)
{
    for (int pos = 1; pos < state::kMemCount; ++pos)
        Store(pos, 14800000 + pos);
    s.VFOMB.Freq = 14425000;
    panel.Scanner().PressSearch();
    loop.Advance(3);
    EXPECT_FALSE(s.SearchOn);
    EXPECT_EQ(s.ScanDir, 0);
    EXPECT_EQ(s.MemData[0].VFO1.Freq, 0);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].title, "Memory Full");
}

TEST_F(Scan, SearchOutsideFmIsRefused)
{
    s.VFOMB.Mode = 1;
    panel.Scanner().PressSearch();
    EXPECT_FALSE(s.SearchOn);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "The search function can only be activated while in FM mode.");
    EXPECT_EQ(dialogs.boxes[0].title, "Search Function Warning");
}

TEST_F(Scan, ASilentRadioIsAskedAgainThenTheScanStops)
{
    s.VFOMB.Freq = 14620000;
    panel.Scanner().PressScan();
    loop.Advance(1);
    TakeFrames();
    for (int i = 0; i < 50; ++i)
        port.GetWire().InjectFault({sim::Fault::NoReply});
    loop.Advance(5);
    int requests = 0;
    for (const auto& f : TakeFrames())
        requests += std::uint8_t(f[4]) == 0xE7;
    EXPECT_GE(requests, panel::ScanStatus::kSilentTries);
    EXPECT_EQ(s.ScanDir, 0);
    EXPECT_FALSE(panel.Scanner().TimerScanner().Enabled());
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "The radio is not answering. Scanning has been stopped.");
}

TEST_F(Scan, AJogClickDuringAPauseStopsAtOnce)
{
    s.VFOMB.Freq = 14557500;
    panel.Scanner().PressScan();
    // The pause waits inside a tick; the click comes from the event loop.
    Long pausedOn = 0;
    loop.CallAt(loop.Now() + 1.5, [&] {
        pausedOn = Long(radio.Current().freq);
        Jog(-1);
        EXPECT_EQ(s.ScanDir, 0);
    });
    loop.Advance(10);
    EXPECT_EQ(pausedOn, 14560000);
    EXPECT_EQ(radio.Current().freq, 14560000u);
    EXPECT_FALSE(panel.Scanner().TimerScanner().Enabled());
    Jog(-1); // starts again, downwards
    EXPECT_EQ(s.ScanDir, -1);
    EXPECT_EQ(radio.Current().freq, 14557500u);
}

TEST_F(Scan, ScanKeyEntersADigitOrArmsOrIsRefusedWithTheIntervalOff)
{
    panel.Keypad().PressEnt();
    panel.Scanner().PressScan();
    EXPECT_FALSE(s.ScanArmed);
    panel.Keypad().PressEnt();
    panel.Scanner().ChooseScanSpeed(6);
    EXPECT_EQ(panel.Scanner().TimerScanner().Interval(), 0);
    dialogs.boxes.clear();
    panel.Scanner().PressScan();
    EXPECT_FALSE(s.ScanArmed);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].title, "Scan Interval OFF");
}

TEST_F(Scan, PowerOffDisarmsScan)
{
    panel.Scanner().PressScan();
    loop.Advance(1);
    panel.Power().PressPower();
    EXPECT_FALSE(s.ScanArmed);
    EXPECT_EQ(s.ScanDir, 0);
    EXPECT_FALSE(Shown(el::lblSCAN));
    EXPECT_FALSE(panel.Scanner().TimerScanner().Enabled());
}

TEST_F(Scan, StartUpAppliesTheStoredScanningAndPauseIntervals)
{
    s.Settings.ScanSpeed = 3;
    s.Settings.PauseInterval = 4;
    ASSERT_TRUE(files.SaveSettingsFile());
    panel.Power().Load();
    EXPECT_EQ(panel.Scanner().TimerScanner().Interval(), 300);
    EXPECT_EQ(panel.Scanner().TimerScannerMR().Interval(), 300);
    EXPECT_EQ(panel.Scanner().PauseSecs(), 0);
    EXPECT_TRUE(display.Get(el::mnuScanSpeed(3)).checked);
    EXPECT_TRUE(display.Get(el::mnuPauseInterval(4)).checked);
    EXPECT_EQ(display.Get(el::mnuPauseInterval(4)).caption, "OFF");
}

} // namespace
