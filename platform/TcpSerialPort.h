#pragma once
// The radio's serial port served over the network by a small computer beside the radio (ser2net
// or the like): raw TCP, where the line settings are the server's, or Telnet with the
// COM-PORT-OPTION (RFC 2217), which sets the far port to this program's rate and 8N2.

#include "platform/SerialPort.h"
#include "platform/Telnet.h"

#include <bitset>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kivo::platform {

enum class NetworkKind { Raw, Rfc2217 };

struct NetworkAddress {
    std::string host;
    int port = 0;
    NetworkKind kind = NetworkKind::Raw;

    // "radio-pi:3001" ("[::1]:3001" for an IPv6 address).
    std::string Text() const;
    bool operator==(const NetworkAddress&) const = default;
};

// Why a typed host, port text or whole address cannot be used ("" when it can).
std::string CheckHost(std::string_view host);
std::string CheckPort(std::string_view port, int& value);
// The remembered address as text: "host NAME", "port N" and "kind raw" or "kind rfc2217",
// one a line; Parse gives nothing for a text that is not exactly that (a damaged file).
std::string NetworkAddressText(const NetworkAddress& address);
std::optional<NetworkAddress> ParseNetworkAddress(std::string_view text);

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
    bool IsOpen() const override { return m_fd >= 0; }
    int InputHandle() const override { return m_fd; }
    void SetPortNumber(int number) override { m_number = number; }
    int PortNumber() const override { return m_number; }
    void SetLineSettings(const std::string& settings) override { m_settings = settings; }
    void SetBufferSizes(int rx, int tx, int inputLength) override;
    int BytesWaiting() override;
    void DiscardInput() override;
    void DiscardOutput() override {}
    void Write(std::string_view bytes) override;
    std::string Read() override;
    bool Vanished() const override { return m_vanished; }
    bool SetsLineSettings() const override { return m_address && m_address->kind == NetworkKind::Rfc2217; }
    std::uint64_t BytesArrived() override;

    // The rate the server acknowledged over RFC 2217 (0 before, and on raw TCP).
    std::uint32_t ServerRate() const { return m_serverRate; }

private:
    bool Connect(std::string& error, double deadline);
    // The first moments of a connection: a server that closes it at once (its port busy with
    // another client, say) fails here with what it said, in `closedWith`.
    bool Handshake(std::string& error, std::string& closedWith, double deadline);
    // Takes what arrived; false when the server has closed or the connection failed.
    bool Receive();
    void Answer(const telnet::Command& c);
    void SendSettings();
    bool SendAll(std::string_view bytes);
    void Pull();
    void Gone();

    std::optional<NetworkAddress> m_address;
    double m_timeout = 5.0;
    int m_fd = -1;
    int m_number = 0;
    int m_inputLength = 5;
    bool m_vanished = false;
    std::string m_settings = "9600,N,8,2";
    std::string m_rx;
    std::uint64_t m_arrived = 0;
    // Telnet state of the connection.
    telnet::Decoder m_decoder;
    bool m_comPortAgreed = false;
    bool m_comPortRefused = false;
    bool m_settingsSent = false;
    std::uint32_t m_serverRate = 0;
    // Options in force (or asked for) on this side and on the server's, and those refused once
    // already: each request is answered once, so two programs never negotiate in a loop.
    std::bitset<256> m_local, m_remote, m_refusedLocal, m_refusedRemote;
};

} // namespace kivo::platform
