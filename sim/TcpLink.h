#pragma once
// The simulator served over TCP, as a serial port server on a small computer serves a radio's
// cable: raw bytes, or Telnet with the COM-PORT-OPTION (RFC 2217), whose rate the radio's
// receiver then meets. One client at a time; a new one takes over from the last.

#include "platform/SystemEventLoop.h"
#include "platform/Tcp.h"
#include "platform/Telnet.h"
#include "sim/Wire.h"

#include <memory>
#include <string>

namespace kivo::sim {

class TcpLink {
public:
    TcpLink(platform::SystemEventLoop& loop, Ft817& radio, WireOptions options, bool rfc2217);
    ~TcpLink();
    TcpLink(const TcpLink&) = delete;
    TcpLink& operator=(const TcpLink&) = delete;

    // Listens on a numeric address and port (0: a free one). False with the reason.
    bool Start(const std::string& host, int port, std::string& error);
    int Port() const { return m_listener.Port(); }
    Wire& GetWire() { return m_wire; }
    // The rate the client set over RFC 2217 (9600, as a serial port opens, before it sets one).
    int Rate() const { return m_rate; }

private:
    void OnAccept();
    void OnReadable();
    void Drop();
    void Send(const std::string& bytes);
    void Answer(const platform::telnet::Command& c);

    platform::SystemEventLoop& m_loop;
    Wire m_wire;
    bool m_telnet;
    platform::TcpListener m_listener;
    std::unique_ptr<platform::TcpConnection> m_client;
    platform::telnet::Decoder m_decoder;
    int m_rate = 9600;
};

} // namespace kivo::sim
