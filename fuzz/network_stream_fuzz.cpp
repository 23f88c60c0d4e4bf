// What comes in over the network port: the server's byte stream through the Telnet decoder, cut
// into reads anywhere, and the remembered address file. A stream decodes the same however it is
// cut; an address that reads back writes back the same text.

#include "fuzz/Check.h"
#include "platform/TcpSerialPort.h"
#include "platform/Telnet.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using namespace kivo;

namespace {

struct Decoded {
    std::string data;
    std::vector<platform::telnet::Command> commands;
};

Decoded Decode(std::string_view in, std::uint8_t cut)
{
    platform::telnet::Decoder d;
    Decoded out;
    std::size_t at = 0;
    std::size_t step = cut == 0 ? in.size() : cut % 7 + 1;
    while (at < in.size()) {
        const std::size_t n = std::min(step, in.size() - at);
        d.Feed(in.substr(at, n), out.data, out.commands);
        at += n;
        step = step % 5 + 1; // reads of changing sizes
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string_view in(reinterpret_cast<const char*>(bytes) + 1, size - 1);
    const Decoded whole = Decode(in, 0);
    const Decoded cut = Decode(in, bytes[0]);
    FUZZ_CHECK(whole.data == cut.data);
    FUZZ_CHECK(whole.commands.size() == cut.commands.size());
    for (std::size_t i = 0; i < whole.commands.size() && i < cut.commands.size(); ++i) {
        const auto& a = whole.commands[i];
        const auto& b = cut.commands[i];
        FUZZ_CHECK(a.verb == b.verb && a.option == b.option && a.sub == b.sub);
        FUZZ_CHECK(a.sub.size() < 64);
    }
    FUZZ_CHECK(whole.data.size() <= in.size());
    // Data escaped and decoded again is the data.
    std::string again;
    std::vector<platform::telnet::Command> none;
    platform::telnet::Decoder d;
    d.Feed(platform::telnet::Escape(whole.data), again, none);
    FUZZ_CHECK(again == whole.data && none.empty());

    if (const auto a = platform::ParseNetworkAddress(in)) {
        FUZZ_CHECK(platform::CheckHost(a->host).empty());
        FUZZ_CHECK(a->port >= 1 && a->port <= 65535);
        const std::string text = platform::NetworkAddressText(*a);
        const auto back = platform::ParseNetworkAddress(text);
        FUZZ_CHECK(back && *back == *a);
        FUZZ_CHECK(platform::NetworkAddressText(*back) == text);
    }
    return 0;
}
