#include "platform/VirtualEventLoop.h"

#include <poll.h>

#include <algorithm>

namespace kivo::platform {

VirtualEventLoop::VirtualEventLoop(double start) : m_now(start), m_queue([this] { return m_now; }) {}

void VirtualEventLoop::WatchFd(int fd, std::function<void()> onReadable)
{
    UnwatchFd(fd);
    m_watches.emplace_back(fd, std::move(onReadable));
}

void VirtualEventLoop::UnwatchFd(int fd)
{
    std::erase_if(m_watches, [fd](const auto& w) { return w.first == fd; });
}

void VirtualEventLoop::PollFds()
{
    if (m_watches.empty())
        return;
    std::vector<pollfd> fds;
    for (const auto& w : m_watches)
        fds.push_back({w.first, POLLIN, 0});
    if (::poll(fds.data(), fds.size(), 0) <= 0)
        return;
    auto watches = m_watches; // a handler may change the list
    for (const auto& p : fds)
        if (p.revents != 0)
            for (auto& w : watches)
                if (w.first == p.fd && w.second)
                    w.second();
}

void VirtualEventLoop::ProcessEventsUntil(double deadline)
{
    struct Nest {
        int& depth;
        explicit Nest(int& d, int& max) : depth(d) { max = std::max(max, ++depth); }
        ~Nest() { --depth; }
    } nest(m_depth, m_maxDepth);
    if (onPass)
        onPass();
    PollFds();
    for (;;) {
        auto next = m_queue.NextDue();
        if (!next || *next > deadline)
            break;
        if (*next > m_now)
            m_now = *next;
        m_queue.FireOneDueBy(m_now);
    }
    if (deadline > m_now)
        m_now = deadline;
}

void VirtualEventLoop::Advance(double seconds) { ProcessEventsUntil(m_now + seconds); }

} // namespace kivo::platform
