#include "panel/TimerDelay.h"

#include <algorithm>

namespace kivo::panel {

TimerDelay::TimerDelay(platform::EventLoop& loop) : m_timer(loop.CreateTimer())
{
    m_timer->SetInterval(500);
    m_timer->onTick = [this] { Tick(); };
}

void TimerDelay::AddUser(std::function<bool()> wants, std::function<void()> tick)
{
    m_users.push_back({std::move(wants), std::move(tick)});
}

void TimerDelay::Start() { m_timer->SetEnabled(true); }

void TimerDelay::Release()
{
    if (std::none_of(m_users.begin(), m_users.end(), [](const User& u) { return u.wants(); }))
        m_timer->SetEnabled(false);
}

void TimerDelay::Tick()
{
    // A tick may end a user's need (a store, a time-out); the timer stops with the last one.
    for (const User& u : m_users)
        if (u.wants())
            u.tick();
    Release();
}

} // namespace kivo::panel
