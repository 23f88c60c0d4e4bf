#include "platform/VirtualEventLoop.h"

namespace kivo::platform {

VirtualEventLoop::VirtualEventLoop(double start) : m_now(start), m_queue([this] { return m_now; }) {}

void VirtualEventLoop::ProcessEventsUntil(double deadline)
{
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
