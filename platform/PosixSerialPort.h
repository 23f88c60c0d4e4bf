#pragma once
// The serial port on a POSIX terminal device (termios): 4800/9600/38400 bit/s, 8N2, no handshake.

#include "platform/SerialPort.h"

#include <string>
#include <vector>

namespace kivo::platform {

// The serial devices of this machine in a stable order: USB adapters first (by their
// /dev/serial/by-id names), then the built-in ports that really have a UART.
std::vector<std::string> ListSerialDevices();

class PosixSerialPort final : public SerialPort {
public:
    PosixSerialPort();
    ~PosixSerialPort() override;
    PosixSerialPort(const PosixSerialPort&) = delete;
    PosixSerialPort& operator=(const PosixSerialPort&) = delete;

    bool Open(std::string& error) override;
    void Close() override;
    bool IsOpen() const override { return m_fd >= 0; }
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

    // Devices put ahead of the machine's own (the built-in simulator's terminal).
    void SetExtraDevices(std::vector<std::string> devices) { m_extra = std::move(devices); }
    // The device behind port number 1..9 now, or "" when there is none.
    std::string DeviceOf(int number) const;
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
    std::vector<std::string> m_extra;
};

} // namespace kivo::platform
