#pragma once
// Event loop on the system's monotonic clock for programs without a toolkit (the simulator, tools).

#include "platform/EventLoop.h"
#include "platform/TimerQueue.h"

#include <functional>
#include <vector>

namespace kivo::platform {

class SystemEventLoop final : public EventLoop {
public:
    SystemEventLoop();
    double Now() const override;
    void ProcessEventsUntil(double deadline) override;
    std::unique_ptr<Timer> CreateTimer() override { return m_queue.CreateTimer(); }
    void CallAt(double at, std::function<void()> fn) override { m_queue.CallAt(at, std::move(fn)); }
    // Calls onReadable whenever fd has input (or a hang-up); the loop sleeps in poll() otherwise.
    void WatchFd(int fd, std::function<void()> onReadable) override;
    void UnwatchFd(int fd) override;

private:
    struct Watch {
        int fd;
        std::function<void()> fn;
    };
    TimerQueue m_queue;
    std::vector<Watch> m_watches;
};

} // namespace kivo::platform
