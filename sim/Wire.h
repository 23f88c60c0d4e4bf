#pragma once
// The radio's side of the serial line: bytes in, frames out to the model, replies back,
// with the radio's timing and the faults tests inject. Shared by the in-process port and the
// pseudo-terminal so both behave alike.

#include "platform/EventLoop.h"
#include "sim/Ft817.h"

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kivo::sim {

enum class Fault {
    NoReply, // the reply is not sent
    Late,    // the reply is sent `delay` seconds later than it would be
    Short,   // only the first `count` bytes of the reply are sent
    Garbage, // `count` random bytes are sent instead of the reply
    Doubled, // the reply is sent twice
};

struct InjectedFault {
    Fault fault;
    int count = 0;
    double delay = 0;
};

struct WireOptions {
    // Realistic: a frame is taken in over `serviceTime` s; a frame that starts arriving
    // before the radio is done with the previous one is dropped, and PTT and split
    // commands are acknowledged with one byte. Ideal: no service time, no acknowledgements,
    // replies at once.
    bool realistic = true;
    double serviceTime = 0.090;
    double replyLatency = 0.010; // after the frame is complete (realistic only)
    // Bytes that stop arriving for this long leave a partial frame behind (the radio resyncs).
    double interByteTimeout = 0.050;
    unsigned seed = 817;
};

struct ReceivedFrame {
    std::string bytes; // the five bytes
    double at;         // arrival time of the last byte
    bool accepted;     // false when dropped for arriving during the service time
};

class Wire {
public:
    Wire(platform::EventLoop& loop, Ft817& radio, WireOptions options = {});

    // Bytes from the computer. Replies reach `send`, now or later through the event loop.
    void Receive(std::string_view bytes);
    std::function<void(const std::string&)> send;

    // Applies to the replies of the next request(s) that have one, in order.
    void InjectFault(InjectedFault f) { m_faults.push_back(f); }
    // Every complete frame received, accepted or dropped.
    const std::vector<ReceivedFrame>& Frames() const { return m_frames; }
    void ClearFrames() { m_frames.clear(); }
    // Called for each complete frame (for the traffic log).
    std::function<void(const ReceivedFrame&)> onFrame;

    const WireOptions& Options() const { return m_options; }
    // Switches between the realistic and the ideal radio (tests).
    void SetRealistic(bool on) { m_options.realistic = on; }

private:
    platform::EventLoop& m_loop;
    Ft817& m_radio;
    WireOptions m_options;
    std::deque<InjectedFault> m_faults;
    std::vector<ReceivedFrame> m_frames;
    std::string m_partial;
    double m_partialStart = 0;
    double m_lastByte = -1e9;
    double m_busyUntil = -1e9;
    unsigned m_rng;
};

} // namespace kivo::sim
