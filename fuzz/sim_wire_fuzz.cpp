// Raw bytes from the computer into the simulator's serial line, in ideal mode.

#include "fuzz/Check.h"
#include "platform/VirtualEventLoop.h"
#include "radio/CatCodec.h"
#include "sim/Ft817.h"
#include "sim/Wire.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

using namespace kivo;

namespace {

// The transmit metering read: two bytes while keyed, one while receiving.
constexpr std::size_t kMeteringReply = 99;

// Reply length the radio gives for each opcode; everything else is answered with nothing in ideal mode.
std::size_t ReplySize(std::uint8_t opcode)
{
    switch (opcode) {
    case 0x03: return 5;
    case 0xE7:
    case 0xF7: return 1;
    case 0xBB: return 2;
    case 0xBD: return kMeteringReply;
    default: return 0;
    }
}

bool InTuningRange(std::uint32_t f)
{
    return (f >= 10000 && f <= 5600000) || (f >= 7600000 && f <= 15400000) || (f >= 42000000 && f <= 47000000);
}

void CheckRadio(sim::Ft817& radio)
{
    for (sim::Vfo* v : {&radio.A(), &radio.B()}) {
        FUZZ_CHECK(InTuningRange(v->freq));
        const auto mode = v->mode;
        FUZZ_CHECK(mode <= 0x04 || mode == 0x06 || mode == 0x08 || mode == 0x0A || mode == 0x0C);
    }
    FUZZ_CHECK(radio.RptDir() >= -1 && radio.RptDir() <= 1);
    FUZZ_CHECK(radio.RptOffset() <= 9999900);
    FUZZ_CHECK(radio.ToneMode() >= 0 && radio.ToneMode() <= 3);
    bool tone = false;
    for (const auto& row : radio::CTCSSTable)
        tone = tone || row.tenthsHz == radio.CtcssTenthsHz();
    // The radio knows more tones than the program's table, but never a value outside 67.0..254.1 Hz.
    FUZZ_CHECK(tone || (radio.CtcssTenthsHz() >= 670 && radio.CtcssTenthsHz() <= 2541));
    bool dcs = false;
    for (const auto& row : radio::DCSTable)
        dcs = dcs || row.code == radio.DcsCode();
    FUZZ_CHECK(dcs);
    FUZZ_CHECK(!radio.Transmitting() || radio.TxStatus() != 0xFF);
}

struct Run {
    platform::VirtualEventLoop loop;
    sim::Ft817 radio;
    sim::Wire wire;
    std::vector<std::string> sent;
    std::vector<std::string> described;
    std::string current; // the radio's frequency-and-mode reply after each read, as it was then

    Run() : wire(loop, radio, sim::WireOptions::Ideal())
    {
        wire.send = [this](const std::string& out) {
            FUZZ_CHECK(!out.empty());
            sent.push_back(out);
        };
        wire.onFrame = [this](const sim::ReceivedFrame& f) {
            FUZZ_CHECK(f.bytes.size() == 5 && f.accepted);
            described.push_back(sim::DescribeFrame(f.bytes));
            FUZZ_CHECK(!described.back().empty());
        };
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string in(reinterpret_cast<const char*>(data), size);

    Run whole;
    whole.wire.Receive(in);
    const std::size_t beforeAdvance = whole.sent.size();
    whole.loop.Advance(1.0);
    FUZZ_CHECK(whole.sent.size() == beforeAdvance); // ideal mode answers at once, never later
    CheckRadio(whole.radio);

    // Every five bytes make one frame, taken as sent.
    const auto& frames = whole.wire.Frames();
    FUZZ_CHECK(frames.size() == size / 5);
    std::size_t expectReplies = 0;
    for (std::size_t k = 0; k < frames.size(); ++k) {
        FUZZ_CHECK(frames[k].bytes == in.substr(5 * k, 5));
        expectReplies += ReplySize(std::uint8_t(in[5 * k + 4])) ? 1 : 0;
    }
    FUZZ_CHECK(whole.sent.size() == expectReplies);
    for (std::size_t k = 0, r = 0; k < frames.size(); ++k) {
        const auto n = ReplySize(std::uint8_t(in[5 * k + 4]));
        if (!n)
            continue;
        if (n == kMeteringReply)
            FUZZ_CHECK(whole.sent[r].size() == 1 || whole.sent[r].size() == 2);
        else
            FUZZ_CHECK(whole.sent[r].size() == n);
        // The program's decoder takes every frequency-and-mode reply the radio gives.
        if (n == 5) {
            const auto fm = radio::DecodeFreqModeReply(whole.sent[r]);
            FUZZ_CHECK(fm.has_value());
        }
        ++r;
    }
    if (!frames.empty()) {
        // The last read reports the state the radio is left in when nothing follows it.
        const std::string last = in.substr(5 * (frames.size() - 1), 5);
        if (std::uint8_t(last[4]) == 0x03) {
            const auto fm = radio::DecodeFreqModeReply(whole.sent.back());
            FUZZ_CHECK(fm && std::uint32_t(fm->freq) == whole.radio.Current().freq);
        }
    }

    // How the bytes are split into writes makes no difference.
    Run bytewise;
    for (char c : in)
        bytewise.wire.Receive(std::string_view(&c, 1));
    FUZZ_CHECK(bytewise.sent == whole.sent);
    FUZZ_CHECK(bytewise.described == whole.described);
    FUZZ_CHECK(bytewise.radio.Current().freq == whole.radio.Current().freq);
    FUZZ_CHECK(bytewise.radio.Current().mode == whole.radio.Current().mode);
    return 0;
}
