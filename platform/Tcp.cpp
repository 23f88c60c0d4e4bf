#include "platform/Tcp.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace kivo::platform {

namespace {

// What is left of the time to a deadline, for poll: rounded up, 0 once it has passed.
int MsUntil(Deadline deadline)
{
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return int(std::max<std::chrono::milliseconds::rep>(0, left.count()));
}

// Connects a non-blocking socket, waiting for the answer until the deadline: 0, or why not.
int ConnectBy(int fd, const addrinfo& ai, Deadline deadline)
{
    if (::connect(fd, ai.ai_addr, ai.ai_addrlen) == 0)
        return 0;
    int err = errno;
    if (err != EINPROGRESS)
        return err;
    pollfd p{fd, POLLOUT, 0};
    socklen_t len = sizeof err;
    if (::poll(&p, 1, MsUntil(deadline)) <= 0)
        return ETIMEDOUT;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) != 0)
        return errno;
    return err;
}

} // namespace

TcpConnection::~TcpConnection()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool TcpConnection::Read(std::string& into, std::size_t max)
{
    char buf[4096];
    const std::size_t want = max < sizeof buf ? max : sizeof buf;
    if (want == 0)
        return true;
    for (;;) {
        const ssize_t n = ::recv(m_fd, buf, want, 0);
        if (n > 0) {
            into.append(buf, std::size_t(n));
            return true;
        }
        if (n < 0 && errno == EINTR)
            continue;
        return n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
    }
}

long TcpConnection::Write(std::string_view bytes)
{
    for (;;) {
        const ssize_t n = ::send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n >= 0)
            return long(n);
        if (errno == EINTR)
            continue;
        return errno == EAGAIN || errno == EWOULDBLOCK ? 0 : -1;
    }
}

bool TcpConnection::WriteAll(std::string_view bytes, Deadline deadline)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const long n = Write(bytes.substr(done));
        if (n < 0)
            return false;
        done += std::size_t(n);
        if (n == 0) {
            if (std::chrono::steady_clock::now() >= deadline)
                return false;
            pollfd p{m_fd, POLLOUT, 0};
            ::poll(&p, 1, MsUntil(deadline));
        }
    }
    return true;
}

bool TcpConnection::WaitReadable(Deadline deadline)
{
    pollfd p{m_fd, POLLIN, 0};
    return ::poll(&p, 1, MsUntil(deadline)) > 0;
}

bool TcpListener::Listen(const std::string& host, int port, std::string& error)
{
    Close();
    sockaddr_storage addr{};
    socklen_t len = 0;
    auto* v4 = reinterpret_cast<sockaddr_in*>(&addr);
    auto* v6 = reinterpret_cast<sockaddr_in6*>(&addr);
    if (::inet_pton(AF_INET, host.c_str(), &v4->sin_addr) == 1) {
        v4->sin_family = AF_INET;
        v4->sin_port = htons(std::uint16_t(port));
        len = sizeof *v4;
    } else if (::inet_pton(AF_INET6, host.c_str(), &v6->sin6_addr) == 1) {
        v6->sin6_family = AF_INET6;
        v6->sin6_port = htons(std::uint16_t(port));
        len = sizeof *v6;
    } else {
        error = "\"" + host + "\" is not a numeric address";
        return false;
    }
    const int fd = ::socket(addr.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    const int yes = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), len) != 0 || ::listen(fd, 16) != 0) {
        error = std::strerror(errno);
        ::close(fd);
        return false;
    }
    sockaddr_storage bound{};
    socklen_t boundLen = sizeof bound;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &boundLen);
    m_port = ntohs(bound.ss_family == AF_INET ? reinterpret_cast<sockaddr_in*>(&bound)->sin_port
                                              : reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port);
    m_fd = fd;
    return true;
}

void TcpListener::Close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_port = 0;
}

std::string TcpConnection::Peer() const
{
    sockaddr_storage a{};
    socklen_t len = sizeof a;
    if (::getpeername(m_fd, reinterpret_cast<sockaddr*>(&a), &len) != 0)
        return {};
    char host[INET6_ADDRSTRLEN] = {};
    if (a.ss_family == AF_INET) {
        const auto* v4 = reinterpret_cast<const sockaddr_in*>(&a);
        ::inet_ntop(AF_INET, &v4->sin_addr, host, sizeof host);
        return std::string(host) + ":" + std::to_string(ntohs(v4->sin_port));
    }
    if (a.ss_family == AF_INET6) {
        const auto* v6 = reinterpret_cast<const sockaddr_in6*>(&a);
        ::inet_ntop(AF_INET6, &v6->sin6_addr, host, sizeof host);
        return "[" + std::string(host) + "]:" + std::to_string(ntohs(v6->sin6_port));
    }
    return {};
}

std::unique_ptr<TcpConnection> TcpListener::Accept()
{
    if (m_fd < 0)
        return nullptr;
    const int fd = ::accept4(m_fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0)
        return nullptr;
    // Answers are short and a client waits for each: send them at once.
    const int yes = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    return std::make_unique<TcpConnection>(fd);
}

std::unique_ptr<TcpConnection> TcpConnect(const std::string& host, int port, Deadline deadline, ConnectFailure& failure)
{
    failure = {};
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int gai = ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found);
    if (gai != 0) {
        failure.lookup = ::gai_strerror(gai);
        return nullptr;
    }
    int connected = -1;
    failure.error = ETIMEDOUT;
    for (addrinfo* ai = found; ai && connected < 0; ai = ai->ai_next) {
        const int fd = ::socket(ai->ai_family, ai->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, ai->ai_protocol);
        if (fd < 0) {
            failure.error = errno;
            continue;
        }
        if (const int err = ConnectBy(fd, *ai, deadline); err != 0) {
            failure.error = err;
            ::close(fd);
            continue;
        }
        connected = fd;
    }
    ::freeaddrinfo(found);
    if (connected < 0)
        return nullptr;
    failure.error = 0;
    // A frame leaves the moment it is written, never held back to be sent with the next.
    const int yes = 1;
    ::setsockopt(connected, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    // A server that vanishes without closing (switched off, network gone) is noticed within
    // about 15 s, whether the program is writing or only listening.
    ::setsockopt(connected, SOL_SOCKET, SO_KEEPALIVE, &yes, sizeof yes);
    const int idle = 5, interval = 2, count = 3;
    ::setsockopt(connected, IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof idle);
    ::setsockopt(connected, IPPROTO_TCP, TCP_KEEPINTVL, &interval, sizeof interval);
    ::setsockopt(connected, IPPROTO_TCP, TCP_KEEPCNT, &count, sizeof count);
    const unsigned userTimeout = 15000;
    ::setsockopt(connected, IPPROTO_TCP, TCP_USER_TIMEOUT, &userTimeout, sizeof userTimeout);
    return std::make_unique<TcpConnection>(connected);
}

} // namespace kivo::platform
