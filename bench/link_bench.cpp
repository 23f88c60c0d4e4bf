// Round trips over the simulator's pseudo-terminal through the real serial port code.

#include "panel/LinkReports.h"
#include "platform/DisplayModel.h"
#include "platform/PosixSerialPort.h"
#include "platform/SystemEventLoop.h"
#include "radio/Cat.h"
#include "sim/Ft817.h"
#include "sim/PtyLink.h"

#include <benchmark/benchmark.h>

using namespace kivo;

namespace {

struct Rig {
    platform::SystemEventLoop loop;
    sim::Ft817 radio;
    sim::PtyLink link{loop, radio, sim::WireOptions::Ideal()};
    platform::PosixSerialPort port;
    std::uint64_t written = 0;

    Rig()
    {
        std::string err;
        if (!link.Start(err))
            throw std::runtime_error(err);
        port.SetDevicePath(link.Path());
        port.SetBufferSizes(5, 5, 5);
        if (!port.Open(err))
            throw std::runtime_error(err);
    }
    // One request and its whole reply, waiting in the event pump as the program does.
    void RoundTrip(const std::string& frame, int replyLength)
    {
        port.Write(frame);
        written += frame.size();
        while (port.BytesWaiting() < replyLength)
            loop.ProcessEventsUntil(loop.Now() + 0.001);
        benchmark::DoNotOptimize(port.Read());
        port.DiscardInput();
    }
};

// One request and its reply: 0x03 (five bytes back) or 0xE7 (one byte back).
void BM_RoundTrip(benchmark::State& state, std::uint8_t opcode, int replyLength)
{
    Rig rig;
    const std::string frame = radio::MakeFrame(opcode);
    for (auto _ : state)
        rig.RoundTrip(frame, replyLength);
    state.counters["bytes_written/op"] = benchmark::Counter(double(rig.written) / double(state.iterations()));
}
BENCHMARK_CAPTURE(BM_RoundTrip, FreqModeRead, std::uint8_t(0x03), 5)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_RoundTrip, StatusPoll, std::uint8_t(0xE7), 1)->Unit(benchmark::kMicrosecond);

// The program's own reader: its fixed settle time and polls dominate, by design.
void BM_ReadFreqModeFromRadio(benchmark::State& state)
{
    Rig rig;
    state::ModKIVO kivo;
    platform::DisplayModel display;
    radio::Cat cat(kivo, rig.port, rig.loop);
    panel::LinkReports reports(kivo, display, cat);
    for (auto _ : state)
        benchmark::DoNotOptimize(cat.ReadFreqModeFromRadio());
    state.counters["bytes_written/op"] = 10; // the read, and the mode it sends back
}
BENCHMARK(BM_ReadFreqModeFromRadio)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

BENCHMARK_MAIN();
