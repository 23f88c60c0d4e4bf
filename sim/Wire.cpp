#include "sim/Wire.h"

#include <algorithm>
#include <cmath>

namespace kivo::sim {

Wire::Wire(platform::EventLoop& loop, Ft817& radio, WireOptions options)
    : m_loop(loop), m_radio(radio), m_options(options), m_rng(options.seed)
{
}

std::string Wire::ShapeReply(std::string reply, double& delay)
{
    if (m_faults.empty())
        return reply;
    const InjectedFault f = m_faults.front();
    m_faults.pop_front();
    switch (f.fault) {
    case Fault::NoReply: return {};
    case Fault::Late: delay += f.delay; return reply;
    case Fault::Short: reply.resize(std::min(reply.size(), std::size_t(std::max(0, f.count)))); return reply;
    case Fault::Garbage: return RandomBytes(f.count);
    case Fault::Doubled: return reply + reply;
    }
    return reply;
}

std::string Wire::RandomBytes(int count)
{
    std::string bytes;
    for (int i = 0; i < count; ++i) {
        m_rng = m_rng * 1103515245u + 12345u;
        bytes += char((m_rng >> 16) & 0xFF);
    }
    return bytes;
}

bool Wire::Chance(double p)
{
    if (p <= 0)
        return false;
    m_rng = m_rng * 1103515245u + 12345u;
    return double((m_rng >> 8) & 0xFFFF) / 65536.0 < p;
}

void Wire::Receive(std::string_view bytes)
{
    for (char c : bytes) {
        const double now = m_loop.Now();
        // A pause inside a frame makes the radio give up on it and start afresh.
        if (!m_partial.empty() && now - m_lastByte > m_options.interByteTimeout)
            m_partial.clear();
        if (m_partial.empty())
            m_partialStart = now;
        m_partial += c;
        m_lastByte = now;
        if (m_partial.size() < 5)
            continue;

        ReceivedFrame rf{m_partial, now, m_partialStart >= m_busyUntil, {}, false, {}};
        m_partial.clear();
        double delay = m_options.serviceTime + m_options.late;
        rf.wrongRate = m_options.rate != 0 && lineRate && lineRate() != m_options.rate;
        const bool silent = Silent();
        ++m_commands;
        const bool dropNext =
            m_dropNext > 0 && (m_dropOpcodes.empty() || m_dropOpcodes.find(rf.bytes[4]) != std::string::npos);
        if (rf.accepted && (dropNext || Chance(m_options.dropRate))) {
            // Lost on the way: the radio never saw a whole frame.
            if (dropNext)
                --m_dropNext;
            rf.accepted = false;
            rf.fault = "lost on the line";
        } else if (rf.accepted && silent) {
            rf.accepted = false;
            rf.fault = "not answered (the radio fell silent)";
        } else if (rf.wrongRate) {
            // Misread bits: no command is carried out, and what comes back is noise.
            rf.answer = RandomBytes(5);
        } else if (rf.accepted) {
            m_busyUntil = now + m_options.serviceTime;
            Ft817::Answer a = m_radio.HandleFrame(rf.bytes);
            if (a.read)
                rf.answer = ShapeReply(std::move(a.bytes), delay);
            else if (m_options.acks)
                rf.answer = std::move(a.bytes);
            if (!rf.answer.empty() && Chance(m_options.garbleRate)) {
                rf.answer = RandomBytes(int(rf.answer.size()));
                rf.fault = "answer garbled";
            }
            if (!rf.answer.empty() && m_options.late > 0 && rf.fault.empty())
                rf.fault = "answer " + std::to_string(std::lround(m_options.late * 1000)) + " ms late";
        }
        ++(rf.accepted ? m_acceptedCount : m_droppedCount);
        if (m_frames.size() >= std::max<std::size_t>(1, m_options.keepFrames))
            m_frames.pop_front();
        m_frames.push_back(rf);
        if (onFrame)
            onFrame(rf);
        if (rf.answer.empty())
            continue;
        if (delay <= 0) {
            if (send)
                send(rf.answer);
        } else {
            m_loop.CallAt(now + delay, [this, out = std::move(rf.answer)] {
                if (send)
                    send(out);
            });
        }
    }
}

} // namespace kivo::sim
