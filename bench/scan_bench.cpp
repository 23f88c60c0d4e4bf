// The VFO scan in the real window over the built-in simulator with the radio's own timing (60 ms
// to answer, acknowledgements): steps per second at each Scanning interval, beside the bound of
// one interval plus one status round trip; and the program's CPU while a scan pauses on a
// carrier.

#include "bench/BenchFiles.h"
#include "bench/BenchWindow.h"
#include "platform/Elements.h"
#include "program/ProgramWindow.h"
#include "radio/CatCodec.h"
#include "sim/BackgroundSim.h"

#include <benchmark/benchmark.h>

#include <ctime>
#include <filesystem>
#include <stdexcept>

using namespace kivo;

namespace {

constexpr state::Long kChannelStep = 2500; // 25 kHz

double CpuSeconds(clockid_t clock)
{
    timespec t{};
    clock_gettime(clock, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// The window on the simulator, loaded (port open) but not yet switched on; FM on `freq` in band
// `band` with 25 kHz channels, the given Scanning and Pause menu entries.
struct ScanRig {
    ScanRig(bool carriers, int band, state::Long freq, int scanSpeed, int pause)
    {
        std::filesystem::create_directories(dir);
        bench::WriteBenchFiles(dir, 5, [&](state::ModKIVO& f) {
            f.Settings.ScanSpeed = state::Integer(scanSpeed);
            f.Settings.PauseInterval = state::Integer(pause);
            f.Settings.ChannelStep[std::size_t(band)][5] = kChannelStep;
            f.BandData.LastBandMB = state::Integer(band);
            f.BandData.BandVFOMB[std::size_t(band)] = {freq, 5, 60000, 0, 0, 8, 0, 0};
        });
        if (!carriers)
            radio.Radio().Band().clear();
        std::string err;
        const std::string path = radio.Start(err);
        if (path.empty())
            throw std::runtime_error(err);
        window = std::make_unique<program::ProgramWindow>(dir);
        bench::LoadOnSimulator(*window, path);
    }
    ~ScanRig()
    {
        window.reset();
        std::filesystem::remove_all(dir);
    }
    program::Program& Prog() { return window->Program(); }
    platform::EventLoop& Loop() { return window->Loop(); }

    // Mean time of a status request to its answer, waiting in the event pump as the scan does.
    double StatusRoundTrip(int count)
    {
        double total = 0;
        for (int i = 0; i < count; ++i) {
            platform::Pause(Loop(), 0.15); // past the frame gap, so the request goes out at once
            bool send = true;
            const double t0 = Loop().Now();
            Prog().cat.PollStatus(radio::op::kReadRxStatus, send);
            while (!Prog().cat.PollStatus(radio::op::kReadRxStatus, send))
                Loop().ProcessEventsUntil(Loop().Now() + 0.001);
            total += Loop().Now() - t0;
        }
        return total / count;
    }

    std::string dir = std::filesystem::temp_directory_path() / "kivo-bench-scan";
    sim::BackgroundSim radio; // the radio's own timing
    std::unique_ptr<program::ProgramWindow> window;
};

// Arg: the Scanning menu entry. A quiet band, so every step is one interval and one status round
// trip, and the next set-frequency frame keeps the radio's frame gap after the status request.
// On 6 m, where no automatic repeater shift adds frames of its own.
void BM_ScanSteps(benchmark::State& state)
{
    const int entry = int(state.range(0));
    const double interval = panel::kScanIntervals[std::size_t(entry)] / 1000.0;
    ScanRig rig(false, 2, 5100000, entry, 2);
    const double rtt = rig.StatusRoundTrip(10);
    auto& p = rig.Prog();
    p.panel.Power().PressPower();
    platform::Pause(rig.Loop(), 0.5);
    constexpr int kSteps = 6;
    double secs = 0;
    for (auto _ : state) {
        p.panel.Scanner().PressScan(); // arms, starts upwards and takes the first step
        const state::Long target = p.s.VFOMB.Freq + kSteps * kChannelStep;
        const double t0 = rig.Loop().Now();
        while (p.s.VFOMB.Freq < target && rig.Loop().Now() < t0 + 30)
            platform::Pause(rig.Loop(), 0.002); // returns between scan ticks
        const double took = rig.Loop().Now() - t0;
        secs += took;
        state.SetIterationTime(took);
        p.panel.Scanner().PressScan(); // disarms
        platform::Pause(rig.Loop(), 0.3);
    }
    const double steps = double(kSteps) * double(state.iterations());
    state.counters["steps_per_s"] = steps / secs;
    state.counters["bound_steps_per_s"] = 1.0 / (interval + rtt);
    state.counters["ms_per_step"] = 1000.0 * secs / steps;
    state.counters["status_round_trip_ms"] = 1000.0 * rtt;
}
BENCHMARK(BM_ScanSteps)->DenseRange(0, 5)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// CPU of the whole program (window thread and the simulator's thread) while the scan holds on the
// centred carrier at 145.600 for the 5 s pause, measured over 4.5 s of it.
void BM_CpuDuringScanPause(benchmark::State& state)
{
    ScanRig rig(true, 1, 14557500, 5, 2); // 2 m, 200 ms, 5 s
    auto& p = rig.Prog();
    p.panel.Power().PressPower();
    platform::Pause(rig.Loop(), 0.5);
    constexpr double kSpan = 4.5;
    double all = 0, gui = 0;
    for (auto _ : state) {
        double t0 = -1, a0 = 0, g0 = 0;
        bool measured = false;
        // The pause runs inside a scan tick, so look from the event pump.
        std::function<void()> look = [&] {
            if (!p.display.Get(el::lblBusy).visible) {
                rig.Loop().CallAt(rig.Loop().Now() + 0.02, look);
                return;
            }
            t0 = rig.Loop().Now();
            a0 = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
            g0 = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
            rig.Loop().CallAt(t0 + kSpan, [&] {
                all = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - a0;
                gui = CpuSeconds(CLOCK_THREAD_CPUTIME_ID) - g0;
                measured = true;
            });
        };
        rig.Loop().CallAt(rig.Loop().Now(), look);
        p.panel.Scanner().PressScan();
        const double giveUpAt = rig.Loop().Now() + 10;
        while (!measured && rig.Loop().Now() < giveUpAt)
            platform::Pause(rig.Loop(), 0.1);
        if (!measured)
            state.SkipWithError("the scan did not pause on the carrier");
        state.SetIterationTime(kSpan);
        p.panel.Scanner().PressScan();
    }
    state.counters["cpu_percent"] = 100.0 * all / kSpan;
    state.counters["window_thread_percent"] = 100.0 * gui / kSpan;
}
BENCHMARK(BM_CpuDuringScanPause)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
