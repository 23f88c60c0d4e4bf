#pragma once
// The port the radio link talks through: the serial device of a Serial Port number, or the
// network port, as the Serial Port menu chose.

#include "platform/SerialPort.h"

namespace kivo::platform {

// The Serial Port menu's number of the network port: after the nine devices and "None".
inline constexpr int kNetworkPortNumber = 11;

class ChosenPort final : public SerialPort {
public:
    ChosenPort(SerialPort& serial, SerialPort& network) : m_serial(serial), m_network(network) {}

    bool Open(std::string& error) override { return Current().Open(error); }
    void Close() override { Current().Close(); }
    bool IsOpen() const override { return Current().IsOpen(); }
    int InputHandle() const override { return Current().InputHandle(); }
    void SetPortNumber(int number) override
    {
        m_number = number;
        if (number != kNetworkPortNumber)
            m_serial.SetPortNumber(number);
    }
    int PortNumber() const override { return m_number; }
    // Both ports keep the settings, so a change of port takes them along.
    void SetLineSettings(const std::string& settings) override
    {
        m_serial.SetLineSettings(settings);
        m_network.SetLineSettings(settings);
    }
    void SetBufferSizes(int rx, int tx, int inputLength) override
    {
        m_serial.SetBufferSizes(rx, tx, inputLength);
        m_network.SetBufferSizes(rx, tx, inputLength);
    }
    int BytesWaiting() override { return Current().BytesWaiting(); }
    void DiscardInput() override { Current().DiscardInput(); }
    void DiscardOutput() override { Current().DiscardOutput(); }
    void Write(std::string_view bytes) override { Current().Write(bytes); }
    std::string Read() override { return Current().Read(); }
    bool Vanished() const override { return Current().Vanished(); }
    bool SetsLineSettings() const override { return Current().SetsLineSettings(); }
    std::uint64_t BytesArrived() override { return Current().BytesArrived(); }

    bool IsNetwork() const { return m_number == kNetworkPortNumber; }

private:
    SerialPort& Current() { return IsNetwork() ? m_network : m_serial; }
    const SerialPort& Current() const { return IsNetwork() ? m_network : m_serial; }

    SerialPort& m_serial;
    SerialPort& m_network;
    int m_number = 0;
};

} // namespace kivo::platform
