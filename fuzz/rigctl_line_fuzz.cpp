// Lines a network client sends: the input split at "\n", each line to one session over a fake
// radio. Every line gets exactly one complete answer; `q` answers and closes the connection.

#include "fuzz/Check.h"
#include "net/Capabilities.h"
#include "net/Protocol.h"
#include "net/Session.h"
#include "tests/support/FakeRig.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

using namespace kivo;
using namespace kivo::net;

namespace {

// Reads and sets as a panel would, dark or failing as the input's first byte says; every value
// the session passes on is one the radio can take.
class CheckedRig final : public testing::FakeRig {
public:
    explicit CheckedRig(std::uint8_t how)
    {
        lit = how & 1;
        setError = how & 2 ? rprt::kIo : rprt::kOk;
    }
    int SetFrequency(Vfo v, std::int64_t hz) override
    {
        FUZZ_CHECK(CanReceive(hz));
        FUZZ_CHECK(v == Vfo::A || v == Vfo::B);
        return FakeRig::SetFrequency(v, hz);
    }
    int SetMode(Vfo v, RigMode m) override
    {
        FUZZ_CHECK(int(m) >= 0 && int(m) < kRigModeCount);
        FUZZ_CHECK(v == Vfo::A || v == Vfo::B);
        return FakeRig::SetMode(v, m);
    }
    Got<int> SMeter() const override { return Read(int(vfos[0].freq % 16)); }
};

bool KnownCode(int n)
{
    switch (n) {
    case rprt::kOk:
    case rprt::kInvalid:
    case rprt::kNotImplemented:
    case rprt::kIo:
    case rprt::kProtocol:
    case rprt::kNotAvailable: return true;
    default: return false;
    }
}

// The code of an `RPRT n` piece, or nothing when the piece is something else.
std::optional<int> Status(std::string_view piece)
{
    if (piece.substr(0, 5) != "RPRT ")
        return std::nullopt;
    const std::string n(piece.substr(5));
    if (n.empty() || n.size() > 4 || n.find_first_not_of("-0123456789") != std::string::npos)
        return std::nullopt;
    return std::stoi(n);
}

std::vector<std::string_view> Split(std::string_view s, char sep)
{
    std::vector<std::string_view> out;
    for (std::size_t at = 0; at <= s.size();) {
        const std::size_t end = std::min(s.find(sep, at), s.size());
        out.push_back(s.substr(at, end - at));
        at = end + 1;
    }
    return out;
}

void CheckAnswer(const Command& c, const Answer& a)
{
    FUZZ_CHECK(a.close == (c.cmd == Cmd::Quit && c.error == rprt::kOk));
    FUZZ_CHECK(!a.text.empty() && a.text.back() == '\n');
    const std::string_view body(a.text.data(), a.text.size() - 1);
    FUZZ_CHECK(body.find('\n') == std::string_view::npos || c.form == Form::Plain || c.form == Form::Lines);
    const char sep = c.form == Form::Semicolon ? ';' : c.form == Form::Pipe ? '|' : '\n';
    const bool extended = c.cmd != Cmd::None && c.form != Form::Plain;
    const auto pieces = Split(body, extended ? sep : '\n');
    const auto last = Status(pieces.back());

    // A failure is its code alone (after the command's first line in the extended forms).
    if (c.error != rprt::kOk) {
        FUZZ_CHECK(last && *last == c.error && KnownCode(*last));
        FUZZ_CHECK(extended || pieces.size() == 1);
    }
    if (extended) {
        FUZZ_CHECK(pieces.front().substr(0, LongName(c.cmd).size() + 1) == std::string(LongName(c.cmd)) + ":");
        FUZZ_CHECK(last && KnownCode(*last));
        // Arguments are echoed as sent, so only an answer to clean ones can be split safely.
        if (c.args.find(sep) == std::string::npos) {
            FUZZ_CHECK(c.error == rprt::kOk || pieces.size() == 2);
            for (std::size_t i = 1; i + 1 < pieces.size(); ++i)
                FUZZ_CHECK(!Status(pieces[i]));
        }
        return;
    }
    // Plain: one status line, or values and no status (the lock query adds `RPRT 0`).
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        FUZZ_CHECK(!pieces[i].empty());
        const bool end = i + 1 == pieces.size();
        if (Status(pieces[i]))
            FUZZ_CHECK(end && (pieces.size() == 1 || c.cmd == Cmd::GetLockMode));
    }
    if (pieces.size() == 1 && last)
        FUZZ_CHECK(KnownCode(*last));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    CheckedRig rig(data[0]);
    Session session(rig);
    const std::string_view in(reinterpret_cast<const char*>(data) + 1, size - 1);
    for (const auto line : Split(in, '\n')) {
        const Answer a = session.Handle(line);
        CheckAnswer(ParseLine(line), a);
        if (a.close)
            break;
    }
    return 0;
}
