#pragma once
// Non-blocking TCP sockets: the network rig-control server's listener and its connections, and
// the network port's connection to the serial port server beside the radio.

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace kivo::platform {

// A moment on the monotonic clock by which a wait gives up.
using Deadline = std::chrono::steady_clock::time_point;

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
    // Writes all the bytes, waiting for room until the deadline. False when the peer is gone or
    // the deadline came first, errno saying which.
    bool WriteAll(std::string_view bytes, Deadline deadline);
    // Waits for input until the deadline; false when none came (or the wait was interrupted).
    bool WaitReadable(Deadline deadline);

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

// Why a connection could not be made: the name lookup's reason, or (when that is empty) the
// system's error number from the last of the host's addresses tried.
struct ConnectFailure {
    std::string lookup;
    int error = 0;
};

// Connects to a host by name or address, trying each of its addresses until the deadline; null
// with the reason when none answered. Each write leaves at once, and a server that vanishes
// without closing is noticed within about 15 s.
std::unique_ptr<TcpConnection> TcpConnect(const std::string& host, int port, Deadline deadline,
                                          ConnectFailure& failure);

} // namespace kivo::platform
