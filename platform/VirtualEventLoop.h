#pragma once
// Event loop on a virtual clock for tests: processing events jumps time to the next due item.

#include "platform/EventLoop.h"
#include "platform/TimerQueue.h"

#include <utility>
#include <vector>

namespace kivo::platform {

class VirtualEventLoop final : public EventLoop {
public:
    explicit VirtualEventLoop(double start = 1000.0);
    double Now() const override { return m_now; }
    void ProcessEventsUntil(double deadline) override;
    std::unique_ptr<Timer> CreateTimer() override { return m_queue.CreateTimer(); }
    void CallAt(double at, std::function<void()> fn) override { m_queue.CallAt(at, std::move(fn)); }
    // Descriptors are looked at, without waiting, each time events are processed: virtual time
    // does not wait for real input.
    void WatchFd(int fd, std::function<void()> onReadable) override;
    void UnwatchFd(int fd) override;
    // Lets virtual time pass as if the program sat idle in its main loop.
    void Advance(double seconds);

    // For long runs that check nothing piles up: timers alive, one-shots pending, descriptors
    // watched, and how deeply waits run inside waits now and at most since the last reset.
    std::size_t TimerCount() const { return m_queue.TimerCount(); }
    std::size_t OneShotCount() const { return m_queue.OneShotCount(); }
    std::size_t WatchCount() const { return m_watches.size(); }
    int WaitDepth() const { return m_depth; }
    int MaxWaitDepth() const { return m_maxDepth; }
    void ResetMaxWaitDepth() { m_maxDepth = m_depth; }
    // Called on every pass of the event pump, so a run can stop a wait that never ends.
    std::function<void()> onPass;

private:
    void PollFds();

    double m_now;
    TimerQueue m_queue;
    std::vector<std::pair<int, std::function<void()>>> m_watches;
    int m_depth = 0;
    int m_maxDepth = 0;
};

} // namespace kivo::platform
