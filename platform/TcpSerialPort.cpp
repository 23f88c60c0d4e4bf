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
std::string Said(std::string_view bytes)
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

TcpSerialPort::~TcpSerialPort() { Close(); }

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

bool TcpSerialPort::Receive()
{
    const bool telnet = m_address && m_address->kind == NetworkKind::Rfc2217;
    char buf[512];
    for (;;) {
        const ssize_t n = ::recv(m_fd, buf, sizeof buf, 0);
        if (n > 0) {
            if (telnet) {
                std::string data, reply;
                m_comPort.Feed(std::string_view(buf, std::size_t(n)), data, reply);
                if (!reply.empty())
                    SendAll(reply);
                m_rx.Add(data);
            } else {
                m_rx.Add(std::string_view(buf, std::size_t(n)));
            }
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
        if (!SendAll(m_comPort.Hello())) {
            error = where + ": the connection failed at once (" + std::strerror(errno) + ")";
            return false;
        }
    }
    // A raw server says nothing of its own: a short look catches one that closes at once.
    const double until = telnet ? deadline : std::min(deadline, Monotonic() + 0.15);
    for (;;) {
        if (telnet && m_comPort.Refused()) {
            error = where + " does not offer the COM-PORT-OPTION (RFC 2217): choose raw TCP, or serve the port with "
                            "telnet(rfc2217) in ser2net's configuration";
            return false;
        }
        if (telnet && m_comPort.ServerRate() != 0)
            return true;
        const int ms = MsUntil(until);
        if (ms <= 0)
            break;
        pollfd p{m_fd, POLLIN, 0};
        if (::poll(&p, 1, ms) <= 0)
            continue;
        if (!Receive()) {
            closedWith = Said(m_rx.Waiting());
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
    m_rx.Clear();
    m_comPort.Reset();
}

void TcpSerialPort::Gone()
{
    // As a vanished device: "open" until the program closes it, the socket never touched again.
    m_vanished = true;
    m_rx.Clear();
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
    return int(m_rx.Size());
}

std::uint64_t TcpSerialPort::BytesArrived()
{
    Pull();
    return m_rx.Arrived();
}

void TcpSerialPort::DiscardInput()
{
    Pull();
    m_rx.Clear();
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
    return m_rx.Take();
}

} // namespace kivo::platform
