#pragma once
// What the network rig-control protocol may ask of the radio, as the front panel answers it.
// The server implements this over the panel; the protocol code never sees the panel itself.

#include <cstdint>

namespace kivo::net {

// Protocol error codes, answered as `RPRT <code>`.
namespace rprt {
constexpr int kOk = 0;
constexpr int kInvalid = -1;        // invalid argument
constexpr int kNotImplemented = -4; // no such command
constexpr int kIo = -5;             // the radio link failed
constexpr int kTimeout = -6;
constexpr int kProtocol = -9;          // a line that is not a command
constexpr int kNotAvailable = -11;     // not now: the panel is dark, or the function is locked
constexpr int kVfoNotTargetable = -16; // the radio cannot act on that VFO
} // namespace rprt

// The radio's modes, in the program's mode order 0..7 so the server can convert by value.
enum class RigMode : std::uint8_t { LSB, USB, CW, CWR, AM, FM, DIG, PKT };
constexpr int kRigModeCount = 8;

enum class Vfo : std::uint8_t { A, B };

// A reading, or the error code that stands in its place.
template <class T> struct Got {
    int error = rprt::kOk;
    T value{};
};

class RigModel {
public:
    virtual ~RigModel() = default;

    // The panel is lit: POWER is on and the radio is driven.
    virtual bool Lit() const = 0;

    // The radio's VFO in use: A while the panel works its main VFO, B while SUB is on.
    virtual Got<Vfo> CurrentVfo() const = 0;
    // The SUB key: the radio's other VFO becomes current.
    virtual int ToggleVfo() = 0;

    // A VFO's receive frequency in Hz, either VFO, current or not. The session passes only
    // frequencies the radio receives; a set answers 0, or a protocol error code.
    virtual Got<std::int64_t> Frequency(Vfo vfo) const = 0;
    virtual int SetFrequency(Vfo vfo, std::int64_t hz) = 0;

    virtual Got<RigMode> Mode(Vfo vfo) const = 0;
    virtual int SetMode(Vfo vfo, RigMode mode) = 0;

    virtual Got<bool> Ptt() const = 0;
    virtual int SetPtt(bool on) = 0;

    // Split: receive on the current VFO, transmit on the other one (the radio has no other kind).
    virtual Got<bool> Split() const = 0;
    virtual int SetSplit(bool on) = 0;

    // The S-meter as the radio reads it, 0..15: S0..S9, then S9+10 dB .. S9+60 dB.
    virtual Got<int> SMeter() const = 0;
};

} // namespace kivo::net
