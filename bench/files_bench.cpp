// Opening and saving a full 1000-position memory file.

#include "platform/FileSystem.h"
#include "platform/ScriptedDialogs.h"
#include "state/Layout.h"
#include "state/MemoryFile.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

std::string FullFile()
{
    std::string bytes;
    for (int p = 0; p < 1000; ++p) {
        kivo::state::MemRec m;
        m.VFO1.Freq = 14400000 + p * 1250;
        m.VFO1.Mode = static_cast<kivo::state::Integer>(p % 8);
        m.Band1 = 1;
        m.Desc.Assign("Channel " + std::to_string(p));
        bytes += kivo::state::ToBytes(m);
    }
    return bytes;
}

struct Setup {
    std::string dir;
    std::string path;
    kivo::state::ModKIVO s;
    kivo::platform::PosixFileSystem fs;
    kivo::platform::ScriptedDialogs dialogs;
    kivo::state::MemoryFile memory{s, fs, dialogs};
    Setup()
    {
        std::string tmpl = (std::filesystem::temp_directory_path() / "kivo-bench-XXXXXX").string();
        dir = ::mkdtemp(tmpl.data());
        path = dir + "/full.mem";
        kivo::platform::PosixFileSystem().WriteAtomic(path, FullFile());
    }
    ~Setup() { std::filesystem::remove_all(dir); }
};

void BM_OpenFullMemoryFile(benchmark::State& state)
{
    Setup env;
    for (auto _ : state)
        benchmark::DoNotOptimize(env.memory.OpenMemoryFile(env.path));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 103000);
}
BENCHMARK(BM_OpenFullMemoryFile)->Unit(benchmark::kMicrosecond);

void BM_SaveFullMemoryFile(benchmark::State& state)
{
    Setup env;
    env.memory.OpenMemoryFile(env.path);
    for (auto _ : state)
        benchmark::DoNotOptimize(env.memory.SaveMemoryFile());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 103000);
}
BENCHMARK(BM_SaveFullMemoryFile)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
