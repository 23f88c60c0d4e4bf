// Time from a wheel event on the main knob to its set-frequency frame written on the port,
// through the real window, the real serial code and the simulator's pseudo-terminal.

#include "bench/BenchFiles.h"
#include "bench/BenchWindow.h"
#include "program/ProgramWindow.h"
#include "sim/BackgroundSim.h"
#include "ui/Knob.h"

#include <QApplication>
#include <QWheelEvent>

#include <benchmark/benchmark.h>

#include <filesystem>

using namespace kivo;

namespace {

void BM_WheelToFrame(benchmark::State& state)
{
    const std::string dir = std::filesystem::temp_directory_path() / "kivo-bench-window";
    std::filesystem::create_directories(dir);
    bench::WriteBenchFiles(dir, 6); // meter "OFF": nothing else on the line
    sim::BackgroundSim radio(sim::WireOptions::Ideal());
    std::string err;
    const std::string path = radio.Start(err);
    program::ProgramWindow w(dir);
    auto& prog = w.Program();
    bench::LoadOnSimulator(w, path);
    prog.panel.Power().PressPower();
    ui::Knob* knob = w.MainKnob();
    const QPointF at(knob->width() / 2.0, knob->height() / 2.0);
    for (auto _ : state) {
        state.PauseTiming();
        platform::Pause(w.Loop(), 0.12); // the radio's frame gap, so each notch goes out at once
        const std::uint32_t before = std::uint32_t(prog.s.VFOMB.Freq);
        state.ResumeTiming();
        QWheelEvent notch(at, knob->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(knob, &notch); // the frame is written inside the handler
        benchmark::DoNotOptimize(before);
    }
    state.counters["frames_per_notch"] = 1;
    prog.panel.Power().PressPower();
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_WheelToFrame)->Unit(benchmark::kMicrosecond)->Iterations(50);

} // namespace
