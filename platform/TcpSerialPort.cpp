#include "platform/TcpSerialPort.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace kivo::platform {

namespace {

namespace tn = telnet;

double Monotonic()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

int MsUntil(double deadline) { return std::max(0, int(std::ceil((deadline - Monotonic()) * 1000))); }

std::string Trimmed(std::string_view s)
{
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    return std::string(s);
}

// What a server said before it closed a connection at once, fit for a message: printable, short.
std::string Said(const std::string& bytes)
{
    std::string out;
    for (char c : bytes)
        if (std::isprint(static_cast<unsigned char>(c)))
            out += c;
        else if (!out.empty() && out.back() != ' ')
            out += ' ';
    out = Trimmed(out);
    if (out.size() > 120)
        out = out.substr(0, 120) + "...";
    return out;
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

TcpSerialPort::~TcpSerialPort() { Close(); }

void TcpSerialPort::SetBufferSizes(int, int, int inputLength) { m_inputLength = std::max(1, inputLength); }

bool TcpSerialPort::Connect(std::string& error, double deadline)
{
    const NetworkAddress& a = *m_address;
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int gai = ::getaddrinfo(a.host.c_str(), std::to_string(a.port).c_str(), &hints, &found);
    if (gai != 0) {
        error = a.host + ": no such computer on the network (" + ::gai_strerror(gai) +
                "); check the name, or type its address";
        return false;
    }
    int lastError = ETIMEDOUT;
    for (addrinfo* ai = found; ai && m_fd < 0; ai = ai->ai_next) {
        const int fd = ::socket(ai->ai_family, ai->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, ai->ai_protocol);
        if (fd < 0) {
            lastError = errno;
            continue;
        }
        int err = 0;
        if (::connect(fd, ai->ai_addr, ai->ai_addrlen) != 0) {
            err = errno;
            if (err == EINPROGRESS) {
                pollfd p{fd, POLLOUT, 0};
                const int n = ::poll(&p, 1, MsUntil(deadline));
                socklen_t len = sizeof err;
                if (n <= 0)
                    err = ETIMEDOUT;
                else if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) != 0)
                    err = errno;
            }
        }
        if (err != 0) {
            lastError = err;
            ::close(fd);
            continue;
        }
        m_fd = fd;
    }
    ::freeaddrinfo(found);
    if (m_fd >= 0) {
        // A frame leaves the moment it is written, never held back to be sent with the next.
        const int yes = 1;
        ::setsockopt(m_fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
        // A server that vanishes without closing (switched off, network gone) is noticed within
        // about 15 s, whether the program is writing or only listening.
        ::setsockopt(m_fd, SOL_SOCKET, SO_KEEPALIVE, &yes, sizeof yes);
        const int idle = 5, interval = 2, count = 3;
        ::setsockopt(m_fd, IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof idle);
        ::setsockopt(m_fd, IPPROTO_TCP, TCP_KEEPINTVL, &interval, sizeof interval);
        ::setsockopt(m_fd, IPPROTO_TCP, TCP_KEEPCNT, &count, sizeof count);
        const unsigned userTimeout = 15000;
        ::setsockopt(m_fd, IPPROTO_TCP, TCP_USER_TIMEOUT, &userTimeout, sizeof userTimeout);
        return true;
    }
    const std::string where = a.Text();
    switch (lastError) {
    case ECONNREFUSED:
        error = where + " refused the connection: nothing serves that port there (is ser2net running, with this "
                        "port in its configuration?)";
        break;
    case ETIMEDOUT:
        error = where + " did not answer within " + std::to_string(int(std::lround(m_timeout))) +
                " s (is the computer beside the radio switched on and on the network? check its address)";
        break;
    case ENETUNREACH:
    case EHOSTUNREACH:
    case EADDRNOTAVAIL:
        error = where + " cannot be reached from this computer (" + std::strerror(lastError) +
                "); check the address and the network";
        break;
    default: error = where + ": " + std::strerror(lastError); break;
    }
    return false;
}

bool TcpSerialPort::SendAll(std::string_view bytes)
{
    std::size_t done = 0;
    const double deadline = Monotonic() + 2.0;
    while (done < bytes.size()) {
        const ssize_t n = ::send(m_fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n > 0) {
            done += std::size_t(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && Monotonic() < deadline) {
            // The frame must leave whole before the write returns: its time is the frame gap's start.
            pollfd p{m_fd, POLLOUT, 0};
            ::poll(&p, 1, MsUntil(deadline));
            continue;
        }
        return false;
    }
    return true;
}

void TcpSerialPort::SendSettings()
{
    // The rate from the CAT Rate menu; the FT-817's framing, 8 data bits, no parity, 2 stop bits,
    // no flow control.
    const long rate = std::strtol(m_settings.c_str(), nullptr, 10);
    std::string out = tn::ComPort32(tn::kSetBaudRate, std::uint32_t(rate > 0 ? rate : 9600));
    out += tn::ComPort8(tn::kSetDataSize, 8);
    out += tn::ComPort8(tn::kSetParity, 1);
    out += tn::ComPort8(tn::kSetStopSize, 2);
    out += tn::ComPort8(tn::kSetControl, 1);
    SendAll(out);
    m_settingsSent = true;
}

void TcpSerialPort::Answer(const tn::Command& c)
{
    const std::uint8_t o = c.option;
    const bool wantLocal = o == tn::kBinary || o == tn::kSuppressGoAhead || o == tn::kComPort;
    // Never the server's echo: the radio's answers are all that may come back.
    const bool wantRemote = o == tn::kBinary || o == tn::kSuppressGoAhead;
    std::string out;
    switch (c.verb) {
    case tn::kDO:
        if (o == tn::kComPort)
            m_comPortAgreed = true;
        if (wantLocal && !m_local[o]) {
            m_local[o] = true;
            out = tn::Negotiate(tn::kWILL, o);
        } else if (!wantLocal && !m_refusedLocal[o]) {
            m_refusedLocal[o] = true;
            out = tn::Negotiate(tn::kWONT, o);
        }
        break;
    case tn::kDONT:
        if (o == tn::kComPort)
            m_comPortRefused = true;
        if (m_local[o]) {
            m_local[o] = false;
            out = tn::Negotiate(tn::kWONT, o);
        }
        break;
    case tn::kWILL:
        if (wantRemote && !m_remote[o]) {
            m_remote[o] = true;
            out = tn::Negotiate(tn::kDO, o);
        } else if (!wantRemote && !m_refusedRemote[o]) {
            m_refusedRemote[o] = true;
            out = tn::Negotiate(tn::kDONT, o);
        }
        break;
    case tn::kWONT:
        if (m_remote[o]) {
            m_remote[o] = false;
            out = tn::Negotiate(tn::kDONT, o);
        }
        break;
    case tn::kSB:
        if (o == tn::kComPort && !c.sub.empty() && std::uint8_t(c.sub[0]) == tn::kSetBaudRate + tn::kServerReply)
            m_serverRate = tn::ComPortValue(c.sub);
        break;
    default: break;
    }
    if (!out.empty())
        SendAll(out);
    if (m_comPortAgreed && !m_settingsSent)
        SendSettings();
}

bool TcpSerialPort::Receive()
{
    const bool telnet = m_address && m_address->kind == NetworkKind::Rfc2217;
    char buf[512];
    for (;;) {
        const ssize_t n = ::recv(m_fd, buf, sizeof buf, 0);
        if (n > 0) {
            if (telnet) {
                std::string data;
                std::vector<tn::Command> commands;
                m_decoder.Feed(std::string_view(buf, std::size_t(n)), data, commands);
                for (const auto& c : commands)
                    Answer(c);
                m_rx += data;
                m_arrived += data.size();
            } else {
                m_rx.append(buf, std::size_t(n));
                m_arrived += std::uint64_t(n);
            }
            if (m_rx.size() > 4096) // nobody reads this much; keep the newest
                m_rx.erase(0, m_rx.size() - 4096);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        return n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
    }
}

bool TcpSerialPort::Handshake(std::string& error, std::string& closedWith, double deadline)
{
    const std::string where = m_address->Text();
    const bool telnet = m_address->kind == NetworkKind::Rfc2217;
    if (telnet) {
        std::string hello;
        for (std::uint8_t o : {tn::kComPort, tn::kBinary, tn::kSuppressGoAhead}) {
            m_local[o] = true;
            hello += tn::Negotiate(tn::kWILL, o);
        }
        for (std::uint8_t o : {tn::kBinary, tn::kSuppressGoAhead}) {
            m_remote[o] = true;
            hello += tn::Negotiate(tn::kDO, o);
        }
        if (!SendAll(hello)) {
            error = where + ": the connection failed at once (" + std::strerror(errno) + ")";
            return false;
        }
    }
    // A raw server says nothing of its own: a short look catches one that closes at once.
    const double until = telnet ? deadline : std::min(deadline, Monotonic() + 0.15);
    for (;;) {
        if (telnet && m_comPortRefused) {
            error = where + " does not offer the COM-PORT-OPTION (RFC 2217): choose raw TCP, or serve the port with "
                            "telnet(rfc2217) in ser2net's configuration";
            return false;
        }
        if (telnet && m_serverRate != 0)
            return true;
        const int ms = MsUntil(until);
        if (ms <= 0)
            break;
        pollfd p{m_fd, POLLIN, 0};
        if (::poll(&p, 1, ms) <= 0)
            continue;
        if (!Receive()) {
            closedWith = Said(m_rx);
            if (closedWith.empty())
                closedWith = "(nothing)";
            error = where + " closed the connection at once" +
                    (closedWith == "(nothing)" ? std::string() : ", saying \"" + closedWith + "\"");
            return false;
        }
    }
    if (!telnet)
        return true;
    error = where + " did not take up the COM-PORT-OPTION (RFC 2217) within " +
            std::to_string(int(std::lround(m_timeout))) +
            " s: it may be a raw TCP port (choose raw TCP), or not a serial port server";
    return false;
}

bool TcpSerialPort::Open(std::string& error)
{
    Close();
    if (!m_address) {
        error = "no network port is set up (Settings > Serial Port > Network Port...)";
        return false;
    }
    const double deadline = Monotonic() + m_timeout;
    for (;;) {
        std::string closedWith;
        if (Connect(error, deadline) && Handshake(error, closedWith, deadline)) {
            m_vanished = false;
            return true;
        }
        Close();
        // A server still letting go of the last connection (the program's own, just closed to
        // change the rate) turns the next away for a moment: try again until the time-out.
        const bool busy = closedWith.find("in use") != std::string::npos;
        if (!busy || Monotonic() + 0.05 >= deadline)
            return false;
        ::usleep(50000);
    }
}

void TcpSerialPort::Close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_rx.clear();
    m_decoder.Reset();
    m_comPortAgreed = m_comPortRefused = m_settingsSent = false;
    m_serverRate = 0;
    m_local.reset();
    m_remote.reset();
    m_refusedLocal.reset();
    m_refusedRemote.reset();
}

void TcpSerialPort::Gone()
{
    // As a vanished device: "open" until the program closes it, the socket never touched again.
    m_vanished = true;
    m_rx.clear();
}

void TcpSerialPort::Pull()
{
    if (m_fd < 0 || m_vanished)
        return;
    if (!Receive())
        Gone();
}

int TcpSerialPort::BytesWaiting()
{
    Pull();
    return int(m_rx.size());
}

std::uint64_t TcpSerialPort::BytesArrived()
{
    Pull();
    return m_arrived;
}

void TcpSerialPort::DiscardInput()
{
    Pull();
    m_rx.clear();
}

void TcpSerialPort::Write(std::string_view bytes)
{
    if (m_fd < 0 || m_vanished)
        return;
    const bool telnet = m_address && m_address->kind == NetworkKind::Rfc2217;
    if (!SendAll(telnet ? tn::Escape(bytes) : std::string(bytes)))
        Gone();
}

std::string TcpSerialPort::Read()
{
    Pull();
    const std::size_t n = std::min(m_rx.size(), std::size_t(m_inputLength));
    std::string out = m_rx.substr(0, n);
    m_rx.erase(0, n);
    return out;
}

} // namespace kivo::platform
