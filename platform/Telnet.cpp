#include "platform/Telnet.h"

namespace kivo::platform::telnet {

std::string Escape(std::string_view data)
{
    std::string out;
    out.reserve(data.size());
    for (char c : data) {
        out += c;
        if (std::uint8_t(c) == kIAC)
            out += c;
    }
    return out;
}

std::string Negotiate(std::uint8_t verb, std::uint8_t option) { return {char(kIAC), char(verb), char(option)}; }

std::string Subnegotiation(std::uint8_t option, std::string_view bytes)
{
    return std::string{char(kIAC), char(kSB), char(option)} + Escape(bytes) + std::string{char(kIAC), char(kSE)};
}

std::string ComPort32(std::uint8_t command, std::uint32_t value)
{
    const std::string bytes{char(command), char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
    return Subnegotiation(kComPort, bytes);
}

std::string ComPort8(std::uint8_t command, std::uint8_t value)
{
    return Subnegotiation(kComPort, std::string{char(command), char(value)});
}

std::uint32_t ComPortValue(const std::string& sub)
{
    std::uint32_t v = 0;
    for (std::size_t i = 1; i < sub.size() && i < 5; ++i)
        v = (v << 8) | std::uint8_t(sub[i]);
    return v;
}

void Decoder::Feed(std::string_view in, std::string& data, std::vector<Command>& commands)
{
    for (char ch : in) {
        const auto c = std::uint8_t(ch);
        switch (m_state) {
        case State::Data:
            if (c == kIAC)
                m_state = State::Iac;
            else
                data += ch;
            break;
        case State::Iac:
            if (c == kIAC) {
                data += ch;
                m_state = State::Data;
            } else if (c == kWILL || c == kWONT || c == kDO || c == kDONT) {
                m_verb = c;
                m_state = State::Verb;
            } else if (c == kSB) {
                m_sub.clear();
                m_state = State::Sub;
            } else {
                m_state = State::Data; // NOP, GA, break and the like carry nothing for a radio
            }
            break;
        case State::Verb:
            commands.push_back({m_verb, c, {}});
            m_state = State::Data;
            break;
        case State::Sub:
            if (c == kIAC)
                m_state = State::SubIac;
            else if (m_sub.size() < 64) // a runaway subnegotiation is cut, never grown
                m_sub += ch;
            break;
        case State::SubIac:
            if (c == kSE) {
                if (!m_sub.empty())
                    commands.push_back({kSB, std::uint8_t(m_sub[0]), m_sub.substr(1)});
                m_sub.clear();
                m_state = State::Data;
            } else {
                if (c == kIAC && m_sub.size() < 64)
                    m_sub += ch;
                m_state = State::Sub;
            }
            break;
        }
    }
}

} // namespace kivo::platform::telnet
