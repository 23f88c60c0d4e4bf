#include "platform/EventLoop.h"

namespace kivo::platform {

void Pause(EventLoop& loop, double seconds)
{
    // Monotonic double-precision time: no early or endless wait across midnight or a clock change.
    const double end = loop.Now() + (seconds > 0 ? seconds : 0);
    do {
        loop.ProcessEventsUntil(end);
    } while (loop.Now() < end);
}

} // namespace kivo::platform
