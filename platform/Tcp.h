#pragma once
// Non-blocking TCP sockets for the network rig-control server: a listener and its connections.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace kivo::platform {

class TcpConnection {
public:
    explicit TcpConnection(int fd) : m_fd(fd) {}
    ~TcpConnection();
    TcpConnection(const TcpConnection&) = delete;
    TcpConnection& operator=(const TcpConnection&) = delete;

    int Fd() const { return m_fd; }
    // The peer's address as "ADDRESS:PORT" ("[ADDRESS]:PORT" for IPv6); empty when unknown.
    std::string Peer() const;
    // Appends what has arrived, at most `max` bytes. False when the peer has closed or failed.
    bool Read(std::string& into, std::size_t max);
    // Writes as much as the socket takes now; the bytes written, or -1 when the peer is gone.
    long Write(std::string_view bytes);

private:
    int m_fd;
};

class TcpListener {
public:
    TcpListener() = default;
    ~TcpListener() { Close(); }
    TcpListener(const TcpListener&) = delete;
    TcpListener& operator=(const TcpListener&) = delete;

    // Listens on a numeric IPv4 or IPv6 address ("127.0.0.1", "::1") and port (0: any free one).
    // False with the system's reason ("Address already in use").
    bool Listen(const std::string& host, int port, std::string& error);
    void Close();
    bool Listening() const { return m_fd >= 0; }
    int Fd() const { return m_fd; }
    // The port listened on (the one the system chose for port 0).
    int Port() const { return m_port; }
    // A connection waiting to be taken, or null.
    std::unique_ptr<TcpConnection> Accept();

private:
    int m_fd = -1;
    int m_port = 0;
};

} // namespace kivo::platform
