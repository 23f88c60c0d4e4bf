#include "platform/EventLoop.h"

namespace kivo::platform {

void Pause(EventLoop& loop, double seconds) { PauseUntil(loop, loop.Now() + (seconds > 0 ? seconds : 0)); }

void PauseUntil(EventLoop& loop, double until)
{
    // Monotonic double-precision time: no early or endless wait across midnight or a clock change.
    do {
        loop.ProcessEventsUntil(until);
    } while (loop.Now() < until);
}

} // namespace kivo::platform
