#pragma once
// The blink and time-out timer `TimerDelay`, shared by every feature that blinks a label or times
// out a pending key: memory check, the quick memories, SUB and scanning. Each feature adds itself
// as a user that says when it needs the ticks; the timer runs while one of them does, so one
// feature stopping never stops another's blinking.

#include "platform/EventLoop.h"

#include <functional>
#include <memory>
#include <vector>

namespace kivo::panel {

class TimerDelay {
public:
    // 500 ms until a feature asks for another interval.
    explicit TimerDelay(platform::EventLoop& loop);

    // A feature that uses the timer: `wants` tells whether it needs ticks now, `tick` is its share
    // of each tick. Users tick in the order added.
    void AddUser(std::function<bool()> wants, std::function<void()> tick);
    // Starts the timer, or restarts its count when it runs.
    void Start();
    // Stops the timer unless a user still wants it.
    void Release();
    void SetInterval(int ms) { m_timer->SetInterval(ms); }
    int Interval() const { return m_timer->Interval(); }
    bool Running() const { return m_timer->Enabled(); }
    // The timer itself, for power-off to stop.
    platform::Timer& Timer() { return *m_timer; }

private:
    struct User {
        std::function<bool()> wants;
        std::function<void()> tick;
    };
    void Tick();

    std::unique_ptr<platform::Timer> m_timer;
    std::vector<User> m_users;
};

} // namespace kivo::panel
