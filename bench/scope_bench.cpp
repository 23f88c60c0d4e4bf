// The band scope's pace and cost: the whole program in one process (window on the offscreen
// platform, real serial code, the built-in simulator with the radio's own timing: 60 ms service,
// acknowledgements, the 0.1 s frame gap). For each Scan Speed one sweep of 21 points at 1 kHz;
// prints the time per point against the interval plus one status round trip, then the CPU of
// the window's thread over a continuous sweep at the fastest speed.
//   scope_bench [seconds of continuous sweep, default 30]

#include "bench/BenchFiles.h"
#include "program/ProgramWindow.h"
#include "radio/CatCodec.h"
#include "scope/BandScope.h"
#include "sim/BackgroundSim.h"

#include <QApplication>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

using namespace kivo;

namespace {

double ThreadCpuSeconds()
{
    rusage u{};
    ::getrusage(RUSAGE_THREAD, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 30;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string dir = std::filesystem::temp_directory_path() / "kivo-scope-bench";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    bench::WriteBenchFiles(dir, 2); // meter at 300 ms; the sweep turns it off
    {
        platform::PosixFileSystem fs;
        fs.WriteAtomic(dir + "/" + scope::kScopeSettingsFileName, scope::ToBytes(scope::ScopeSettings{}));
    }
    sim::BackgroundSim radio;
    std::string err;
    const std::string path = radio.Start(err);
    if (path.empty()) {
        std::fprintf(stderr, "scope_bench: %s\n", err.c_str());
        return 1;
    }
    program::ProgramWindow w(dir);
    auto& prog = w.Program();
    auto& loop = w.Loop();
    prog.port.SetSimulator(path);
    prog.RefreshPorts();
    prog.panel.Power().Load();
    prog.panel.Power().PressPower();
    platform::Pause(loop, 2.0);

    // One status round trip as the sweep makes it: request, then the answer taken.
    prog.meter.TurnOffLMeter();
    double roundTrip = 0;
    constexpr int kTrips = 20;
    for (int i = 0; i < kTrips; ++i) {
        platform::Pause(loop, 0.15);
        bool send = true;
        const double t0 = loop.Now();
        while (!prog.cat.PollStatus(radio::op::kReadRxStatus, send))
            platform::Pause(loop, 0.001);
        roundTrip += loop.Now() - t0;
    }
    roundTrip /= kTrips;

    auto& scope = prog.scope;
    std::vector<double> at;
    scope.hooks.chartChanged = [&] {
        if (scope.Trace().points.size() > at.size())
            at.push_back(loop.Now());
    };
    scope.Load();
    scope.ChooseStep(2);      // 1 kHz
    scope.ChooseScanWidth(7); // +-10 kHz: 21 points
    std::printf("status round trip (request to answer taken): %.1f ms\n", roundTrip * 1000);
    std::printf("%-10s %12s %14s %12s %10s\n", "speed", "ms/point", "bound ms", "points/s", "ratio");
    for (int speed = 0; speed < int(scope::kScopeIntervals.size()); ++speed) {
        scope.ChooseScanSpeed(speed);
        at.clear();
        scope.StartStop();
        while (scope.Sweeping())
            platform::Pause(loop, 0.05);
        const double perPoint = (at.back() - at.front()) / double(at.size() - 1);
        const double bound = scope::kScopeIntervals[std::size_t(speed)] / 1000.0 + roundTrip;
        std::printf("%-10s %12.1f %14.1f %12.2f %10.2f\n", scope::kScopeSpeedCaptions[std::size_t(speed)],
                    perPoint * 1000, bound * 1000, 1 / perPoint, perPoint / bound);
    }

    scope.ChooseContinuousScan(0);
    scope.ChooseScanSpeed(4);
    scope.StartStop();
    platform::Pause(loop, 2.0);
    const double cpu0 = ThreadCpuSeconds(), t0 = loop.Now();
    const std::size_t sweeps0 = scope.History().size();
    platform::Pause(loop, seconds);
    const double cpu = ThreadCpuSeconds() - cpu0, t = loop.Now() - t0;
    std::printf("continuous sweep at 250 ms for %.0f s (%zu sweeps done): window thread CPU %.3f s, %.2f%% of one "
                "core\n",
                t, scope.History().size() - sweeps0, cpu, 100 * cpu / t);
    scope.StartStop();
    return 0;
}
