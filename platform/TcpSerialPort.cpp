#include "platform/TcpSerialPort.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <thread>

namespace kivo::platform {

namespace {

using Clock = std::chrono::steady_clock;

Deadline After(double seconds)
{
    return Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

// What a server said before it closed a connection at once, fit for a message: printable, short,
// each run of other bytes one space, none at either end.
std::string Said(std::string_view bytes)
{
    std::string out;
    for (char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (!std::isprint(u)) {
            if (!out.empty() && out.back() != ' ')
                out += ' ';
        } else if (!std::isspace(u) || !out.empty()) {
            out += c;
        }
    }
    while (!out.empty() && std::isspace(static_cast<unsigned char>(out.back())))
        out.pop_back();
    if (out.size() > 120)
        out = out.substr(0, 120) + "...";
    return out;
}

std::string Seconds(double timeout) { return std::to_string(int(std::lround(timeout))); }

// Why the server could not be reached, in words that say what to check.
std::string ConnectProblem(const NetworkAddress& a, const ConnectFailure& f, double timeout)
{
    if (!f.lookup.empty())
        return a.host + ": no such computer on the network (" + f.lookup + "); check the name, or type its address";
    const std::string where = a.Text();
    switch (f.error) {
    case ECONNREFUSED:
        return where + " refused the connection: nothing serves that port there (is ser2net running, with this "
                       "port in its configuration?)";
    case ETIMEDOUT:
        return where + " did not answer within " + Seconds(timeout) +
               " s (is the computer beside the radio switched on and on the network? check its address)";
    case ENETUNREACH:
    case EHOSTUNREACH:
    case EADDRNOTAVAIL:
        return where + " cannot be reached from this computer (" + std::strerror(f.error) +
               "); check the address and the network";
    default: return where + ": " + std::strerror(f.error);
    }
}

} // namespace

TcpSerialPort::~TcpSerialPort() { Close(); }

bool TcpSerialPort::Telnet() const { return m_address && m_address->kind == NetworkKind::Rfc2217; }

bool TcpSerialPort::SendAll(std::string_view bytes)
{
    // The frame must leave whole before the write returns: its time is the frame gap's start.
    return m_conn->WriteAll(bytes, After(2.0));
}

bool TcpSerialPort::Receive()
{
    for (;;) {
        std::string in;
        if (!m_conn->Read(in, 512))
            return false;
        if (in.empty())
            return true;
        if (!Telnet()) {
            m_rx.Add(in);
            continue;
        }
        std::string data, reply;
        m_comPort.Feed(in, data, reply);
        if (!reply.empty())
            SendAll(reply);
        m_rx.Add(data);
    }
}

bool TcpSerialPort::Handshake(std::string& error, std::string& closedWith, Deadline deadline)
{
    const std::string where = m_address->Text();
    const bool telnet = Telnet();
    if (telnet && !SendAll(m_comPort.Hello())) {
        error = where + ": the connection failed at once (" + std::strerror(errno) + ")";
        return false;
    }
    // A raw server says nothing of its own: a short look catches one that closes at once.
    const Deadline until = telnet ? deadline : std::min(deadline, After(0.15));
    for (;;) {
        if (telnet && m_comPort.Refused()) {
            error = where + " does not offer the COM-PORT-OPTION (RFC 2217): choose raw TCP, or serve the port with "
                            "telnet(rfc2217) in ser2net's configuration";
            return false;
        }
        if (telnet && m_comPort.ServerRate() != 0)
            return true;
        if (Clock::now() >= until)
            break;
        if (!m_conn->WaitReadable(until))
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
    error = where + " did not take up the COM-PORT-OPTION (RFC 2217) within " + Seconds(m_timeout) +
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
    const Deadline deadline = After(m_timeout);
    for (;;) {
        std::string closedWith;
        ConnectFailure failure;
        m_conn = TcpConnect(m_address->host, m_address->port, deadline, failure);
        if (!m_conn)
            error = ConnectProblem(*m_address, failure, m_timeout);
        else if (Handshake(error, closedWith, deadline)) {
            m_vanished = false;
            return true;
        }
        Close();
        // A server still letting go of the last connection (the program's own, just closed to
        // change the rate) turns the next away for a moment: try again until the time-out.
        const bool busy = closedWith.find("in use") != std::string::npos;
        if (!busy || After(0.05) >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

void TcpSerialPort::Close()
{
    m_conn.reset();
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
    if (!m_conn || m_vanished)
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
    if (!m_conn || m_vanished)
        return;
    if (!SendAll(Telnet() ? telnet::Escape(bytes) : std::string(bytes)))
        Gone();
}

std::string TcpSerialPort::Read()
{
    Pull();
    return m_rx.Take();
}

} // namespace kivo::platform
