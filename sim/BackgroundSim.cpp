#include "sim/BackgroundSim.h"

#include "platform/SystemEventLoop.h"
#include "sim/PtyLink.h"

#include <fcntl.h>
#include <unistd.h>

#include <future>

namespace kivo::sim {

std::string BackgroundSim::Start(std::string& error)
{
    Stop();
    m_stop = false;
    if (::pipe2(m_wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        error = "cannot make the simulator's wake-up pipe";
        return {};
    }
    std::promise<std::pair<std::string, std::string>> started; // path, error
    auto result = started.get_future();
    m_thread = std::thread([this, &started] {
        platform::SystemEventLoop loop;
        PtyLink link(loop, m_radio, m_options);
        std::string err;
        if (!link.Start(err)) {
            started.set_value({"", err});
            return;
        }
        link.GetWire().onFrame = [this](const ReceivedFrame&) { m_onAir = m_radio.Transmitting(); };
        started.set_value({link.Path(), ""});
        // Asleep until a byte arrives, an answer is due or Stop() writes to the pipe: an idle
        // radio costs nothing.
        loop.WatchFd(m_wake[0], [this] {
            char c;
            while (::read(m_wake[0], &c, 1) > 0) {
            }
        });
        while (!m_stop)
            loop.ProcessEventsUntil(loop.Now() + 3600);
        loop.UnwatchFd(m_wake[0]);
        m_accepted = link.GetWire().AcceptedCount();
        m_dropped = link.GetWire().DroppedCount();
    });
    auto [path, err] = result.get();
    if (path.empty()) {
        m_thread.join();
        CloseWake();
        error = err;
    }
    return path;
}

void BackgroundSim::Stop()
{
    m_stop = true;
    if (m_thread.joinable()) {
        const char c = 0;
        (void)!::write(m_wake[1], &c, 1);
        m_thread.join();
    }
    CloseWake();
}

void BackgroundSim::CloseWake()
{
    for (int& fd : m_wake) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

} // namespace kivo::sim
