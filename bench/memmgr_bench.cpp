// The memory manager's costs on a full database: opening its window (1000 used positions, the
// table drawn), COMPRESS, and a channel list of 1000 rows read and written.

#include "memmgr/ChannelCsv.h"
#include "memmgr/MemoryManager.h"
#include "platform/ScriptedDialogs.h"
#include "ui/MemoryManagerWindow.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <memory>

using namespace kivo;

namespace {

// Every position used (or every other one), with descriptions and a mix of modes and tones.
std::unique_ptr<state::ModKIVO> Database(int every = 1)
{
    auto s = std::make_unique<state::ModKIVO>();
    for (int p = 0; p < state::kMemCount; p += every) {
        state::MemRec& m = s->MemData[p];
        m.VFO1 = {
            14400000 + 1250 * p,    state::Integer(p % 8),   60000, state::Integer(p % 3 - 1), state::Integer(p % 4),
            state::Integer(p % 39), state::Integer(p % 104), 0};
        m.Band1 = 1;
        m.Desc.Assign("Memory channel number " + std::to_string(p));
        m.BankSel = p < 500 ? state::kTrue : state::kFalse;
    }
    return s;
}

void BM_OpenManagerWindow(benchmark::State& state)
{
    auto s = Database();
    for (auto _ : state) {
        ui::MemoryManagerWindow window(*s);
        window.show();
        QApplication::processEvents(); // laid out, exposed and drawn
        window.repaint();
        window.hide();
    }
}
BENCHMARK(BM_OpenManagerWindow)->Unit(benchmark::kMillisecond);

void BM_Compress(benchmark::State& state)
{
    auto s = Database(int(state.range(0)));
    platform::ScriptedDialogs dialogs;
    for (auto _ : state) {
        state.PauseTiming();
        memmgr::MemoryManager manager(*s, dialogs);
        state.ResumeTiming();
        benchmark::DoNotOptimize(manager.Compress());
    }
}
// 1: every position used (nothing moves); 2: every other one empty (half of them move).
BENCHMARK(BM_Compress)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

void BM_ImportCsv1000Rows(benchmark::State& state)
{
    auto s = Database();
    const std::string csv = memmgr::ExportChannels(s->MemData);
    const auto bands = state::DefaultBandData();
    for (auto _ : state) {
        auto r = memmgr::ImportChannels(csv, s->MemData, bands);
        for (const auto& c : r.channels)
            s->MemData[c.position] = c.rec;
        benchmark::DoNotOptimize(r);
    }
    state.counters["bytes"] = double(csv.size());
}
BENCHMARK(BM_ImportCsv1000Rows)->Unit(benchmark::kMillisecond);

void BM_ExportCsv1000Rows(benchmark::State& state)
{
    auto s = Database();
    for (auto _ : state)
        benchmark::DoNotOptimize(memmgr::ExportChannels(s->MemData));
}
BENCHMARK(BM_ExportCsv1000Rows)->Unit(benchmark::kMillisecond);

} // namespace
