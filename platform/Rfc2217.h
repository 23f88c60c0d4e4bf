#pragma once
// The client's side of Telnet with the COM-PORT-OPTION (RFC 2217): the opening offer, the answer
// to each of the server's negotiations, and the line settings sent once the server takes the
// option up. Bytes only; the connection is the caller's.

#include "platform/Telnet.h"

#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>

namespace kivo::platform {

class Rfc2217Client {
public:
    // "9600,N,8,2": the rate sent when the server agrees (the framing is always the FT-817's).
    void SetLineSettings(const std::string& settings) { m_settings = settings; }
    // Forgets the last connection's negotiation; the line settings stay.
    void Reset();

    // What this side says first: it will use the COM-PORT-OPTION, binary data and no go-ahead,
    // and asks the server for binary data and no go-ahead.
    std::string Hello();
    // Takes bytes from the server: its data appended to `data`, what to send back to `reply`.
    void Feed(std::string_view in, std::string& data, std::string& reply);

    // The server said DONT to the COM-PORT-OPTION.
    bool Refused() const { return m_comPortRefused; }
    // The rate the server acknowledged (0 before).
    std::uint32_t ServerRate() const { return m_serverRate; }

private:
    std::string Answer(const telnet::Command& c);
    std::string Settings();

    std::string m_settings = "9600,N,8,2";
    telnet::Decoder m_decoder;
    bool m_comPortAgreed = false;
    bool m_comPortRefused = false;
    bool m_settingsSent = false;
    std::uint32_t m_serverRate = 0;
    // Options in force (or asked for) on this side and on the server's, and those refused once
    // already: each request is answered once, so two programs never negotiate in a loop.
    std::bitset<256> m_local, m_remote, m_refusedLocal, m_refusedRemote;
};

} // namespace kivo::platform
