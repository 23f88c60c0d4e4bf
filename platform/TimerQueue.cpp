#include "platform/TimerQueue.h"

#include <algorithm>

namespace kivo::platform {

class TimerQueue::QueueTimer final : public TimerBase {
public:
    QueueTimer(TimerQueue* q, std::shared_ptr<bool> alive) : m_queue(q), m_alive(std::move(alive))
    {
        m_queue->m_timers.push_back(this);
    }
    ~QueueTimer() override
    {
        if (*m_alive)
            std::erase(m_queue->m_timers, this);
    }

    bool Armed() const { return m_enabled && m_interval > 0 && !m_firing; }
    double due = 0;
    std::uint64_t seq = 0;
    bool m_firing = false;

    void Restart() override
    {
        due = m_queue->m_now() + m_interval / 1000.0;
        seq = ++m_queue->m_seq;
    }

private:
    TimerQueue* m_queue;
    std::shared_ptr<bool> m_alive;
};

TimerQueue::TimerQueue(std::function<double()> now) : m_now(std::move(now)) {}

TimerQueue::~TimerQueue() { *m_alive = false; }

std::unique_ptr<Timer> TimerQueue::CreateTimer() { return std::make_unique<QueueTimer>(this, m_alive); }

void TimerQueue::CallAt(double at, std::function<void()> fn) { m_oneShots.push_back({at, ++m_seq, std::move(fn)}); }

std::optional<double> TimerQueue::NextDue() const
{
    std::optional<double> best;
    for (const auto* t : m_timers)
        if (t->Armed() && (!best || t->due < *best))
            best = t->due;
    for (const auto& o : m_oneShots)
        if (!best || o.at < *best)
            best = o.at;
    return best;
}

bool TimerQueue::FireOneDueBy(double t)
{
    // Pick the earliest item; ties go to the one scheduled first.
    QueueTimer* timer = nullptr;
    for (auto* q : m_timers)
        if (q->Armed() && q->due <= t &&
            (!timer || q->due < timer->due || (q->due == timer->due && q->seq < timer->seq)))
            timer = q;
    auto shot = m_oneShots.end();
    for (auto it = m_oneShots.begin(); it != m_oneShots.end(); ++it)
        if (it->at <= t &&
            (shot == m_oneShots.end() || it->at < shot->at || (it->at == shot->at && it->seq < shot->seq)))
            shot = it;
    const bool useShot = shot != m_oneShots.end() &&
                         (!timer || shot->at < timer->due || (shot->at == timer->due && shot->seq < timer->seq));
    if (useShot) {
        auto fn = std::move(shot->fn);
        m_oneShots.erase(shot);
        fn();
        return true;
    }
    if (!timer)
        return false;
    // Next tick counts from this one; a handler that disables or re-enables the timer overrides it.
    timer->due += timer->Interval() / 1000.0;
    if (timer->due < m_now())
        timer->due = m_now() + timer->Interval() / 1000.0;
    timer->seq = ++m_seq;
    timer->m_firing = true;
    auto alive = m_alive;
    auto handler = timer->onTick;
    if (handler)
        handler();
    // The handler may have deleted the timer (or the whole queue).
    if (*alive && std::find(m_timers.begin(), m_timers.end(), timer) != m_timers.end())
        timer->m_firing = false;
    return true;
}

} // namespace kivo::platform
