#pragma once
// The program's event loop on Qt's: monotonic clock, QTimer-based timers, nested event pumping.

#include "platform/EventLoop.h"

#include <QObject>
#include <QSocketNotifier>

#include <functional>
#include <map>
#include <memory>

class QEventLoop;

namespace kivo::ui {

class QtEventLoop final : public platform::EventLoop {
public:
    // Needs a QCoreApplication (or QApplication) for as long as it is used.
    QtEventLoop();
    ~QtEventLoop() override;
    QtEventLoop(const QtEventLoop&) = delete;
    QtEventLoop& operator=(const QtEventLoop&) = delete;

    double Now() const override;
    void ProcessEventsUntil(double deadline) override;
    std::unique_ptr<platform::Timer> CreateTimer() override;
    void CallAt(double at, std::function<void()> fn) override;
    void WatchFd(int fd, std::function<void()> onReadable) override;
    void UnwatchFd(int fd) override;

    // Milliseconds from now until `at`, rounded up so a wait never ends before it; 0 when due.
    int MsUntil(double at) const;
    // How many waits are in progress: above 0 while a handler pauses inside the event loop.
    int Depth() const { return m_depth; }

private:
    int m_depth = 0;
    QEventLoop* m_inner = nullptr; // the innermost wait of ProcessEventsUntil
    // Owns the pending CallAt shots, so they die with the loop.
    QObject m_context;
    std::map<int, std::unique_ptr<QSocketNotifier>> m_watches;
};

} // namespace kivo::ui
