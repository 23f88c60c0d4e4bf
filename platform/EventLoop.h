#pragma once
// Monotonic clock, timers and the event pump the program logic waits on.

#include <functional>
#include <memory>

namespace kivo::platform {

// A form timer: ticks every Interval() ms while enabled; an interval of 0 never ticks.
// Enabling (or changing the interval of) a running timer restarts its count.
class Timer {
public:
    virtual ~Timer() = default;
    virtual void SetInterval(int ms) = 0;
    virtual int Interval() const = 0;
    virtual void SetEnabled(bool on) = 0;
    virtual bool Enabled() const = 0;
    // Called on each tick. A tick never re-enters its own handler.
    std::function<void()> onTick;
};

// The interval and enabled state every timer keeps; Restart() puts a change into effect.
class TimerBase : public Timer {
public:
    void SetInterval(int ms) override
    {
        m_interval = ms < 0 ? 0 : ms;
        Restart();
    }
    int Interval() const override { return m_interval; }
    void SetEnabled(bool on) override
    {
        m_enabled = on;
        Restart();
    }
    bool Enabled() const override { return m_enabled; }

protected:
    virtual void Restart() = 0;
    int m_interval = 0;
    bool m_enabled = false;
};

class EventLoop {
public:
    virtual ~EventLoop() = default;
    // Monotonic seconds since an arbitrary origin; never jumps with the wall clock.
    virtual double Now() const = 0;
    // Runs due timers and pending events, sleeping (not spinning) until the next is due.
    // Returns at the deadline at the latest; may return earlier after handling input, so
    // callers that must wait loop on Now().
    virtual void ProcessEventsUntil(double deadline) = 0;
    virtual std::unique_ptr<Timer> CreateTimer() = 0;
    // Runs fn once at absolute time `at` from the event pump (used by simulated devices).
    virtual void CallAt(double at, std::function<void()> fn) = 0;
    // Calls onReadable from the event pump whenever fd has input (or a hang-up), until unwatched.
    virtual void WatchFd(int fd, std::function<void()> onReadable) = 0;
    virtual void UnwatchFd(int fd) = 0;
};

// Waits `seconds` while processing events: the program's only way to wait.
void Pause(EventLoop& loop, double seconds);
// Waits until the clock reads `until` at least. A wait for the rest of a span must name its end:
// now + (end - now) can round to just below the end, and a clock that only moves when asked to
// (the virtual one) would then be asked to move by nothing, over and over.
void PauseUntil(EventLoop& loop, double until);

} // namespace kivo::platform
