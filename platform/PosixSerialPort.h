#pragma once
// The serial port on a POSIX terminal device (termios): 4800/9600/38400 bit/s, 8N2, no handshake.

#include "platform/PortMap.h"
#include "platform/SerialPort.h"

#include <functional>
#include <string>
#include <vector>

namespace kivo::platform {

// The serial devices of this machine in a stable order: USB adapters first (by their
// /dev/serial/by-id names), then the built-in ports that really have a UART and are not the
// kernel's console.
std::vector<std::string> ListSerialDevices();

// The name the built-in simulator goes by in the port bindings; its terminal changes each run.
inline constexpr const char* kSimulatorDevice = "built-in simulator";

class PosixSerialPort final : public SerialPort {
public:
    PosixSerialPort();
    ~PosixSerialPort() override;
    PosixSerialPort(const PosixSerialPort&) = delete;
    PosixSerialPort& operator=(const PosixSerialPort&) = delete;

    bool Open(std::string& error) override;
    void Close() override;
    bool IsOpen() const override { return m_fd >= 0; }
    int InputHandle() const override { return m_fd; }
    void SetPortNumber(int number) override { m_number = number; }
    int PortNumber() const override { return m_number; }
    void SetLineSettings(const std::string& settings) override { m_settings = settings; }
    void SetBufferSizes(int rx, int tx, int inputLength) override;
    int BytesWaiting() override;
    void DiscardInput() override;
    void DiscardOutput() override;
    void Write(std::string_view bytes) override;
    std::string Read() override;
    bool Vanished() const override { return m_vanished; }
    std::uint64_t BytesArrived() override
    {
        Pull();
        return m_arrived;
    }

    // The built-in simulator's terminal: a device like the machine's own, bound to a number
    // under the name kSimulatorDevice.
    void SetSimulator(std::string terminal) { m_simulator = std::move(terminal); }
    // Where the machine's devices are listed from (tests give their own).
    void SetDeviceLister(std::function<std::vector<std::string>()> lister) { m_lister = std::move(lister); }
    // Looks at the devices present now and binds the new ones to free numbers; true when a
    // binding was added (the bindings should then be saved).
    bool RefreshDevices();
    // Number to device bindings; Parse a saved text into it before the first refresh.
    PortMap& Bindings() { return m_map; }
    // The device bound to port number 1..9, or "" when none is.
    std::string DeviceOf(int number) const { return m_map.DeviceOf(number); }
    // The device of a number for the port menu: "" when none is bound, else the device, marked
    // "(not connected)" when it was not there at the last refresh.
    std::string Caption(int number) const;
    // Opens a given device path instead of a numbered port (tests, tools).
    void SetDevicePath(std::string path) { m_path = std::move(path); }

private:
    void Pull();
    void Gone();

    int m_fd = -1;
    int m_number = 0;
    int m_inputLength = 5;
    bool m_vanished = false;
    std::string m_settings = "9600,N,8,2";
    std::string m_path;
    std::string m_rx;
    std::uint64_t m_arrived = 0;
    std::string m_simulator;
    std::function<std::vector<std::string>()> m_lister = ListSerialDevices;
    PortMap m_map;
    std::vector<std::string> m_present;
};

} // namespace kivo::platform
