#include "sim/SimPort.h"

#include <algorithm>
#include <cstdlib>

namespace kivo::sim {

SimPort::SimPort(platform::EventLoop& loop, Ft817& radio, WireOptions options) : m_wire(loop, radio, options)
{
    m_wire.send = [this](const std::string& bytes) {
        if (m_open && !m_gone && !m_silent) {
            m_rx += bytes;
            m_arrived += bytes.size();
        }
    };
    // The speed is the first field of the line settings, "9600,N,8,2".
    m_wire.lineRate = [this] { return std::atoi(m_lineSettings.c_str()); };
}

bool SimPort::Open(std::string& error)
{
    Close();
    if (m_gone) {
        error = "no such device (is the radio's cable plugged in?)";
        return false;
    }
    if (!m_openError.empty()) {
        error = m_openError;
        m_openError.clear();
        return false;
    }
    m_open = true;
    m_vanished = false;
    m_rx.clear();
    return true;
}

void SimPort::Close()
{
    m_open = false;
    m_rx.clear();
}

void SimPort::SetBufferSizes(int, int, int inputLength) { m_inputLength = std::max(1, inputLength); }

int SimPort::BytesWaiting() { return m_vanished ? 0 : int(m_rx.size()); }

void SimPort::Write(std::string_view bytes)
{
    ++m_writes;
    if (!m_open || m_vanished)
        return;
    m_wire.Receive(bytes);
}

std::string SimPort::Read()
{
    if (m_vanished)
        return {};
    const std::size_t n = std::min(m_rx.size(), std::size_t(m_inputLength));
    std::string out = m_rx.substr(0, n);
    m_rx.erase(0, n);
    return out;
}

void SimPort::Vanish()
{
    m_gone = true;
    if (m_open)
        m_vanished = true;
    m_rx.clear();
}

} // namespace kivo::sim
