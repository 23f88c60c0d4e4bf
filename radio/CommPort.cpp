#include "radio/CommPort.h"

namespace kivo::radio {

CommPort::CommPort(platform::SerialPort& port) : m_port(port) {}

std::string CommPort::LineSettings() const
{
    std::string t = CatRateText;
    while (!t.empty() && t.back() == ' ')
        t.pop_back();
    return t + ",N,8,2";
}

bool CommPort::Open(int number, int rate, std::string& error)
{
    switch (rate) {
    case 1: CatRateText = "9600 "; break;
    case 2: CatRateText = "38400"; break;
    default: CatRateText = "4800 "; break;
    }
    if (m_port.IsOpen())
        m_port.Close();
    if (m_port.PortNumber() != number)
        m_port.SetPortNumber(number);
    if (!m_port.IsOpen()) {
        m_port.SetBufferSizes(5, 5, 5);
        m_port.SetLineSettings(LineSettings());
        m_port.DiscardOutput();
        m_port.DiscardInput();
        if (!m_port.Open(error))
            return false;
    }
    m_lost = false;
    return true;
}

void CommPort::PortLost()
{
    if (m_port.IsOpen())
        m_port.Close();
    m_lost = true;
}

} // namespace kivo::radio
