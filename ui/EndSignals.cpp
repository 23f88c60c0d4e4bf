#include "ui/EndSignals.h"

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace kivo::ui {

namespace {

// A signal handler may only write to a pipe; the event loop reads the other end.
int g_pipe[2] = {-1, -1};

void OnSignal(int sig)
{
    const char c = char(sig);
    (void)!::write(g_pipe[1], &c, 1);
}

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

} // namespace

EndSignals::EndSignals(std::function<void()> onEnd, std::function<bool()> busy, QObject* parent)
    : QObject(parent), m_onEnd(std::move(onEnd)), m_busy(std::move(busy))
{
    if (g_pipe[0] < 0 && ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return; // without the pipe the signals keep their default: the program ends at once
    m_notifier = std::make_unique<QSocketNotifier>(g_pipe[0], QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, [this] {
        char buf[16];
        while (::read(g_pipe[0], buf, sizeof buf) > 0) {
        }
        m_notifier->setEnabled(false); // one orderly end, however many signals follow
        EndWhenIdle();
    });
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : kSignals)
        ::sigaction(sig, &sa, nullptr);
}

void EndSignals::EndWhenIdle()
{
    if (m_busy && m_busy()) {
        QTimer::singleShot(20, this, &EndSignals::EndWhenIdle);
        return;
    }
    if (m_onEnd)
        m_onEnd();
}

EndSignals::~EndSignals()
{
    for (int sig : kSignals)
        std::signal(sig, SIG_DFL);
}

} // namespace kivo::ui
