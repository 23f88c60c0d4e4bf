#include "sim/TcpLink.h"

#include <poll.h>

namespace kivo::sim {

namespace tn = platform::telnet;

TcpLink::TcpLink(platform::SystemEventLoop& loop, Ft817& radio, WireOptions options, bool rfc2217)
    : m_loop(loop), m_wire(loop, radio, options), m_telnet(rfc2217)
{
    // Raw TCP has no rate of its own: the line always matches, as a server set up for the radio.
    if (m_telnet)
        m_wire.lineRate = [this] { return m_rate; };
    m_wire.send = [this](const std::string& bytes) { Send(m_telnet ? tn::Escape(bytes) : bytes); };
}

TcpLink::~TcpLink()
{
    Drop();
    if (m_listener.Listening())
        m_loop.UnwatchFd(m_listener.Fd());
}

bool TcpLink::Start(const std::string& host, int port, std::string& error)
{
    if (!m_listener.Listen(host, port, error))
        return false;
    m_loop.WatchFd(m_listener.Fd(), [this] { OnAccept(); });
    return true;
}

void TcpLink::Drop()
{
    if (!m_client)
        return;
    m_loop.UnwatchFd(m_client->Fd());
    m_client.reset();
}

void TcpLink::OnAccept()
{
    auto c = m_listener.Accept();
    if (!c)
        return;
    Drop();
    m_client = std::move(c);
    m_decoder.Reset();
    m_rate = 9600;
    m_loop.WatchFd(m_client->Fd(), [this] { OnReadable(); });
    if (m_telnet)
        Send(tn::Negotiate(tn::kDO, tn::kComPort) + tn::Negotiate(tn::kWILL, tn::kBinary) +
             tn::Negotiate(tn::kDO, tn::kBinary) + tn::Negotiate(tn::kWILL, tn::kSuppressGoAhead));
}

void TcpLink::Send(const std::string& bytes)
{
    std::size_t done = 0;
    int waits = 0;
    while (m_client && done < bytes.size()) {
        const long n = m_client->Write(std::string_view(bytes).substr(done));
        if (n < 0)
            return; // the client is gone; its read notices
        done += std::size_t(n);
        if (n == 0) {
            if (++waits > 10)
                return; // nobody reads: lost, as on a real line
            pollfd p{m_client->Fd(), POLLOUT, 0};
            ::poll(&p, 1, 10);
        }
    }
}

void TcpLink::Answer(const tn::Command& c)
{
    const std::uint8_t o = c.option;
    switch (c.verb) {
    case tn::kWILL:
        if (o != tn::kComPort && o != tn::kBinary && o != tn::kSuppressGoAhead)
            Send(tn::Negotiate(tn::kDONT, o));
        break;
    case tn::kDO:
        if (o != tn::kBinary && o != tn::kSuppressGoAhead)
            Send(tn::Negotiate(tn::kWONT, o));
        break;
    case tn::kSB: {
        if (o != tn::kComPort || c.sub.empty())
            break;
        const auto command = std::uint8_t(c.sub[0]);
        const std::uint32_t value = tn::ComPortValue(c.sub);
        if (command == tn::kSetBaudRate) {
            if (value != 0)
                m_rate = int(value);
            Send(tn::ComPort32(command + tn::kServerReply, std::uint32_t(m_rate)));
        } else if (command >= tn::kSetDataSize && command <= tn::kSetControl) {
            Send(tn::ComPort8(command + tn::kServerReply, std::uint8_t(value)));
        }
        break;
    }
    default: break;
    }
}

void TcpLink::OnReadable()
{
    std::string in;
    if (!m_client || !m_client->Read(in, 4096)) {
        Drop();
        return;
    }
    if (!m_telnet) {
        m_wire.Receive(in);
        return;
    }
    std::string data;
    std::vector<tn::Command> commands;
    m_decoder.Feed(in, data, commands);
    for (const auto& c : commands)
        Answer(c);
    m_wire.Receive(data);
}

} // namespace kivo::sim
