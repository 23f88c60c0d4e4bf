#pragma once
// SIGTERM, SIGINT and SIGHUP (shutdown, Ctrl+C, logout) brought into the event loop, so that the
// program ends in order instead of where the signal found it.

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include <functional>
#include <memory>

namespace kivo::ui {

class EndSignals : public QObject {
    Q_OBJECT
public:
    // Calls `onEnd` once, from the event loop, for the first of these signals that arrives, and
    // only while `busy` says no handler is in the middle of its work (a key's sequence waiting
    // out its pauses finishes first).
    EndSignals(std::function<void()> onEnd, std::function<bool()> busy, QObject* parent = nullptr);
    ~EndSignals() override;

private:
    void EndWhenIdle();

    std::function<void()> m_onEnd;
    std::function<bool()> m_busy;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace kivo::ui
