#include "platform/NetworkAddress.h"

#include <cctype>
#include <cstdlib>

namespace kivo::platform {

namespace {

std::string Trimmed(std::string_view s)
{
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    return std::string(s);
}

} // namespace

std::string NetworkAddress::Text() const
{
    const bool v6 = host.find(':') != std::string::npos;
    return (v6 ? "[" + host + "]" : host) + ":" + std::to_string(port);
}

std::string CheckHost(std::string_view host)
{
    const std::string h = Trimmed(host);
    if (h.empty())
        return "Please type the name or address of the computer beside the radio.";
    if (h.size() > 253)
        return "The host name is longer than a host name can be.";
    for (char c : h)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '-' && c != ':' && c != '_' && c != '%')
            return "\"" + h + "\" is not a host name or address: use letters, digits, dots and dashes.";
    return {};
}

std::string CheckPort(std::string_view port, int& value)
{
    const std::string p = Trimmed(port);
    char* end = nullptr;
    const long v = p.empty() ? 0 : std::strtol(p.c_str(), &end, 10);
    if (p.empty() || *end != '\0' || v < 1 || v > 65535)
        return "The port must be a number from 1 to 65535 (the TCP port ser2net serves the radio's cable on).";
    value = int(v);
    return {};
}

std::string NetworkAddressText(const NetworkAddress& a)
{
    return "host " + a.host + "\nport " + std::to_string(a.port) + "\nkind " +
           (a.kind == NetworkKind::Rfc2217 ? "rfc2217" : "raw") + "\n";
}

std::optional<NetworkAddress> ParseNetworkAddress(std::string_view text)
{
    NetworkAddress a;
    bool host = false, port = false, kind = false;
    while (!text.empty()) {
        const std::size_t nl = text.find('\n');
        const std::string line = Trimmed(text.substr(0, nl));
        text = nl == std::string_view::npos ? std::string_view() : text.substr(nl + 1);
        if (line.empty())
            continue;
        const std::size_t sp = line.find(' ');
        const std::string key = line.substr(0, sp);
        const std::string value = sp == std::string::npos ? "" : Trimmed(line.substr(sp + 1));
        if (key == "host" && !host && CheckHost(value).empty()) {
            a.host = value;
            host = true;
        } else if (key == "port" && !port && CheckPort(value, a.port).empty()) {
            port = true;
        } else if (key == "kind" && !kind && (value == "raw" || value == "rfc2217")) {
            a.kind = value == "raw" ? NetworkKind::Raw : NetworkKind::Rfc2217;
            kind = true;
        } else {
            return std::nullopt;
        }
    }
    if (!host || !port || !kind)
        return std::nullopt;
    return a;
}

} // namespace kivo::platform
