#pragma once
// Where the radio's serial port is served on the network, as typed and as remembered.

#include <optional>
#include <string>
#include <string_view>

namespace kivo::platform {

// Raw TCP, where the line settings are the server's, or Telnet with the COM-PORT-OPTION
// (RFC 2217), which sets the far port to this program's rate and 8N2.
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

} // namespace kivo::platform
