#include "platform/Rfc2217.h"

#include <cstdlib>
#include <vector>

namespace kivo::platform {

namespace tn = telnet;

void Rfc2217Client::Reset()
{
    m_decoder.Reset();
    m_comPortAgreed = m_comPortRefused = m_settingsSent = false;
    m_serverRate = 0;
    m_local.reset();
    m_remote.reset();
    m_refusedLocal.reset();
    m_refusedRemote.reset();
}

std::string Rfc2217Client::Hello()
{
    std::string hello;
    for (std::uint8_t o : {tn::kComPort, tn::kBinary, tn::kSuppressGoAhead}) {
        m_local[o] = true;
        hello += tn::Negotiate(tn::kWILL, o);
    }
    for (std::uint8_t o : {tn::kBinary, tn::kSuppressGoAhead}) {
        m_remote[o] = true;
        hello += tn::Negotiate(tn::kDO, o);
    }
    return hello;
}

void Rfc2217Client::Feed(std::string_view in, std::string& data, std::string& reply)
{
    std::vector<tn::Command> commands;
    m_decoder.Feed(in, data, commands);
    for (const auto& c : commands)
        reply += Answer(c);
}

std::string Rfc2217Client::Settings()
{
    // The rate from the CAT Rate menu; the FT-817's framing, 8 data bits, no parity, 2 stop bits,
    // no flow control.
    const long rate = std::strtol(m_settings.c_str(), nullptr, 10);
    std::string out = tn::ComPort32(tn::kSetBaudRate, std::uint32_t(rate > 0 ? rate : 9600));
    out += tn::ComPort8(tn::kSetDataSize, 8);
    out += tn::ComPort8(tn::kSetParity, 1);
    out += tn::ComPort8(tn::kSetStopSize, 2);
    out += tn::ComPort8(tn::kSetControl, 1);
    m_settingsSent = true;
    return out;
}

std::string Rfc2217Client::Answer(const tn::Command& c)
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
    if (m_comPortAgreed && !m_settingsSent)
        out += Settings();
    return out;
}

} // namespace kivo::platform
