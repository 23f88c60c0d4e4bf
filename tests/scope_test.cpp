// The band scope's logic over the in-process simulator on the virtual clock: the sweep, its
// hand-shake and ends, the lists, a chart click, the menus and "bandscope.kivo", the export,
// and the chart's geometry.

#include "scope/BandScope.h"
#include "scope/ScopeChart.h"
#include "tests/support/PanelRig.h"

#include <cerrno>
#include <cmath>
#include <fstream>
#include <sstream>

using namespace kivo;
using state::Long;

namespace {

constexpr int kStep10Hz = 0, kStep1k = 2, kStep10k = 4;
constexpr int kWidth10k = 7, kWidth5k = 8;

std::string Slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void Spit(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::string Le(std::initializer_list<int> fields)
{
    std::string s;
    for (int v : fields) {
        s += char(v & 0xFF);
        s += char((v >> 8) & 0xFF);
    }
    return s;
}

// Lit on the usual files (main VFO on 2 m FM), the main VFO on 145.000, where the simulator
// has an S7 carrier that fades out over 8 kHz either side. The scope window is loaded.
class Scope : public kivo::testing::PanelRig {
protected:
    scope::BandScope scope{
        {s, display, dialogs, loop, window, cat, comm, meter, files, memory}, panel.Tuning(), fs, dir.path()};

    void SetUp() override
    {
        WriteUsualFiles();
        panel.Power().Load();
        panel.Power().PressPower();
        loop.Advance(0.5);
        TakeFrames();
        s.VFOMB.Freq = 14500000;
        scope.wallClock = [] { return std::time_t(1796659329); }; // 2026-12-07 16:02:09 UTC
        scope.Load();
        dialogs.boxes.clear();
    }
    std::string ScopePath() const { return dir / scope::kScopeSettingsFileName; }
    std::vector<Long> TakeSets()
    {
        std::vector<Long> v;
        for (const auto& f : TakeFrames()) {
            if (std::uint8_t(f[4]) != 0x01)
                continue;
            Long freq = 0;
            for (int i = 0; i < 4; ++i) {
                const auto b = std::uint8_t(f[std::size_t(i)]);
                freq = freq * 100 + (b >> 4) * 10 + (b & 0x0F);
            }
            v.push_back(freq);
        }
        return v;
    }
    std::vector<double> TraceKHz() const
    {
        std::vector<double> v;
        for (const auto& p : scope.Trace().points)
            v.push_back(p.kHz);
        return v;
    }
    static std::vector<double> Range(double from, double to, double step)
    {
        std::vector<double> v;
        for (double k = from; k <= to + 1e-9; k += step)
            v.push_back(k);
        return v;
    }
    std::string Caption(const std::string& n) const { return display.Get(n).caption; }
};

TEST_F(Scope, OneSweepOf51PointsFrom144975To145025StopsThereWithStart)
{
    scope.ChooseStep(kStep1k);
    scope.StartStop();
    EXPECT_EQ(Caption(el::cmdSCAN), "STOP");
    EXPECT_EQ(s.ScanDir, 1);
    loop.Advance(60);
    EXPECT_EQ(TraceKHz(), Range(144975, 145025, 1));
    const auto sets = TakeSets();
    std::vector<Long> expected;
    for (Long f = 14497500; f <= 14502500; f += 100)
        expected.push_back(f);
    EXPECT_EQ(sets, expected);
    EXPECT_FALSE(scope.Sweeping());
    EXPECT_EQ(Caption(el::cmdSCAN), "START");
    EXPECT_EQ(s.ScanDir, 0);
    EXPECT_EQ(radio.Current().freq, 14502500u);
    EXPECT_EQ(Caption(el::txtboxFreq(0)), "145.025.00");
    // Each point is the radio's reading there, squelch open or not: the S7 peak on 145.000.
    for (const auto& p : scope.Trace().points)
        EXPECT_EQ(p.sMeter, radio.SignalAt(std::uint32_t(std::lround(p.kHz * 100)))) << p.kHz;
    EXPECT_EQ(scope.Trace().points[25].sMeter, 7);
    EXPECT_TRUE(meter.TimerSignalMeter().Enabled());
}

TEST_F(Scope, TheTenHertzEntryMovesTheRadio100HzAPoint)
{
    scope.ChooseStep(kStep10Hz);
    scope.StartStop();
    loop.Advance(3.5);
    EXPECT_EQ(TakeSets(), (std::vector<Long>{14497500, 14497510, 14497520, 14497530}));
}

TEST_F(Scope, ContinuousScanStartsItsSecondPassOneStepInWithZeroAtTheStart)
{
    scope.ChooseContinuousScan(0);
    scope.ChooseStep(kStep1k);
    scope.ChooseScanWidth(kWidth5k);
    scope.StartStop();
    loop.Advance(11.5); // 144.995 .. 145.005 measured
    ASSERT_EQ(scope.History().size(), 1u);
    EXPECT_EQ(scope.History()[0].points.size(), 11u);
    loop.Advance(2); // 144.996 and 144.997 measured
    EXPECT_EQ(TraceKHz(), (std::vector<double>{144995, 144996, 144997}));
    EXPECT_EQ(scope.Trace().points[0].sMeter, 0);
    const auto sets = TakeSets();
    ASSERT_GE(sets.size(), 13u);
    EXPECT_EQ(sets[10], 14500500);
    EXPECT_EQ(sets[11], 14499600); // never 144.995 again
    EXPECT_TRUE(scope.Sweeping());
}

TEST_F(Scope, TheWaterfallKeepsTheLast50Sweeps)
{
    scope.ChooseContinuousScan(0);
    scope.ChooseScanSpeed(4);
    scope.ChooseStep(kStep10k);
    scope.ChooseScanWidth(kWidth10k); // 3 points a sweep
    scope.StartStop();
    loop.Advance(60 * 0.25 * 3 + 30);
    EXPECT_EQ(scope.History().size(), scope::kHistoryDepth);
}

TEST_F(Scope, AChartClickAt145010TunesTheRadioThere)
{
    scope.OnChartClick(145010.0);
    EXPECT_EQ(Caption(el::txtboxFreq(0)), "145.010.00");
    EXPECT_EQ(s.VFOMB.Freq, 14501000);
    loop.Advance(0.1);
    EXPECT_EQ(TakeSets(), std::vector<Long>{14501000});
    EXPECT_EQ(radio.Current().freq, 14501000u);
}

TEST_F(Scope, AWidthChangeWhileIdleLeavesTheVfoWithTheRadioAndStartSendsTheStart)
{
    scope.ChooseScanWidth(kWidth5k);
    EXPECT_EQ(s.VFOMB.Freq, 14500000) << "the panel and the radio must agree until START";
    EXPECT_EQ(Caption(el::txtboxFreq(0)), "145.000.00");
    EXPECT_TRUE(TakeSets().empty());
    scope.StartStop();
    EXPECT_EQ(TakeSets(), std::vector<Long>{14499500});
}

TEST_F(Scope, ResetCentresTheRangeOnTheMainVfo)
{
    s.VFOMB.Freq = 14430000;
    scope.Reset();
    EXPECT_EQ(Caption(el::txtboxFreq(1)), "144.300.00");
    EXPECT_EQ(scope.ScopeStart(), 14427500);
    EXPECT_EQ(scope.ScopeEnd(), 14432500);
}

// The range stays inside the main band's tuning limits (2 m: 76..154 MHz, 70 cm: 420..450 MHz).
TEST_F(Scope, TheRangeIsClampedToTheBandsTuningLimits)
{
    struct Row {
        int band;
        Long centre;
        int width;
        Long start, end;
    } rows[] = {
        {1, 14500000, 6, 14497500, 14502500},
        {0, 42010000, 0, 42000000, 42060000},
        {0, 44990000, 0, 44940000, 44999999},
        {1, 15390000, 4, 15380000, 15399999},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.centre);
        s.BandIdxMB = state::Integer(r.band);
        s.VFOMB.Freq = r.centre;
        scope.Reset();
        scope.ChooseScanWidth(r.width);
        EXPECT_EQ(scope.ScopeStart(), r.start);
        EXPECT_EQ(scope.ScopeEnd(), r.end);
    }
}

TEST_F(Scope, ASweepToTheTopOfTheBandEndsThereInsteadOfWrapping)
{
    s.BandIdxMB = 0;
    s.VFOMB.Freq = 44999000;
    scope.Reset();
    scope.ChooseStep(kStep10k);
    scope.ChooseScanWidth(kWidth10k); // 449.980 .. 449.999.99
    scope.StartStop();
    loop.Advance(10);
    EXPECT_FALSE(scope.Sweeping());
    EXPECT_EQ(TraceKHz(), (std::vector<double>{449980, 449990}));
    EXPECT_EQ(TakeSets(), (std::vector<Long>{44998000, 44999000}));
}

TEST_F(Scope, SubOrTransmittingRefusesStartStopsASweepAndRefusesAChartClick)
{
    // A set-frequency frame lands in the radio's current VFO: with SUB that is the sub VFO, on
    // air the transmit frequency.
    struct Row {
        const char* name;
        std::function<void()> on, off;
    };
    const Row rows[] = {
        {"SUB", [this] { panel.VfoOperations().PressSub(); }, [this] { panel.VfoOperations().PressSub(); }},
        {"MOX", [this] { panel.Transmit().PressMox(); }, [this] { panel.Transmit().PressMox(); }},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        dialogs.beeps = 0;
        r.on();
        loop.Advance(0.5);
        TakeFrames();
        scope.StartStop();
        scope.OnChartClick(145010.0);
        EXPECT_FALSE(scope.Sweeping());
        EXPECT_EQ(dialogs.beeps, 2);
        loop.Advance(2);
        EXPECT_TRUE(TakeSets().empty());
        r.off();
        loop.Advance(0.5);

        scope.StartStop();
        loop.Advance(1.5);
        ASSERT_TRUE(scope.Sweeping());
        r.on();
        loop.Advance(0.2);
        TakeFrames();
        loop.Advance(3);
        EXPECT_FALSE(scope.Sweeping());
        EXPECT_EQ(s.ScanDir, 0);
        EXPECT_TRUE(TakeSets().empty()) << "no frequency after the key";
        r.off();
        loop.Advance(0.5);
    }
}

TEST_F(Scope, AScanSpeedChangeMidSweepSetsThePaceFromTheNextTick)
{
    scope.ChooseStep(kStep1k);
    scope.StartStop();
    loop.Advance(3.5); // 1 s a point
    EXPECT_EQ(scope.Trace().points.size(), 3u);
    scope.ChooseScanSpeed(4);
    EXPECT_EQ(scope.TimerScope().Interval(), 250);
    loop.Advance(1.0); // the tick due at 4.0 s was restarted at 3.5: 3.75, 4.0, 4.25, 4.5
    EXPECT_EQ(scope.Trace().points.size(), 7u);
    EXPECT_TRUE(display.Get(el::mnuScopeSpeed(4)).checked);
    EXPECT_FALSE(display.Get(el::mnuScopeSpeed(0)).checked);
}

TEST_F(Scope, ProgressShowsThePointReachedAndTheTimeLeftAtThePace)
{
    scope.ChooseStep(kStep1k);
    scope.StartStop();
    EXPECT_TRUE(Shown(el::lblScopeProgress));
    loop.Advance(10.5);
    EXPECT_EQ(Caption(el::lblScopeProgress), "Point 10 of 51, 41 s left");
    scope.ChooseScanSpeed(1); // 0.5 s
    loop.Advance(20);
    EXPECT_EQ(Caption(el::lblScopeProgress), "Point 50 of 51, 1 s left");
    loop.Advance(2);
    EXPECT_FALSE(Shown(el::lblScopeProgress));
}

TEST_F(Scope, StopLeavesTheRadioWhereItWasAndPowerOffEndsASweep)
{
    scope.ChooseStep(kStep1k);
    scope.StartStop();
    loop.Advance(2.5);
    scope.StartStop();
    EXPECT_EQ(Caption(el::cmdSCAN), "START");
    EXPECT_EQ(radio.Current().freq, 14497700u);
    TakeSets();
    loop.Advance(5);
    EXPECT_TRUE(TakeSets().empty());

    // As the program wires it.
    panel.Power().AddSwitchable(scope, panel::SwitchOffOrder::SCAN);
    panel.Power().StopAtPowerOff(scope.TimerScope());
    scope.StartStop();
    loop.Advance(1.5);
    panel.Power().PressPower();
    EXPECT_FALSE(scope.Sweeping());
    EXPECT_EQ(s.ScanDir, 0);
    EXPECT_FALSE(scope.TimerScope().Enabled());
}

TEST_F(Scope, ASilentRadioIsAskedAgainThenTheSweepStopsAndSaysSo)
{
    port.SetSilent(true);
    scope.StartStop();
    loop.Advance(5);
    EXPECT_FALSE(scope.Sweeping());
    int requests = 0;
    for (const auto& f : TakeFrames())
        requests += std::uint8_t(f[4]) == 0xE7;
    EXPECT_GE(requests, panel::ScanStatus::kSilentTries);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "The radio is not answering. The sweep has been stopped.");
    EXPECT_EQ(dialogs.boxes[0].title, "Band Scope");
    EXPECT_EQ(Caption(el::cmdSCAN), "START");
}

TEST_F(Scope, StartRefusesWhileThePanelIsDarkOrAScanRunsAndASweepGivesWayToScan)
{
    s.ScanDir = 1;
    scope.StartStop();
    EXPECT_FALSE(scope.Sweeping());
    s.ScanDir = 0;
    EXPECT_EQ(dialogs.beeps, 1);

    scope.StartStop();
    loop.Advance(1.5);
    ASSERT_TRUE(scope.Sweeping());
    scope.OnChartClick(145010.0); // the sweep owns the frequency
    EXPECT_EQ(dialogs.beeps, 2);
    dialogs.beeps = 1;
    panel.Scanner().PressScan(); // arms and starts the panel's scan
    loop.Advance(3);
    EXPECT_FALSE(scope.Sweeping());
    EXPECT_EQ(Caption(el::cmdSCAN), "START");
    EXPECT_TRUE(s.ScanArmed);
    EXPECT_EQ(s.ScanDir, 1) << "the scan runs on";
    panel.Scanner().PressScan();
    dialogs.beeps = 0;

    panel.Power().PressPower();
    TakeFrames();
    scope.StartStop();
    EXPECT_FALSE(scope.Sweeping());
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_TRUE(TakeSets().empty());
}

TEST_F(Scope, ExportWritesTheLastSweepAsCsv)
{
    const std::string path = dir / "sweep.csv";
    EXPECT_FALSE(scope.ExportSweepTo(path));
    EXPECT_EQ(dialogs.boxes.back().text, "There is no sweep to export yet: press START first.");
    scope.ChooseStep(kStep10k);
    scope.StartStop();
    loop.Advance(10);
    dialogs.files.push_back(path);
    scope.ExportSweep();
    EXPECT_EQ(Slurp(path),
              "Centre (kHz),145000.000,Span (kHz),50.000,Step (kHz),10.000,Time,2026-12-07 16:02:09 UTC\r\n"
              "Frequency (kHz),S-meter\r\n"
              "144975.000,0\r\n144985.000,0\r\n144995.000,2\r\n145005.000,2\r\n145015.000,0\r\n"
              "145025.000,0\r\n");
    fs.writeErrors[path] = ENOSPC;
    EXPECT_FALSE(scope.ExportSweepTo(path));
    EXPECT_EQ(dialogs.boxes.back().title, "Export Sweep");
}

// ---- "bandscope.kivo"

TEST_F(Scope, TheSettingsRecordIs16LittleEndianBytes)
{
    EXPECT_EQ(scope::ToBytes(scope::ScopeSettings{}), Le({1, 3, 1, 0, 0, 0, 1, 0}));
    const scope::ScopeSettings r{1, 9, 0, 0, 4, 3, 4, 1};
    EXPECT_EQ(scope::ScopeSettingsFromBytes(scope::ToBytes(r)), r);
    EXPECT_EQ(scope::ScopeSettingsFromBytes("\x01"), (scope::ScopeSettings{1, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(Scope, LoadingTheSettingsFile)
{
    const std::string kDefaultsBox = "The band scope settings file does NOT exist in the program directory, or it is "
                                     "corrupted. A default settings file will be created.";
    const std::string defaults = Le({1, 3, 1, 0, 0, 0, 1, 0});
    struct Row {
        const char* what;
        std::optional<std::string> file; // none: no file
        std::string box;                 // empty: none
        scope::ScopeSettings applied;
        std::string fileAfter;
    } rows[] = {
        {"missing", std::nullopt, kDefaultsBox, {}, defaults},
        {"empty", "", kDefaultsBox, {}, defaults},
        {"first Integer 0", Le({0, 9, 0, 0, 4, 3, 4, 1}), kDefaultsBox, {}, defaults},
        {"valid", Le({1, 9, 0, 0, 4, 3, 4, 1}), "", {1, 9, 0, 0, 4, 3, 4, 1}, Le({1, 9, 0, 0, 4, 3, 4, 1})},
        {"Wrap stored", Le({1, 3, 1, 1, 0, 0, 1, 0}), "", {1, 3, 1, 0, 0, 0, 1, 0}, Le({1, 3, 1, 1, 0, 0, 1, 0})},
        {"out of range", Le({-1, 12, 7, 0, 5, 9, 0, 2}), "", {-1, 3, 1, 0, 0, 0, 1, 0}, Le({-1, 12, 7, 0, 5, 9, 0, 2})},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        fs.Remove(ScopePath());
        if (r.file)
            Spit(ScopePath(), *r.file);
        dialogs.boxes.clear();
        scope.Load();
        if (r.box.empty()) {
            EXPECT_TRUE(dialogs.boxes.empty());
        } else {
            ExpectOneBox(r.box, "Open Scope Settings File", platform::Icon::Exclamation, platform::Buttons::Ok);
        }
        EXPECT_EQ(scope.Settings(), r.applied);
        EXPECT_EQ(Slurp(ScopePath()), r.fileAfter);
        EXPECT_TRUE(display.Get(el::mnuDisplayMode(0)).checked);
        EXPECT_FALSE(display.Get(el::mnuDisplayMode(1)).enabled);
        EXPECT_TRUE(display.Get(el::mnuActiveSearch(r.applied.ActiveSearch)).checked);
        EXPECT_EQ(scope.TimerScope().Interval(), scope::kScopeIntervals[std::size_t(r.applied.ScopeScanSpeed)]);
        EXPECT_EQ(display.Get(el::listSteps).value, 0);
        EXPECT_EQ(display.Get(el::listScanWidth).value, 6);
    }
}

TEST_F(Scope, WrapIsForcedBackToPanAndExitStoresZero)
{
    scope.ChooseDisplayMode(1);
    EXPECT_TRUE(display.Get(el::mnuDisplayMode(0)).checked);
    EXPECT_FALSE(display.Get(el::mnuDisplayMode(1)).checked);
    scope.Exit();
    EXPECT_EQ(Slurp(ScopePath()).substr(6, 2), Le({0}));
}

TEST_F(Scope, TheCloseBoxLosesAMenuChangeAndExitKeepsIt)
{
    scope.ChooseColorFill(1);
    scope.Unload();
    EXPECT_EQ(Slurp(ScopePath()), Le({1, 3, 1, 0, 0, 0, 1, 0}));
    scope.ChooseColorFill(1);
    scope.ChooseScaleHandles(3);
    scope.Exit();
    EXPECT_EQ(Slurp(ScopePath()), Le({1, 3, 1, 0, 0, 3, 1, 1}));
}

TEST_F(Scope, AFileThatCannotBeReadOrWrittenIsSaid)
{
    fs.readErrors[ScopePath()] = EIO;
    scope.ChooseColorFill(1);
    scope.Load();
    ExpectOneBox("Error encountered while trying to open file BANDSCOPE.KIVO. Input/output error.",
                 "Open Band Scope Settings File", platform::Icon::Exclamation, platform::Buttons::Ok);
    EXPECT_EQ(scope.Settings().ColorFill, 1); // nothing applied
    dialogs.boxes.clear();
    fs.writeErrors[ScopePath()] = ENOSPC;
    scope.Exit();
    ExpectOneBox("Error encountered while trying to save file BANDSCOPE.KIVO.No space left on device.",
                 "Save Band Scope Settings File", platform::Icon::Exclamation, platform::Buttons::Ok);
    EXPECT_EQ(Slurp(ScopePath()), Le({1, 3, 1, 0, 0, 0, 1, 0}));
}

// ---- The chart's geometry

TEST(ScopeChart, PointsAndPixelsMapBothWays)
{
    const scope::ChartGeometry g{144975, 50, {40, 10, 500, 300}};
    struct Row {
        double kHz, x;
    } rows[] = {{144975, 40}, {145000, 290}, {145025, 540}, {145010, 390}};
    for (const Row& r : rows) {
        EXPECT_DOUBLE_EQ(g.XOf(r.kHz), r.x);
        EXPECT_DOUBLE_EQ(g.KHzAt(r.x), r.kHz);
    }
    EXPECT_DOUBLE_EQ(g.KHzAt(0), 144975); // left of the plot: its start
    EXPECT_DOUBLE_EQ(g.KHzAt(900), 145025);
    EXPECT_DOUBLE_EQ(g.YOf(0), 310);
    EXPECT_DOUBLE_EQ(g.YOf(15), 10);
    EXPECT_DOUBLE_EQ(g.YOf(40), 10);
    EXPECT_DOUBLE_EQ(g.YOf(7.5), 160);
}

TEST(ScopeChart, FrequencyTicksFallOnRoundSteps)
{
    struct Row {
        double start, span;
        std::vector<std::string> labels;
    } rows[] = {
        {144975,
         50,
         {"144975", "144980", "144985", "144990", "144995", "145000", "145005", "145010", "145015", "145020",
          "145025"}},
        {144995,
         10,
         {"144995", "144996", "144997", "144998", "144999", "145000", "145001", "145002", "145003", "145004",
          "145005"}},
        {144500,
         1000,
         {"144500", "144600", "144700", "144800", "144900", "145000", "145100", "145200", "145300", "145400",
          "145500"}},
        {420000, 600, {"420000", "420100", "420200", "420300", "420400", "420500", "420600"}},
        {144903,
         200,
         {"144920", "144940", "144960", "144980", "145000", "145020", "145040", "145060", "145080", "145100"}},
    };
    for (const Row& r : rows) {
        const scope::ChartGeometry g{r.start, r.span, {0, 0, 1000, 100}};
        std::vector<std::string> labels;
        for (const auto& t : g.XTicks()) {
            labels.push_back(t.label);
            EXPECT_DOUBLE_EQ(t.pos, g.XOf(std::stod(t.label)));
        }
        EXPECT_EQ(labels, r.labels) << r.start;
    }
}

TEST(ScopeChart, SMeterTicksAndClickSnapping)
{
    const scope::ChartGeometry g{0, 1, {0, 0, 10, 150}};
    std::vector<std::string> labels;
    for (const auto& t : g.YTicks())
        labels.push_back(t.label);
    EXPECT_EQ(labels, (std::vector<std::string>{"S0", "S1", "S3", "S5", "S7", "S9", "+20", "+40", "+60"}));
    EXPECT_DOUBLE_EQ(g.YTicks()[5].pos, 60);
    EXPECT_DOUBLE_EQ(scope::SnapKHz(145010.4, 144975, 1), 145010);
    EXPECT_DOUBLE_EQ(scope::SnapKHz(145012.6, 144975, 5), 145015);
    EXPECT_DOUBLE_EQ(scope::SnapKHz(144975.06, 144975, 0.1), 144975.1);
}

} // namespace
