#include "sim/BackgroundSim.h"

#include "platform/SystemEventLoop.h"
#include "sim/PtyLink.h"

#include <future>

namespace kivo::sim {

std::string BackgroundSim::Start(std::string& error)
{
    Stop();
    m_stop = false;
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
        started.set_value({link.Path(), ""});
        while (!m_stop)
            loop.ProcessEventsUntil(loop.Now() + 0.1);
    });
    auto [path, err] = result.get();
    if (path.empty()) {
        m_thread.join();
        error = err;
    }
    return path;
}

void BackgroundSim::Stop()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
}

} // namespace kivo::sim
