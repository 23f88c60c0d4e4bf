// The whole program under a random operator against a misbehaving radio: after every step and
// every quiet period the invariants hold (tests/support/RandomOperator.h). A failing seed prints
// the shortest sequence of steps that still fails.

#include "tests/support/RandomOperator.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace kivo::testing {
namespace {

// Seeds and their lengths: 20,000 steps in all.
struct SeedRow {
    std::uint64_t seed;
    std::size_t steps;
};
constexpr SeedRow kSeeds[] = {
    {1, 2500}, {2, 2500}, {3, 2500}, {4, 2500}, {5, 2500}, {6, 2500}, {7, 2500}, {8, 2500},
};

TEST(RandomOperator, SeedsKeepEveryInvariant)
{
    Tally all;
    for (const auto& row : kSeeds) {
        const auto steps = GenerateSteps(row.seed, row.steps);
        Tally t;
        const Outcome o = RunSteps(steps, &t);
        all.Add(t);
        if (o.failed) {
            const auto shortest = Shrink(steps, o);
            const Outcome again = RunSteps(shortest);
            ADD_FAILURE() << "seed " << row.seed << ": " << Report(shortest, again.failed ? again : o);
        }
    }
    std::printf("%s\n", all.Text().c_str());
    for (const char* state : {"MR", "PMS", "HOME", "scan", "search", "priority", "SUB", "split", "MOX", "LOCK"})
        EXPECT_GE(all.reached[state], 20) << state << " was reached too rarely";
}

} // namespace
} // namespace kivo::testing
