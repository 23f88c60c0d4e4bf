#pragma once
// The radio's serial port served over the network by a small computer beside the radio (ser2net
// or the like): raw TCP, where the line settings are the server's, or Telnet with the
// COM-PORT-OPTION (RFC 2217), which sets the far port to this program's rate and 8N2.

#include "platform/NetworkAddress.h"
#include "platform/ReceiveBuffer.h"
#include "platform/Rfc2217.h"
#include "platform/SerialPort.h"
#include "platform/Tcp.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace kivo::platform {

class TcpSerialPort final : public SerialPort {
public:
    TcpSerialPort() = default;
    ~TcpSerialPort() override;
    TcpSerialPort(const TcpSerialPort&) = delete;
    TcpSerialPort& operator=(const TcpSerialPort&) = delete;

    void SetAddress(std::optional<NetworkAddress> address) { m_address = std::move(address); }
    const std::optional<NetworkAddress>& Address() const { return m_address; }
    // How long Open waits for the server, the connection and the Telnet hand-shake together.
    void SetConnectTimeout(double seconds) { m_timeout = seconds; }

    bool Open(std::string& error) override;
    void Close() override;
    bool IsOpen() const override { return m_conn != nullptr; }
    int InputHandle() const override { return m_conn ? m_conn->Fd() : -1; }
    void SetPortNumber(int number) override { m_number = number; }
    int PortNumber() const override { return m_number; }
    void SetLineSettings(const std::string& settings) override { m_comPort.SetLineSettings(settings); }
    void SetBufferSizes(int, int, int inputLength) override { m_rx.SetInputLength(inputLength); }
    int BytesWaiting() override;
    void DiscardInput() override;
    void DiscardOutput() override {}
    void Write(std::string_view bytes) override;
    std::string Read() override;
    bool Vanished() const override { return m_vanished; }
    bool SetsLineSettings() const override { return Telnet(); }
    std::uint64_t BytesArrived() override;

    // The rate the server acknowledged over RFC 2217 (0 before, and on raw TCP).
    std::uint32_t ServerRate() const { return m_comPort.ServerRate(); }

private:
    bool Telnet() const;
    // The first moments of a connection: a server that closes it at once (its port busy with
    // another client, say) fails here with what it said, in `closedWith`.
    bool Handshake(std::string& error, std::string& closedWith, Deadline deadline);
    // Takes what arrived; false when the server has closed or the connection failed.
    bool Receive();
    // Sends the bytes whole; false when the connection failed.
    bool SendAll(std::string_view bytes);
    void Pull();
    void Gone();

    std::optional<NetworkAddress> m_address;
    double m_timeout = 5.0;
    std::unique_ptr<TcpConnection> m_conn;
    int m_number = 0;
    bool m_vanished = false;
    ReceiveBuffer m_rx;
    // The negotiation of an RFC 2217 connection; untouched on raw TCP.
    Rfc2217Client m_comPort;
};

} // namespace kivo::platform
