#include "ui/QtEventLoop.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <utility>

namespace kivo::ui {

namespace {

// QTimer takes an int; a month is as long as anyone waits.
constexpr double kMaxWaitMs = 30.0 * 24 * 3600 * 1000;

class QtTimer final : public platform::TimerBase {
public:
    QtTimer() : m_timer(new QTimer)
    {
        m_timer->setTimerType(Qt::PreciseTimer);
        QObject::connect(m_timer, &QTimer::timeout, m_timer, [this] { Tick(); });
    }

    ~QtTimer() override
    {
        *m_alive = false;
        m_timer->disconnect();
        m_timer->stop();
        // A handler deleting its own timer is still inside the QTimer's signal.
        if (m_firing)
            m_timer->deleteLater();
        else
            delete m_timer;
    }

private:
    void Restart() override
    {
        if (m_enabled && m_interval > 0)
            m_timer->start(m_interval);
        else
            m_timer->stop();
    }

    void Tick()
    {
        // A handler that waits pumps events; its own later ticks are dropped, not nested.
        if (m_firing || !m_enabled || m_interval <= 0)
            return;
        m_firing = true;
        auto alive = m_alive;
        auto handler = onTick;
        if (handler)
            handler();
        if (*alive)
            m_firing = false;
    }

    QTimer* m_timer;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
    bool m_firing = false;
};

} // namespace

QtEventLoop::QtEventLoop() = default;

QtEventLoop::~QtEventLoop() = default;

double QtEventLoop::Now() const
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

int QtEventLoop::MsUntil(double at) const
{
    const double ms = std::ceil((at - Now()) * 1000.0);
    if (!(ms > 0)) // also catches NaN
        return 0;
    return static_cast<int>(std::min(ms, kMaxWaitMs));
}

void QtEventLoop::ProcessEventsUntil(double deadline)
{
    ++m_depth;
    struct Leave {
        int& depth;
        ~Leave() { --depth; }
    } leave{m_depth};
    const int ms = MsUntil(deadline);
    if (ms == 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        return;
    }
    // Sleeps in Qt's dispatcher until an event or the deadline; no busy polling.
    QEventLoop loop;
    QEventLoop* outer = std::exchange(m_inner, &loop);
    struct Restore {
        QEventLoop*& inner;
        QEventLoop* outer;
        ~Restore() { inner = outer; }
    } restore{m_inner, outer};
    QTimer deadlineTimer;
    deadlineTimer.setSingleShot(true);
    deadlineTimer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&deadlineTimer, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadlineTimer.start(ms);
    loop.exec(QEventLoop::AllEvents);
}

void QtEventLoop::WatchFd(int fd, std::function<void()> onReadable)
{
    auto notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    // Input ends the wait in progress, so a caller waiting for it wakes at once.
    QObject::connect(notifier.get(), &QSocketNotifier::activated, notifier.get(), [this, fn = std::move(onReadable)] {
        fn();
        if (m_inner)
            m_inner->quit();
    });
    m_watches[fd] = std::move(notifier);
}

void QtEventLoop::UnwatchFd(int fd)
{
    auto it = m_watches.find(fd);
    if (it == m_watches.end())
        return;
    // The handler being unwatched may be running right now: delete its notifier later.
    it->second->setEnabled(false);
    it->second.release()->deleteLater();
    m_watches.erase(it);
}

std::unique_ptr<platform::Timer> QtEventLoop::CreateTimer() { return std::make_unique<QtTimer>(); }

void QtEventLoop::CallAt(double at, std::function<void()> fn)
{
    QTimer::singleShot(MsUntil(at), Qt::PreciseTimer, &m_context, std::move(fn));
}

} // namespace kivo::ui
