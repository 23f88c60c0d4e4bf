#pragma once
// The radio's side of the serial line: bytes in, frames out to the model, answers back,
// with the radio's timing and the faults tests inject. Shared by the in-process port and the
// pseudo-terminal so both behave alike.
//
// The radio works on one command at a time. It takes a command in with its fifth byte, works
// on it for the service time, then answers: a read with its reply, any other command with one
// acknowledgement byte (00; F0 for PTT or split when it was already in that state). A command
// whose first byte arrives while it is still working is lost; once it has answered it is
// ready at once.

#include "platform/EventLoop.h"
#include "sim/Ft817.h"

#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <string_view>

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
    // From the fifth byte of a command to its answer; the radio is busy meanwhile.
    double serviceTime = 0.060;
    // Whether commands other than reads are answered with an acknowledgement byte. Some
    // radios send none.
    bool acks = true;
    // Bytes that stop arriving for this long leave a partial frame behind (the radio resyncs).
    double interByteTimeout = 0.050;
    unsigned seed = 817;
    // How many of the latest frames are kept for Frames().
    std::size_t keepFrames = 4096;
    // The CAT rate the radio's menu is set to, in bit/s; 0 answers at any rate. At another
    // rate the radio's receiver makes nothing of a frame and garbage comes back instead.
    int rate = 0;
    // Added to the time of every answer, the radio ready as before: the answers of a radio
    // behind a slow network link, as the program sees them.
    double late = 0;
    // A bad line, for trying a program against one. The draws come from `seed`, so a run repeats.
    double dropRate = 0;   // the fraction of commands lost whole: not carried out, not answered
    double garbleRate = 0; // the fraction of answers replaced by as many random bytes
    int silentAfter = 0;   // after this many commands none is carried out or answered, until
                           // Unsilence() (0: never)

    // Answers at once and only to reads: the simplest radio, for tests of exact pauses.
    static WireOptions Ideal() { return {.serviceTime = 0, .acks = false}; }
};

struct ReceivedFrame {
    std::string bytes;      // the five bytes
    double at;              // arrival time of the last byte
    bool accepted;          // false when dropped for arriving while the radio was busy
    std::string answer;     // what the radio sends back (after injected faults); empty for none
    bool wrongRate = false; // sent at a rate the radio is not set to: not carried out
    std::string fault;      // the line fault made of it, for the log ("lost on the line"); empty for none
};

class Wire {
public:
    Wire(platform::EventLoop& loop, Ft817& radio, WireOptions options = {});

    // Bytes from the computer. Answers reach `send`, now or later through the event loop.
    void Receive(std::string_view bytes);
    std::function<void(const std::string&)> send;
    // The rate in bit/s the computer's side of the line is set to now, read as each frame
    // arrives; unset, the line always matches.
    std::function<int()> lineRate;

    // Applies to the replies of the next read(s), in order.
    void InjectFault(InjectedFault f) { m_faults.push_back(f); }
    // The next `count` commands are lost on the line: any command, or only those whose opcode
    // is one of the bytes of `opcodes`. Replaces a drop still pending.
    void DropNext(int count, std::string opcodes = {})
    {
        m_dropNext = count;
        m_dropOpcodes = std::move(opcodes);
    }
    // Forgets the injected faults not yet applied.
    void ClearFaults()
    {
        m_faults.clear();
        m_dropNext = 0;
    }
    // Answers again after `silentAfter` (the terminal was opened afresh); counts from zero.
    void Unsilence() { m_commands = 0; }
    bool Silent() const { return m_options.silentAfter > 0 && m_commands >= std::size_t(m_options.silentAfter); }
    // The latest complete frames received, accepted or dropped, oldest first; at most
    // `keepFrames` of them, so a long run does not grow.
    const std::deque<ReceivedFrame>& Frames() const { return m_frames; }
    void ClearFrames() { m_frames.clear(); }
    // Called for each complete frame, once its answer is known (for the traffic log).
    std::function<void(const ReceivedFrame&)> onFrame;

    const WireOptions& Options() const { return m_options; }
    // Another radio from now on (tests start ideal, then check pacing against the real one).
    void SetOptions(const WireOptions& options) { m_options = options; }
    // Frames taken and frames dropped since the start, for long runs.
    std::size_t AcceptedCount() const { return m_acceptedCount; }
    std::size_t DroppedCount() const { return m_droppedCount; }
    // True while the radio works on a command and would drop a new one.
    bool Busy() const { return m_loop.Now() < m_busyUntil; }

private:
    std::string ShapeReply(std::string reply, double& delay);
    std::string RandomBytes(int count);
    // True with probability p, from the wire's own sequence.
    bool Chance(double p);

    platform::EventLoop& m_loop;
    Ft817& m_radio;
    WireOptions m_options;
    std::deque<InjectedFault> m_faults;
    std::deque<ReceivedFrame> m_frames;
    std::string m_partial;
    double m_partialStart = 0;
    double m_lastByte = -1e9;
    double m_busyUntil = -1e9;
    std::size_t m_acceptedCount = 0;
    std::size_t m_droppedCount = 0;
    std::size_t m_commands = 0;
    int m_dropNext = 0;
    std::string m_dropOpcodes;
    unsigned m_rng;
};

} // namespace kivo::sim
