#pragma once
// Event loop on a virtual clock for tests: processing events jumps time to the next due item.

#include "platform/EventLoop.h"
#include "platform/TimerQueue.h"

namespace kivo::platform {

class VirtualEventLoop final : public EventLoop {
public:
    explicit VirtualEventLoop(double start = 1000.0);
    double Now() const override { return m_now; }
    void ProcessEventsUntil(double deadline) override;
    std::unique_ptr<Timer> CreateTimer() override { return m_queue.CreateTimer(); }
    void CallAt(double at, std::function<void()> fn) override { m_queue.CallAt(at, std::move(fn)); }
    // Lets virtual time pass as if the program sat idle in its main loop.
    void Advance(double seconds);

private:
    double m_now;
    TimerQueue m_queue;
};

} // namespace kivo::platform
