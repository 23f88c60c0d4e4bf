#pragma once
// What this radio can do, as the protocol's capability block (`\dump_state`) tells a client.

#include <cstdint>
#include <string>
#include <vector>

namespace kivo::net {

// The rig model number the block names. This server stands for no radio a client knows by
// number; clients of the protocol take the block's own ranges and lists, not the number.
constexpr int kRigModelNumber = 1;

// A frequency range in Hz, both ends included.
struct HzRange {
    std::int64_t low, high;
};

// 100 kHz-56 MHz, 76-154 MHz, 420-470 MHz.
const std::vector<HzRange>& ReceiveRanges();
// The program's amateur bands, 1.8 MHz to 430 MHz, lowest first.
const std::vector<HzRange>& TransmitRanges();
bool CanReceive(std::int64_t hz);

// Transmit power in mW, the radio's lowest and highest setting.
constexpr int kMinPowerMw = 500;
constexpr int kMaxPowerMw = 5000;

// The block, one line per element, ending with "done".
const std::vector<std::string>& DumpStateLines();

} // namespace kivo::net
