#pragma once
// The simulator on its own thread behind a pseudo-terminal: the radio a program talks to when
// it runs without one. Everything of the simulator lives on that thread.

#include "sim/Wire.h"

#include <atomic>
#include <string>
#include <thread>

namespace kivo::sim {

class BackgroundSim {
public:
    explicit BackgroundSim(WireOptions options = {}) : m_options(options) {}
    ~BackgroundSim() { Stop(); }
    BackgroundSim(const BackgroundSim&) = delete;
    BackgroundSim& operator=(const BackgroundSim&) = delete;

    // Starts serving; returns the terminal's path, or "" with a reason in `error`.
    std::string Start(std::string& error);
    void Stop();
    // The simulated radio; read it only while stopped.
    Ft817& Radio() { return m_radio; }
    // Whether the radio is transmitting; readable while it runs.
    bool OnAir() const { return m_onAir; }
    // Frames the radio took and dropped during the last run; read them once stopped.
    std::size_t FramesAccepted() const { return m_accepted; }
    std::size_t FramesDropped() const { return m_dropped; }

private:
    void CloseWake();

    Ft817 m_radio;
    WireOptions m_options;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_onAir{false};
    int m_wake[2] = {-1, -1}; // Stop() writes to [1] to wake the thread
    std::size_t m_accepted = 0;
    std::size_t m_dropped = 0;
};

} // namespace kivo::sim
