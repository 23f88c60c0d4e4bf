#include "radio/CommPort.h"

#include "platform/Elements.h"

namespace kivo::radio {

namespace {
constexpr const char* kChangeWhileOnTitle = "Communications Port Error";
}

CommPort::CommPort(state::ModKIVO& kivo, platform::SerialPort& port, platform::Dialogs& dialogs,
                   platform::DisplayModel& display)
    : m_kivo(kivo), m_port(port), m_dialogs(dialogs), m_display(display)
{
    for (int i = 1; i <= kPortNone; ++i)
        m_display.SetCaption(el::mnuCommPortArray(i), i == kPortNone ? "None" : std::to_string(i));
    SetNetworkCaption("");
    const char* rates[] = {"4800 bps", "9600 bps", "38400 bps"};
    for (int i = 0; i < 3; ++i)
        m_display.SetCaption(el::mnuCatRate(i), rates[i]);
}

std::string CommPort::LineSettings() const
{
    std::string t = CatRateText;
    while (!t.empty() && t.back() == ' ')
        t.pop_back();
    return t + ",N,8,2";
}

bool CommPort::TryOpen(std::string& error)
{
    switch (m_kivo.Settings.CatRate) {
    case 1: CatRateText = "9600 "; break;
    case 2: CatRateText = "38400"; break;
    default: CatRateText = "4800 "; break;
    }
    if (m_port.IsOpen())
        m_port.Close();
    if (m_port.PortNumber() != m_kivo.Settings.CommPort)
        m_port.SetPortNumber(m_kivo.Settings.CommPort);
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

void CommPort::OpenCommPort()
{
    std::string error;
    if (TryOpen(error)) {
        m_kivo.PortReady = true;
        return;
    }
    const std::string which = m_kivo.Settings.CommPort == kPortNetwork
                                  ? std::string("Network port error. ")
                                  : "Communications port  " + std::to_string(m_kivo.Settings.CommPort) + " error. ";
    m_dialogs.MessageBox(which + error + "." + " Please select a new comm port from the Settings Menu.",
                         "Open Communications Port", platform::Icon::Exclamation, platform::Buttons::Ok);
    m_kivo.PortReady = false;
}

void CommPort::CheckPortEntry(int index)
{
    for (int i = 1; i <= kPortNetwork; ++i)
        m_display.SetChecked(el::mnuCommPortArray(i), i == index);
}

void CommPort::mnuCommPortArray_Click(int index)
{
    if (m_kivo.CATOn) {
        m_dialogs.MessageBox("Cannot change the Serial Communications Port while the CAT system is in use. Please "
                             "turn off the POWER button on the KIVO software before changing communications port.",
                             kChangeWhileOnTitle, platform::Icon::Exclamation, platform::Buttons::Ok);
        return;
    }
    if (!IsPort(index))
        index = kPortNone;
    m_kivo.Settings.CommPort = state::Integer(index);
    if (m_networkChosen != (index == kPortNetwork)) {
        m_networkChosen = index == kPortNetwork;
        if (onNetworkChosen)
            onNetworkChosen(m_networkChosen);
    }
    if (index == kPortNone) {
        m_kivo.PortReady = false;
        m_lost = false;
    } else {
        OpenCommPort();
    }
    CheckPortEntry(m_kivo.PortReady ? index : kPortNone);
}

void CommPort::mnuCatRate_Click(int index)
{
    if (m_kivo.CATOn) {
        m_dialogs.MessageBox("Cannot change the Serial Communications Port Rate while the CAT system is in use. "
                             "Please turn off the POWER button on the KIVO software before changing communications "
                             "port.",
                             kChangeWhileOnTitle, platform::Icon::Exclamation, platform::Buttons::Ok);
        return;
    }
    if (index < 0 || index > 2)
        index = 0;
    for (int i = 0; i < 3; ++i)
        m_display.SetChecked(el::mnuCatRate(i), i == index);
    if (index != m_kivo.Settings.CatRate) {
        m_kivo.Settings.CatRate = state::Integer(index);
        OpenCommPort();
        // Re-opening may have failed: the port menu shows the outcome as the port handler does.
        CheckPortEntry(m_kivo.PortReady ? m_kivo.Settings.CommPort : kPortNone);
    }
}

void CommPort::PortLost()
{
    if (m_port.IsOpen())
        m_port.Close();
    m_kivo.PortReady = false;
    m_lost = true;
    CheckPortEntry(kPortNone);
}

bool CommPort::ReopenLost()
{
    if (!m_lost)
        return m_kivo.PortReady;
    std::string error;
    if (!TryOpen(error))
        return false;
    m_kivo.PortReady = true;
    CheckPortEntry(m_kivo.Settings.CommPort);
    return true;
}

void CommPort::SetNetworkCaption(const std::string& where)
{
    m_display.SetCaption(el::mnuCommPortArray(kPortNetwork),
                         where.empty() ? "Network Port..." : "Network Port...\t" + where);
}

void CommPort::RefreshPortCaptions(const std::function<std::string(int)>& deviceOf)
{
    for (int i = 1; i < kPortNone; ++i) {
        const std::string dev = deviceOf ? deviceOf(i) : std::string();
        m_display.SetCaption(el::mnuCommPortArray(i), dev.empty() ? std::to_string(i) : std::to_string(i) + "\t" + dev);
    }
}

} // namespace kivo::radio
