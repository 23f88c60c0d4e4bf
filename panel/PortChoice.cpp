#include "panel/PortChoice.h"

namespace kivo::panel {

using radio::kPortNetwork;
using radio::kPortNone;

namespace {
constexpr const char* kChangeWhileOnTitle = "Communications Port Error";
}

PortChoice::PortChoice(state::ModKIVO& s, radio::CommPort& port, platform::Dialogs& dialogs)
    : m_s(s), m_port(port), m_dialogs(dialogs)
{
}

bool PortChoice::TryOpen(std::string& error) { return m_port.Open(m_s.Settings.CommPort, m_s.Settings.CatRate, error); }

void PortChoice::OpenCommPort()
{
    std::string error;
    if (TryOpen(error)) {
        m_s.PortReady = true;
        return;
    }
    const std::string which = m_s.Settings.CommPort == kPortNetwork
                                  ? std::string("Network port error. ")
                                  : "Communications port  " + std::to_string(m_s.Settings.CommPort) + " error. ";
    m_dialogs.MessageBox(which + error + "." + " Please select a new comm port from the Settings Menu.",
                         "Open Communications Port", platform::Icon::Exclamation, platform::Buttons::Ok);
    m_s.PortReady = false;
}

void PortChoice::CheckPortEntry(int index)
{
    if (onPortChecked)
        onPortChecked(index);
}

void PortChoice::ChooseCommPort(int index)
{
    if (m_s.CATOn) {
        m_dialogs.MessageBox("Cannot change the Serial Communications Port while the CAT system is in use. Please "
                             "turn off the POWER button on the KIVO software before changing communications port.",
                             kChangeWhileOnTitle, platform::Icon::Exclamation, platform::Buttons::Ok);
        return;
    }
    if (!radio::CommPort::IsPort(index))
        index = kPortNone;
    GiveUpLost();
    m_s.Settings.CommPort = state::Integer(index);
    if (m_networkChosen != (index == kPortNetwork)) {
        m_networkChosen = index == kPortNetwork;
        if (onNetworkChosen)
            onNetworkChosen(m_networkChosen);
    }
    if (index == kPortNone) {
        m_s.PortReady = false;
        m_port.ForgetLost();
    } else {
        OpenCommPort();
    }
    CheckPortEntry(m_s.PortReady ? index : kPortNone);
}

void PortChoice::ChooseCatRate(int index)
{
    if (m_s.CATOn) {
        m_dialogs.MessageBox("Cannot change the Serial Communications Port Rate while the CAT system is in use. "
                             "Please turn off the POWER button on the KIVO software before changing communications "
                             "port.",
                             kChangeWhileOnTitle, platform::Icon::Exclamation, platform::Buttons::Ok);
        return;
    }
    if (index < 0 || index > 2)
        index = 0;
    if (onRateChecked)
        onRateChecked(index);
    if (index != m_s.Settings.CatRate) {
        GiveUpLost();
        m_s.Settings.CatRate = state::Integer(index);
        OpenCommPort();
        // Re-opening may have failed: the port menu shows the outcome as the port handler does.
        CheckPortEntry(m_s.PortReady ? m_s.Settings.CommPort : kPortNone);
    }
}

void PortChoice::GiveUpLost()
{
    if (m_port.WasLost() && onGivingUpLost)
        onGivingUpLost();
}

void PortChoice::PortLost()
{
    m_port.PortLost();
    m_s.PortReady = false;
    CheckPortEntry(kPortNone);
}

bool PortChoice::ReopenLost()
{
    if (!m_port.WasLost())
        return m_s.PortReady;
    std::string error;
    if (!TryOpen(error))
        return false;
    m_s.PortReady = true;
    CheckPortEntry(m_s.Settings.CommPort);
    return true;
}

void PortChoice::SetNetworkCaption(const std::string& where)
{
    if (onNetworkAddress)
        onNetworkAddress(where);
}

void PortChoice::RefreshPortCaptions(const std::function<std::string(int)>& deviceOf)
{
    for (int i = 1; i < kPortNone; ++i) {
        const std::string dev = deviceOf ? deviceOf(i) : std::string();
        if (onPortDevice)
            onPortDevice(i, dev);
    }
}

} // namespace kivo::panel
