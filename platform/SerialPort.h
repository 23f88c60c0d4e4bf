#pragma once
// The serial port operations the radio link needs, and nothing else.

#include <cstdint>
#include <string>
#include <string_view>

namespace kivo::platform {

class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Opens the port with the current number and line settings. On failure returns false and
    // sets error to a description a user can act on.
    virtual bool Open(std::string& error) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;

    virtual void SetPortNumber(int number) = 0;
    virtual int PortNumber() const = 0;
    // "9600,N,8,2": speed, parity, data bits, stop bits.
    virtual void SetLineSettings(const std::string& settings) = 0;
    virtual void SetBufferSizes(int rx, int tx, int inputLength) = 0;

    virtual int BytesWaiting() = 0;
    virtual void DiscardInput() = 0;
    virtual void DiscardOutput() = 0;
    // One write of the whole frame. Silent on a port that has gone away.
    virtual void Write(std::string_view bytes) = 0;
    // Up to the input length of the bytes waiting.
    virtual std::string Read() = 0;

    // True once the device has gone away while open (unplugged, hung up). Cleared by a good Open.
    virtual bool Vanished() const = 0;
    // Every byte received so far, those already read or discarded included: whether anything
    // arrived since a frame left, however the input was taken meanwhile.
    virtual std::uint64_t BytesArrived() = 0;
    // Whether Open puts the line settings into effect; a raw network port has the server's.
    virtual bool SetsLineSettings() const { return true; }
    // A descriptor that turns readable when input arrives, so a wait can sleep until then; -1
    // when the port has none (closed, or not a device).
    virtual int InputHandle() const { return -1; }
};

} // namespace kivo::platform
