#include "tests/support/PanelRig.h"

#include <algorithm>

using namespace kivo;
using state::Long;

namespace {

using kivo::testing::Timed;

const std::string kStatus = "00 00 00 00 E7";

// The usual files, lit, with the meter poll off so that every status request on the wire is
// the priority check's: main VFO 145.200 FM (band 1), sub VFO 433.100 FM (band 0).
class PmsPriority : public kivo::testing::PanelRig {
protected:
    void SetUp() override { StartLit(6); }
    void Store(int pos, Long freq, const char* desc = "")
    {
        auto& m = s.MemData[std::size_t(pos)];
        m.VFO1 = {freq, 5, 60000, 0, 0, 8, 0, 0};
        m.Band1 = state::BandOfFreq(freq, 1);
        m.Desc.Assign(desc);
        ++s.MemCount;
    }
    std::vector<Timed> SentSince(double t0) { return TakeTimed(t0, true); }
    // Times of the status requests among `frames`.
    static std::vector<long> StatusTimes(const std::vector<Timed>& frames)
    {
        std::vector<long> v;
        for (const auto& f : frames)
            if (f.hex == kStatus)
                v.push_back(f.ms);
        return v;
    }
    std::string Caption(const std::string& n) const { return display.Get(n).caption; }
    void Mck()
    {
        panel.MemoryCheck().MCKbutton_MouseDown();
        panel.MemoryCheck().MCKbutton_MouseUp();
    }
};

TEST_F(PmsPriority, StoresPmsLimitsOrRefusesThePair)
{
    const std::string sameBand = "The Main VFO and Sub VFO must be on the same band when storing a PMS limit for the "
                                 "430, 144, or 50 MHz band.";
    const std::string bothHf = "The Main VFO and Sub VFO must both be on an HF frequency when storing a PMS limit.";
    const std::string order = "The frequency in the Main VFO must be lower than the frequency in the Sub VFO. The "
                              "Main VFO should contain the lower PMS limit and the Sub VFO should contain the upper "
                              "PMS limit.";
    struct Row {
        const char* name;
        Long main;
        state::Integer mb;
        Long sub;
        state::Integer sb;
        std::string message; // empty: stored
        Long low, high;      // the limits of band mb afterwards
    } const rows[] = {
        {"2 m pair, moved up to the 10 kHz grid", 14410000, 1, 14599500, 1, "", 14410000, 14600000},
        {"HF pair over two bands, filed under the main band", 700000, 9, 1435000, 7, "", 700000, 1435000},
        {"144 with 430: the default limits stay", 14400000, 1, 43000000, 0, sameBand, 14400000, 14800000},
        {"14 MHz with 144", 1400000, 7, 14400000, 1, bothHf, 1400000, 1435000},
        {"main equal to sub", 14420000, 1, 14420000, 1, order, 14400000, 14800000},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        s.BandData = state::DefaultBandData();
        dialogs.boxes.clear();
        s.VFOMB.Freq = r.main;
        s.BandIdxMB = r.mb;
        s.VFOSB.Freq = r.sub;
        s.BandIdxSB = r.sb;
        Mck();
        ASSERT_TRUE(s.MCKOn);
        panel.Pms().PressPms();
        EXPECT_FALSE(s.MCKOn) << "memory check ends either way";
        if (r.message.empty()) {
            EXPECT_TRUE(dialogs.boxes.empty());
            EXPECT_EQ(s.BandData.BandPMSVFO[std::size_t(r.mb)].Freq, r.main) << "the main VFO is the PMS state";
        } else {
            ASSERT_EQ(dialogs.boxes.size(), 1u);
            EXPECT_EQ(dialogs.boxes[0].text, r.message);
            EXPECT_EQ(dialogs.boxes[0].title, "PMS Limit Warning");
            EXPECT_EQ(dialogs.boxes[0].icon, platform::Icon::Exclamation);
        }
        EXPECT_EQ(s.BandData.PMSLow[std::size_t(r.mb)], r.low);
        EXPECT_EQ(s.BandData.PMSHigh[std::size_t(r.mb)], r.high);
    }
}

TEST_F(PmsPriority, PmsTunesWithinItsLimitsAndReturnsToVfo)
{
    s.BandData.PMSLow[1] = 14410000;
    s.BandData.PMSHigh[1] = 14420000;
    s.BandData.BandPMSVFO[1] = {14419000, 5, 60000, 0, 0, 8, 0, 0};
    panel.Pms().PressPms();
    EXPECT_EQ(s.VFOMRMode, state::kModePMS);
    EXPECT_EQ(Caption(el::ledMRnumber), "LU");
    EXPECT_TRUE(Shown(el::ledMRnumber));
    EXPECT_FALSE(Shown(el::lblCH));
    EXPECT_EQ(s.BandData.TuneLow[1], 14410000);
    EXPECT_EQ(s.BandData.TuneHigh[1], 14420000);
    EXPECT_EQ(radio.Current().freq, 14419000u) << "the PMS VFO went to the radio";
    EXPECT_EQ(s.BandData.BandVFOMB[1].Freq, 14520000) << "the VFO state was kept";

    // The jog steps 10 kHz and wraps at the upper limit to the lower.
    s.ScanStep = 1000;
    panel.Tuning().StepFrequency();
    EXPECT_EQ(s.VFOMB.Freq, 14410000);

    panel.Pms().PressPms();
    EXPECT_EQ(s.VFOMRMode, state::kModeVFO);
    EXPECT_FALSE(Shown(el::ledMRnumber));
    EXPECT_EQ(s.VFOMB.Freq, 14520000);
    EXPECT_EQ(s.BandData.BandPMSVFO[1].Freq, 14410000) << "PMS state saved on leaving";
    EXPECT_LT(s.BandData.TuneLow[1], 14410000) << "coverage again";

    // Back into PMS: where it was left.
    panel.Pms().PressPms();
    EXPECT_EQ(s.VFOMB.Freq, 14410000);
}

TEST_F(PmsPriority, PmsEntryOutsideTheLimitsIsRefused)
{
    s.BandData.PMSLow[1] = 14410000;
    s.BandData.PMSHigh[1] = 14420000;
    s.BandData.BandPMSVFO[1] = {14415000, 5, 60000, 0, 0, 8, 0, 0};
    panel.Pms().PressPms();
    panel.Keypad().PressEnt();
    for (char d : std::string("145000"))
        panel.Keypad().DisplayNumericKeypadEntry(d);
    panel.Keypad().PressEnt();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_NE(dialogs.boxes[0].text.find("(PMS)"), std::string::npos);
    EXPECT_EQ(s.VFOMB.Freq, 14415000);
}

TEST_F(PmsPriority, PriorityKeyRefusals)
{
    struct Row {
        const char* name;
        int menu;
        bool channel0;
        const char* title;
        int beeps;
    } const rows[] = {
        {"interval OFF comes first, without a beep", 3, false, "Priority Monitor Interval OFF", 0},
        {"channel 0 empty", 2, false, "Help", 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        dialogs.boxes.clear();
        dialogs.beeps = 0;
        panel.PriorityMonitor().ChoosePriSpeed(r.menu);
        panel.PriorityMonitor().PressPri();
        ASSERT_EQ(dialogs.boxes.size(), 1u);
        EXPECT_EQ(dialogs.boxes[0].title, r.title);
        EXPECT_EQ(dialogs.beeps, r.beeps);
        EXPECT_FALSE(s.PRIOn);
        EXPECT_FALSE(panel.PriorityMonitor().TimerPriorityMonitor().Enabled());
    }
}

TEST_F(PmsPriority, MenuSetsTheIntervalWithCheckMarks)
{
    struct Row {
        int index;
        int ms;
        int checked;
    } const rows[] = {{0, 15000, 0}, {1, 10000, 1}, {2, 5000, 2}, {3, 0, 3}, {9, 5000, 2}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.index);
        panel.PriorityMonitor().ChoosePriSpeed(r.index);
        EXPECT_EQ(panel.PriorityMonitor().TimerPriorityMonitor().Interval(), r.ms);
        EXPECT_EQ(s.Settings.PRISpeed, r.checked);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(display.Get(el::mnuPRIspeed(i)).checked, i == r.checked);
    }
    EXPECT_EQ(Caption(el::mnuPRIspeed(0)), "15 sec.");
    EXPECT_EQ(Caption(el::mnuPRIspeed(3)), "OFF");
}

// A quiet priority channel: at each interval channel 0 goes out, one status request, and the
// VFO state comes back; the timer runs again for the next check.
TEST_F(PmsPriority, QuietCheckInVfoVisitsChannelZeroAndReturns)
{
    Store(0, 14652000, "CALL");
    panel.PriorityMonitor().ChoosePriSpeed(2);
    const double t0 = loop.Now();
    panel.PriorityMonitor().PressPri();
    EXPECT_TRUE(s.PRIOn);
    EXPECT_EQ(Caption(el::ledMRnumber), "Pr");
    loop.Advance(4.9);
    EXPECT_TRUE(SentSince(t0).empty()) << "the first check follows one interval later";
    loop.Advance(0.6);
    const auto frames = SentSince(t0);
    // Channel 0 (simplex, no tone), one status request, then the main VFO's differing fields and
    // the sub VFO between two toggles with their 0.25 s pauses.
    const std::vector<Timed> expected{
        {5000, "14 65 20 00 01"}, {5000, "89 00 00 00 09"}, {5000, "8A 00 00 00 0A"}, {5000, kStatus},
        {5000, "14 52 00 00 01"}, {5000, "09 00 00 00 09"}, {5000, "4A 00 00 00 0A"}, {5250, "00 00 00 00 81"},
        {5500, "43 31 00 00 01"}, {5750, "00 00 00 00 81"},
    };
    EXPECT_EQ(frames, expected);
    ASSERT_FALSE(frames.empty());
    EXPECT_EQ(frames.front(), (Timed{5000, "14 65 20 00 01"})) << "channel 0 first";
    EXPECT_EQ(StatusTimes(frames).size(), 1u) << "a closed squelch ends the check after one reply";
    const auto status = std::find(frames.begin(), frames.end(), Timed{StatusTimes(frames).at(0), kStatus});
    EXPECT_NE(std::find_if(status, frames.end(), [](const Timed& f) { return f.hex == "14 52 00 00 01"; }),
              frames.end())
        << "the main VFO goes back after the reply";
    EXPECT_EQ(frames.back().hex, "00 00 00 00 81") << "the sub VFO last, between two toggles";
    EXPECT_EQ(radio.Current().freq, 14520000u);
    EXPECT_EQ(s.VFOMB.Freq, 14520000);
    EXPECT_EQ(Caption(el::ledMRnumber), "Pr");
    EXPECT_TRUE(panel.PriorityMonitor().TimerPriorityMonitor().Enabled());
    EXPECT_TRUE(Enabled(el::MainKnob));

    loop.Advance(5.0);
    EXPECT_EQ(StatusTimes(SentSince(t0)).size(), 1u) << "the next check, one interval after the return";
}

TEST_F(PmsPriority, BusyChannelHoldsForThePauseOrUntilTheSquelchCloses)
{
    struct Row {
        const char* name;
        int pauseMenu;
        double carrierGoneAt; // seconds after the check began; 0 keeps it
        double returnsAfter;  // seconds after the check began, about
    } const rows[] = {
        {"5 sec. pause", 2, 0, 5.0},
        {"3 sec. pause", 3, 0, 3.0},
        {"pause OFF holds until the squelch closes", 4, 7.0, 7.0},
    };
    Store(0, 14652000, "CALL");
    panel.PriorityMonitor().ChoosePriSpeed(1);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        s.Settings.PauseInterval = state::Integer(r.pauseMenu);
        radio.Band() = {{14652000, 9, 1000}};
        panel.PriorityMonitor().PressPri();
        ASSERT_TRUE(s.PRIOn);
        const double start = loop.Now() + 10.0;
        if (r.carrierGoneAt > 0)
            loop.CallAt(start + r.carrierGoneAt, [this] { radio.Band().clear(); });
        bool descShown = false;
        loop.CallAt(start + 1.0, [&] { descShown = Shown(el::lblMemoryDesc) && Caption(el::lblMemoryDesc) == "CALL"; });
        SentSince(0);
        loop.Advance(10.0 + r.returnsAfter + 0.5);
        const auto frames = SentSince(start);
        EXPECT_TRUE(descShown) << "the channel's description shows while it holds";
        EXPECT_FALSE(Shown(el::lblBusy)) << "busy was channel 0's";
        long back = -1;
        for (const auto& f : frames)
            if (f.hex == "14 52 00 00 01")
                back = f.ms;
        EXPECT_NEAR(back, long(r.returnsAfter * 1000), 150) << "returned to the VFO";
        EXPECT_FALSE(Shown(el::lblMemoryDesc));
        panel.PriorityMonitor().PressPri();
        EXPECT_FALSE(s.PRIOn);
        radio.Band().clear();
        loop.Advance(1.0);
    }
}

TEST_F(PmsPriority, CheckInMrReturnsToTheChannelItLeft)
{
    Store(0, 14652000);
    Store(25, 14550000);
    s.CurMemPos = 25;
    panel.Memories().PressVfoMr();
    ASSERT_EQ(s.VFOMRMode, state::kModeMR);
    panel.PriorityMonitor().ChoosePriSpeed(2);
    panel.PriorityMonitor().PressPri();
    loop.Advance(5.5);
    EXPECT_EQ(s.CurMemPos, 25);
    EXPECT_EQ(radio.Current().freq, 14550000u);
    EXPECT_FALSE(Shown(el::lblCH));
    EXPECT_EQ(Caption(el::ledMRnumber), "Pr");
    panel.PriorityMonitor().PressPri();
    EXPECT_FALSE(s.PRIOn);
    EXPECT_EQ(s.VFOMRMode, state::kModeMR);
    EXPECT_EQ(s.CurMemPos, 25);
}

TEST_F(PmsPriority, CheckInPmsReturnsToPms)
{
    Store(0, 14652000);
    s.BandData.PMSLow[1] = 14410000;
    s.BandData.PMSHigh[1] = 14420000;
    s.BandData.BandPMSVFO[1] = {14415000, 5, 60000, 0, 0, 8, 0, 0};
    panel.Pms().PressPms();
    panel.PriorityMonitor().ChoosePriSpeed(2);
    panel.PriorityMonitor().PressPri();
    loop.Advance(5.5);
    EXPECT_EQ(s.VFOMRMode, state::kModePMS);
    EXPECT_EQ(radio.Current().freq, 14415000u);
    EXPECT_EQ(s.BandData.TuneHigh[1], 14420000);
    EXPECT_EQ(Caption(el::ledMRnumber), "Pr");
}

// The radio falls silent: the request goes again every 0.5 s, and after four unanswered
// requests (the scans' hand-shake) the monitor switches off with a message instead of waiting for ever.
TEST_F(PmsPriority, SilentRadioEndsMonitoringWithAMessage)
{
    Store(0, 14652000);
    panel.PriorityMonitor().ChoosePriSpeed(2);
    panel.PriorityMonitor().PressPri();
    port.SetSilent(true);
    const double t0 = loop.Now() + 5.0;
    loop.Advance(8.0);
    const auto times = StatusTimes(SentSince(t0));
    ASSERT_EQ(times.size(), 4u);
    for (std::size_t i = 1; i < times.size(); ++i)
        EXPECT_NEAR(times[i] - times[i - 1], 500, 60);
    EXPECT_FALSE(s.PRIOn);
    EXPECT_FALSE(panel.PriorityMonitor().TimerPriorityMonitor().Enabled());
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].title, "Priority Monitor");
    EXPECT_EQ(s.VFOMB.Freq, 14520000) << "back on the user's VFO";
    EXPECT_TRUE(Enabled(el::MainKnob));
}

TEST_F(PmsPriority, PriOffDuringTheHoldEndsTheCheckWithoutRestartingTheTimer)
{
    // The 30 s pause waits inside the check; with the pause OFF a carrier that never goes holds
    // the check on channel 0 between the timer's ticks.
    Store(0, 14652000);
    panel.PriorityMonitor().ChoosePriSpeed(2);
    for (const int pauseMenu : {0, 4}) {
        SCOPED_TRACE(pauseMenu);
        s.Settings.PauseInterval = pauseMenu;
        radio.Band() = {{14652000, 9, 1000}};
        panel.PriorityMonitor().PressPri();
        const double start = loop.Now() + 5.0;
        loop.CallAt(start + 2.0, [this] {
            EXPECT_EQ(radio.Current().freq, 14652000u);
            EXPECT_FALSE(Enabled(el::MainKnob));
            panel.PriorityMonitor().PressPri();
        });
        loop.Advance(10.0);
        EXPECT_FALSE(s.PRIOn);
        EXPECT_FALSE(panel.PriorityMonitor().TimerPriorityMonitor().Enabled());
        EXPECT_EQ(radio.Current().freq, 14520000u);
        EXPECT_TRUE(Enabled(el::MainKnob));
    }
}

TEST_F(PmsPriority, PowerOffSwitchesPriOffAndSavesPms)
{
    Store(0, 14652000);
    panel.PriorityMonitor().ChoosePriSpeed(2);
    panel.PriorityMonitor().PressPri();
    ASSERT_TRUE(s.PRIOn);
    // PRI goes off in its turn, before MCK's.
    bool priOffBeforeMck = false;
    kivo::testing::FakeUnit mck{[&] { priOffBeforeMck = !s.PRIOn; }};
    panel.Power().AddSwitchable(mck, panel::SwitchOffOrder::MCK);
    panel.Power().PressPower();
    EXPECT_TRUE(priOffBeforeMck);
    EXPECT_FALSE(s.CATOn);
    EXPECT_FALSE(s.PRIOn);
    EXPECT_FALSE(panel.PriorityMonitor().TimerPriorityMonitor().Enabled());
    loop.Advance(10.0);
    EXPECT_TRUE(StatusTimes(SentSince(0)).empty());
}

TEST_F(PmsPriority, StoredIntervalIsAppliedAtStartUp)
{
    s.Settings.PRISpeed = 0;
    ASSERT_TRUE(files.SaveSettingsFile());
    panel.Power().PressPower();
    s.Settings.PRISpeed = 2;
    panel.Power().Load();
    EXPECT_EQ(panel.PriorityMonitor().TimerPriorityMonitor().Interval(), 15000);
    EXPECT_TRUE(display.Get(el::mnuPRIspeed(0)).checked);
}

} // namespace
