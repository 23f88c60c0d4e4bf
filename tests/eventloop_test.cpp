#include "platform/SystemEventLoop.h"
#include "platform/VirtualEventLoop.h"

#include <gtest/gtest.h>

#include <vector>

using namespace kivo::platform;

TEST(VirtualEventLoop, PauseRunsTimersAndEndsOnTime)
{
    VirtualEventLoop loop(86399.9); // just before midnight: a monotonic clock does not care
    auto t = loop.CreateTimer();
    std::vector<double> ticks;
    t->onTick = [&] { ticks.push_back(loop.Now()); };
    t->SetInterval(250);
    t->SetEnabled(true);
    const double start = loop.Now();
    Pause(loop, 1.0);
    EXPECT_DOUBLE_EQ(loop.Now(), start + 1.0);
    ASSERT_EQ(ticks.size(), 4u);
    EXPECT_NEAR(ticks[0] - start, 0.25, 1e-9);
    EXPECT_NEAR(ticks[3] - start, 1.0, 1e-9);
}

TEST(VirtualEventLoop, IntervalZeroNeverTicksAndDisableStops)
{
    VirtualEventLoop loop;
    auto t = loop.CreateTimer();
    int n = 0;
    t->onTick = [&] { ++n; };
    t->SetEnabled(true);
    loop.Advance(10);
    EXPECT_EQ(n, 0);
    t->SetInterval(100);
    loop.Advance(0.35);
    EXPECT_EQ(n, 3);
    t->SetEnabled(false);
    loop.Advance(1);
    EXPECT_EQ(n, 3);
}

TEST(VirtualEventLoop, TickDoesNotReenterItsOwnHandler)
{
    VirtualEventLoop loop;
    auto t = loop.CreateTimer();
    int depth = 0, maxDepth = 0, n = 0;
    t->onTick = [&] {
        ++n;
        maxDepth = std::max(maxDepth, ++depth);
        Pause(loop, 0.5); // waits inside the tick, as the radio readers do
        --depth;
    };
    t->SetInterval(100);
    t->SetEnabled(true);
    loop.Advance(2);
    EXPECT_EQ(maxDepth, 1);
    EXPECT_GE(n, 3);
}

TEST(VirtualEventLoop, OneShotsRunInTimeOrderAndATimerMayDeleteItself)
{
    VirtualEventLoop loop;
    std::vector<int> order;
    loop.CallAt(loop.Now() + 0.2, [&] { order.push_back(2); });
    loop.CallAt(loop.Now() + 0.1, [&] { order.push_back(1); });
    auto t = loop.CreateTimer();
    t->onTick = [&] {
        order.push_back(3);
        t.reset();
    };
    t->SetInterval(300);
    t->SetEnabled(true);
    loop.Advance(1);
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

TEST(SystemEventLoop, PauseLastsAtLeastTheRequestedTime)
{
    SystemEventLoop loop;
    auto t = loop.CreateTimer();
    int n = 0;
    t->onTick = [&] { ++n; };
    t->SetInterval(20);
    t->SetEnabled(true);
    const double start = loop.Now();
    Pause(loop, 0.1);
    EXPECT_GE(loop.Now() - start, 0.1);
    EXPECT_GE(n, 3);
}
