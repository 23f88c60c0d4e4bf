#include "sim/Wire.h"

namespace kivo::sim {

Wire::Wire(platform::EventLoop& loop, Ft817& radio, WireOptions options)
    : m_loop(loop), m_radio(radio), m_options(options), m_rng(options.seed)
{
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

        ReceivedFrame rf{m_partial, now, true};
        m_partial.clear();
        if (m_options.realistic) {
            if (m_partialStart < m_busyUntil)
                rf.accepted = false;
            else
                m_busyUntil = m_partialStart + m_options.serviceTime;
        }
        m_frames.push_back(rf);
        if (onFrame)
            onFrame(rf);
        if (!rf.accepted)
            continue;

        std::string ack;
        std::string reply = m_radio.HandleFrame(rf.bytes, m_options.realistic ? &ack : nullptr);
        double delay = m_options.realistic ? m_options.replyLatency : 0.0;
        int copies = 1;
        if (!reply.empty() && !m_faults.empty()) {
            const InjectedFault f = m_faults.front();
            m_faults.pop_front();
            switch (f.fault) {
            case Fault::NoReply: reply.clear(); break;
            case Fault::Late: delay += f.delay; break;
            case Fault::Short:
                reply.resize(std::min<std::size_t>(reply.size(), std::size_t(std::max(0, f.count))));
                break;
            case Fault::Garbage:
                reply.clear();
                for (int i = 0; i < f.count; ++i) {
                    m_rng = m_rng * 1103515245u + 12345u;
                    reply += char((m_rng >> 16) & 0xFF);
                }
                break;
            case Fault::Doubled: copies = 2; break;
            }
        }
        std::string out = ack;
        for (int i = 0; i < copies; ++i)
            out += reply;
        if (out.empty())
            continue;
        if (delay <= 0) {
            if (send)
                send(out);
        } else {
            m_loop.CallAt(now + delay, [this, out] {
                if (send)
                    send(out);
            });
        }
    }
}

} // namespace kivo::sim
