#include "panel/PortMenu.h"

#include "platform/Elements.h"

namespace kivo::panel {

using radio::kPortNetwork;
using radio::kPortNone;

PortMenu::PortMenu(const state::ModKIVO& s, PortChoice& comm, platform::DisplayModel& display)
    : m_s(s), m_comm(comm), m_display(display)
{
    for (int i = 1; i <= kPortNone; ++i)
        m_display.SetCaption(el::mnuCommPortArray(i), i == kPortNone ? "None" : std::to_string(i));
    SetNetworkCaption("");
    const char* rates[] = {"4800 bps", "9600 bps", "38400 bps"};
    for (int i = 0; i < 3; ++i)
        m_display.SetCaption(el::mnuCatRate(i), rates[i]);

    m_comm.onPortChecked = [this](int index) { CheckPortEntry(index); };
    m_comm.onRateChecked = [this](int index) { CheckRateEntry(index); };
    m_comm.onPortDevice = [this](int number, const std::string& device) { ShowPortDevice(number, device); };
    m_comm.onNetworkAddress = [this](const std::string& where) { SetNetworkCaption(where); };
    m_comm.onSearching = [this](bool on) { m_display.SetEnabled(el::mnuSettings, !on && !m_s.MenusLocked); };
}

PortMenu::~PortMenu()
{
    m_comm.onPortChecked = nullptr;
    m_comm.onRateChecked = nullptr;
    m_comm.onPortDevice = nullptr;
    m_comm.onNetworkAddress = nullptr;
    m_comm.onSearching = nullptr;
}

void PortMenu::CheckPortEntry(int index)
{
    for (int i = 1; i <= kPortNetwork; ++i)
        m_display.SetChecked(el::mnuCommPortArray(i), i == index);
}

void PortMenu::CheckRateEntry(int index)
{
    for (int i = 0; i < 3; ++i)
        m_display.SetChecked(el::mnuCatRate(i), i == index);
}

void PortMenu::ShowPortDevice(int number, const std::string& device)
{
    m_display.SetCaption(el::mnuCommPortArray(number),
                         device.empty() ? std::to_string(number) : std::to_string(number) + "\t" + device);
}

void PortMenu::SetNetworkCaption(const std::string& where)
{
    m_display.SetCaption(el::mnuCommPortArray(kPortNetwork),
                         where.empty() ? "Network Port..." : "Network Port...\t" + where);
}

} // namespace kivo::panel
