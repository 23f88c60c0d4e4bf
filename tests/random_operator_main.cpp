// The random operator on demand: seeds one after another for a number of seconds (the soak run),
// or one seed, printing what was reached and checked, and the shortest failing sequence of any
// seed that fails.
//   random-operator --seconds 600          seeds 1000, 1001, ... for ten minutes
//   random-operator --seed 7 --steps 2500  one seed
//   random-operator --replay FILE          the rows of a failure's listing, traced
// Exits 1 when a seed failed.

#include "tests/support/RandomOperator.h"

#include "platform/FileSystem.h"
#include "platform/ScriptedDialogs.h"
#include "state/DataFiles.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

int main(int argc, char** argv)
{
    using namespace kivo::testing;
    double seconds = 0;
    std::uint64_t seed = 1000;
    std::size_t steps = 2000;
    bool one = false, shrink = true;
    std::string replay;
    if (argc == 4 && std::string(argv[1]) == "--prepare-data") {
        // A data folder for the program on a radio at LINK as Serial Port 1 (scripts/e2e-random.sh).
        const std::string data = argv[2], link = argv[3];
        std::filesystem::create_directories(data);
        kivo::state::ModKIVO s;
        s.Settings.CommPort = 1;
        s.Settings.TuneOnStartup = 0;
        s.Settings.MeterSpeed = 1;
        kivo::platform::PosixFileSystem fs;
        kivo::platform::ScriptedDialogs dialogs;
        kivo::state::DataFiles files(s, fs, dialogs, data);
        const bool ok = files.SaveSettingsFile() && files.SaveBandDataFile() &&
                        fs.WriteAtomic(data + "/serialports.txt", "1\t" + link + "\n");
        return ok ? 0 : 1;
    }
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--seconds" && i + 1 < argc)
            seconds = std::atof(argv[++i]);
        else if (a == "--seed" && i + 1 < argc) {
            seed = std::strtoull(argv[++i], nullptr, 10);
            one = seconds == 0;
        } else if (a == "--steps" && i + 1 < argc)
            steps = std::size_t(std::atol(argv[++i]));
        else if (a == "--no-shrink")
            shrink = false;
        else if (a == "--replay" && i + 1 < argc)
            replay = argv[++i];
        else {
            std::fprintf(stderr,
                         "usage: random-operator [--seconds S] [--seed N] [--steps N] [--no-shrink] [--replay FILE]\n");
            return 2;
        }
    }
    if (!replay.empty()) {
        // Rows as a failure prints them: {Act::Knob, 1529861686u, 3827693069u, 79},
        std::ifstream in(replay);
        const std::vector<Step> list = ParseSteps(std::string(std::istreambuf_iterator<char>(in), {}));
        Outcome o = RunSteps(list);
        if (!o.failed) {
            std::printf("no invariant broken\n");
            return 0;
        }
        // A listing cut short by the search's budget shrinks further from here.
        const auto shortest = shrink ? Shrink(list, o, 2000) : list;
        ::setenv("KIVO_RANDOM_TRACE", "1", 1);
        if (const Outcome again = RunSteps(shortest); again.failed)
            o = again;
        std::printf("%s\n", Report(shortest, o).c_str());
        return 1;
    }
    const auto t0 = std::chrono::steady_clock::now();
    const auto elapsed = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count(); };
    Tally all;
    int seeds = 0, failures = 0;
    do {
        const auto list = GenerateSteps(seed, steps);
        Tally t;
        const Outcome o = RunSteps(list, &t);
        all.Add(t);
        ++seeds;
        if (o.failed) {
            ++failures;
            std::printf("seed %llu fails: %s (step %zu)\n", static_cast<unsigned long long>(seed), o.what.c_str(),
                        o.step + 1);
            if (shrink) {
                const auto shortest = Shrink(list, o);
                std::fflush(stdout);
                ::setenv("KIVO_RANDOM_TRACE", "1", 1); // the shortest again, traced on standard error
                const Outcome again = RunSteps(shortest);
                ::unsetenv("KIVO_RANDOM_TRACE");
                std::printf("%s\n", Report(shortest, again.failed ? again : o).c_str());
            }
            std::fflush(stdout);
        }
        ++seed;
    } while (!one && elapsed() < seconds);
    const double s = elapsed();
    std::printf("%d seeds, %d failing; %.1f s, %.0f steps/s\n%s\n", seeds, failures, s, double(all.steps) / s,
                all.Text().c_str());
    return failures ? 1 : 0;
}
