#pragma once
// The simulator as an in-process serial port, for fast deterministic tests.

#include "platform/EventLoop.h"
#include "platform/SerialPort.h"
#include "sim/Wire.h"

#include <string>

namespace kivo::sim {

class SimPort final : public platform::SerialPort {
public:
    SimPort(platform::EventLoop& loop, Ft817& radio, WireOptions options = {});

    bool Open(std::string& error) override;
    void Close() override;
    bool IsOpen() const override { return m_open; }
    void SetPortNumber(int number) override { m_number = number; }
    int PortNumber() const override { return m_number; }
    void SetLineSettings(const std::string& settings) override { m_lineSettings = settings; }
    void SetBufferSizes(int rx, int tx, int inputLength) override;
    int BytesWaiting() override;
    void DiscardInput() override { m_rx.clear(); }
    void DiscardOutput() override {}
    void Write(std::string_view bytes) override;
    std::string Read() override;
    bool Vanished() const override { return m_vanished; }
    std::uint64_t BytesArrived() override { return m_arrived; }

    Wire& GetWire() { return m_wire; }
    const Wire& GetWire() const { return m_wire; }
    const std::string& LineSettings() const { return m_lineSettings; }
    int InputLength() const { return m_inputLength; }

    // Test controls: the next Open fails with this description (empty: opens).
    void FailOpenWith(std::string description) { m_openError = std::move(description); }
    // The device goes away while open (reads and writes do nothing, Vanished() is true,
    // Open fails) until Reappear().
    void Vanish();
    void Reappear() { m_gone = false; }
    // The radio takes frames but its answers never arrive (a cable with a broken receive line,
    // a radio switched off) while set.
    void SetSilent(bool silent) { m_silent = silent; }
    // Number of Write calls (each must be one whole frame).
    int WriteCount() const { return m_writes; }

private:
    Wire m_wire;
    bool m_open = false;
    bool m_vanished = false;
    bool m_gone = false;
    int m_number = 0;
    int m_inputLength = 5;
    int m_writes = 0;
    std::string m_lineSettings;
    std::string m_openError;
    std::string m_rx;
    std::uint64_t m_arrived = 0;
    bool m_silent = false;
};

} // namespace kivo::sim
