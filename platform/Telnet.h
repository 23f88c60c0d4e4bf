#pragma once
// The Telnet framing a serial port server speaks: data with 0xFF (IAC) doubled, option
// negotiation, and the COM-PORT-OPTION (RFC 2217) that sets the far port's rate and framing.
// Shared by the program's network port and the simulator's server.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kivo::platform::telnet {

inline constexpr std::uint8_t kIAC = 255, kDONT = 254, kDO = 253, kWONT = 252, kWILL = 251, kSB = 250, kSE = 240;
inline constexpr std::uint8_t kBinary = 0, kEcho = 1, kSuppressGoAhead = 3, kComPort = 44;
// COM-PORT-OPTION commands from the client; the server answers each with 100 added.
inline constexpr std::uint8_t kSetBaudRate = 1, kSetDataSize = 2, kSetParity = 3, kSetStopSize = 4, kSetControl = 5;
inline constexpr std::uint8_t kServerReply = 100;

// A negotiation the peer sent: a verb (kWILL, kWONT, kDO, kDONT) with its option, or kSB with
// the subnegotiation's bytes after the option (IAC IAC already undone).
struct Command {
    std::uint8_t verb;
    std::uint8_t option;
    std::string sub;
};

// Data as it goes on the wire: every 0xFF doubled.
std::string Escape(std::string_view data);
// IAC verb option.
std::string Negotiate(std::uint8_t verb, std::uint8_t option);
// IAC SB option bytes... IAC SE, with 0xFF inside doubled.
std::string Subnegotiation(std::uint8_t option, std::string_view bytes);
// A COM-PORT-OPTION command carrying a 32-bit (baud rate) or 8-bit value.
std::string ComPort32(std::uint8_t command, std::uint32_t value);
std::string ComPort8(std::uint8_t command, std::uint8_t value);
// The value of a COM-PORT-OPTION subnegotiation (its first byte is the command): the big-endian
// number after it, 0 when there is none.
std::uint32_t ComPortValue(const std::string& sub);

// Splits a byte stream into data and negotiation, across reads: a sequence cut by a read's
// end is finished by the next.
class Decoder {
public:
    void Feed(std::string_view in, std::string& data, std::vector<Command>& commands);
    void Reset() { *this = Decoder(); }

private:
    enum class State { Data, Iac, Verb, Sub, SubIac };
    State m_state = State::Data;
    std::uint8_t m_verb = 0;
    std::string m_sub;
};

} // namespace kivo::platform::telnet
