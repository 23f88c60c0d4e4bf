#pragma once
// Timer and one-shot bookkeeping shared by the virtual and the system event loops.

#include "platform/EventLoop.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace kivo::platform {

class TimerQueue {
public:
    explicit TimerQueue(std::function<double()> now);
    ~TimerQueue();
    TimerQueue(const TimerQueue&) = delete;
    TimerQueue& operator=(const TimerQueue&) = delete;

    std::unique_ptr<Timer> CreateTimer();
    void CallAt(double at, std::function<void()> fn);
    // Earliest due time of anything pending, if any.
    std::optional<double> NextDue() const;
    // Fires the single earliest item due at or before `t`; returns false when none is due.
    bool FireOneDueBy(double t);
    // What is pending: timers alive (armed or not), and one-shots not yet run; a long run checks
    // that these stay bounded.
    std::size_t TimerCount() const { return m_timers.size(); }
    std::size_t OneShotCount() const { return m_oneShots.size(); }

private:
    class QueueTimer;
    struct OneShot {
        double at;
        std::uint64_t seq;
        std::function<void()> fn;
    };
    std::function<double()> m_now;
    std::vector<QueueTimer*> m_timers;
    std::vector<OneShot> m_oneShots;
    std::uint64_t m_seq = 0;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

} // namespace kivo::platform
