// The whole program core under the random operator, its steps read from the fuzzer's bytes (eight
// bytes a step, 64 steps at most), with the same invariants as the tests' seeds: any broken one
// aborts with the shortest failing sequence.

#include "tests/support/RandomOperator.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kivo::testing;
    constexpr std::size_t kMaxSteps = 64;
    auto steps = StepsFromBytes(data, size < kMaxSteps * 8 ? size : kMaxSteps * 8);
    const Outcome o = RunSteps(steps);
    if (o.failed) {
        const auto shortest = Shrink(steps, o, 100);
        const Outcome again = RunSteps(shortest);
        std::fprintf(stderr, "invariant broken: %s\n", Report(shortest, again.failed ? again : o).c_str());
        std::abort();
    }
    return 0;
}
