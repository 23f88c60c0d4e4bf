// Bytes the radio sends back: the whole input as a frequency-and-mode reply, and each byte
// as a receive and a transmit status byte.

#include "fuzz/Check.h"
#include "radio/CatCodec.h"
#include "radio/Coverage.h"
#include "radio/ModeCodes.h"

#include <cstdint>
#include <string_view>

using namespace kivo;

namespace {

bool Bcd(std::uint8_t b) { return (b >> 4) <= 9 && (b & 0x0F) <= 9; }

void CheckFreqMode(std::string_view reply)
{
    const auto r = radio::DecodeFreqModeReply(reply);
    bool shapeOk = reply.size() == 5;
    state::Long bcd = 0;
    for (std::size_t i = 0; shapeOk && i < 4; ++i) {
        const auto b = std::uint8_t(reply[i]);
        shapeOk = Bcd(b);
        bcd = bcd * 100 + (b >> 4) * 10 + (b & 0x0F);
    }
    const bool valid = shapeOk && radio::RadioTunes(bcd) && radio::IsModeCode(std::uint8_t(reply[4]) & 0x7F);
    FUZZ_CHECK(r.has_value() == valid);
    if (!r)
        return;
    FUZZ_CHECK(r->freq >= 10000 && r->freq <= 47000000);
    FUZZ_CHECK(r->freq == bcd);
    FUZZ_CHECK(r->mode >= 0 && r->mode <= 7);
    FUZZ_CHECK(r->mode == radio::ModeOfCode(std::uint8_t(reply[4])));
    // What was read can be sent back as the same digits.
    const auto frame = radio::FreqFrame(r->freq);
    FUZZ_CHECK(frame && frame->size() == 5 && frame->compare(0, 4, reply.substr(0, 4)) == 0);
    const auto mode = radio::ModeFrame(r->mode);
    FUZZ_CHECK(radio::ModeOfCode(std::uint8_t(mode[0])) == r->mode);
    FUZZ_CHECK(!radio::FreqText(r->freq).empty());
}

void CheckStatus(std::uint8_t byte, std::uint8_t next)
{
    const auto rx = radio::DecodeRxStatus(byte);
    FUZZ_CHECK(rx.sMeter >= 0 && rx.sMeter <= 31 && rx.sMeter == (byte & 0x1F));
    FUZZ_CHECK(rx.busy == !(byte & 0x80));
    FUZZ_CHECK(rx.centred == !(byte & 0x20));
    const double w = radio::TxPowerWatts(byte);
    FUZZ_CHECK(w == 0.0 || w == 0.5 || w == 1.0 || w == 2.5 || w == 5.0);
    // Only the power bits count, and more of them never means less power.
    FUZZ_CHECK(w == radio::TxPowerWatts(byte & 0x1F));
    if ((byte & 0x1F) <= (next & 0x1F))
        FUZZ_CHECK(w <= radio::TxPowerWatts(next));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view in(reinterpret_cast<const char*>(data), size);
    CheckFreqMode(in);
    // The reader may also meet a reply inside a longer burst.
    for (std::size_t at = 0; at + 5 <= size && at < 64; ++at)
        CheckFreqMode(in.substr(at, 5));
    for (std::size_t i = 0; i < size; ++i)
        CheckStatus(data[i], data[(i + 1) % size]);
    return 0;
}
