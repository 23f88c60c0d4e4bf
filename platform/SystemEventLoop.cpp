#include "platform/SystemEventLoop.h"

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace kivo::platform {

SystemEventLoop::SystemEventLoop() : m_queue([this] { return Now(); }) {}

double SystemEventLoop::Now() const
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

void SystemEventLoop::WatchFd(int fd, std::function<void()> onReadable)
{
    UnwatchFd(fd);
    m_watches.push_back({fd, std::move(onReadable)});
}

void SystemEventLoop::UnwatchFd(int fd)
{
    std::erase_if(m_watches, [fd](const Watch& w) { return w.fd == fd; });
}

void SystemEventLoop::ProcessEventsUntil(double deadline)
{
    for (;;) {
        while (m_queue.FireOneDueBy(Now())) {
        }
        const double now = Now();
        if (now >= deadline)
            return;
        double wake = deadline;
        if (auto next = m_queue.NextDue(); next && *next < wake)
            wake = *next;
        std::vector<pollfd> fds;
        for (const auto& w : m_watches)
            fds.push_back({w.fd, POLLIN, 0});
        const int ms = static_cast<int>(std::ceil((wake - now) * 1000.0));
        const int n = ::poll(fds.data(), fds.size(), ms < 0 ? 0 : ms);
        if (n > 0) {
            // Copy: a handler may change the watch list.
            auto watches = m_watches;
            for (std::size_t i = 0; i < fds.size(); ++i)
                if (fds[i].revents != 0)
                    for (auto& w : watches)
                        if (w.fd == fds[i].fd && w.fn)
                            w.fn();
            return;
        }
    }
}

} // namespace kivo::platform
