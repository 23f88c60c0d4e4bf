#pragma once
// The Settings menu's Serial Port and CAT Rate groups on the display: the entries' captions (each
// number with its device, the network port with its address) and their check marks, as the link's
// port handling reports them; and the Settings menu held while a rate search has the port.

#include "panel/PortChoice.h"
#include "platform/DisplayModel.h"
#include "state/ModKIVO.h"

#include <string>

namespace kivo::panel {

class PortMenu {
public:
    // Captions the entries, and takes over the port handling's reports for as long as it lives.
    PortMenu(const state::ModKIVO& s, PortChoice& comm, platform::DisplayModel& display);
    ~PortMenu();
    PortMenu(const PortMenu&) = delete;
    PortMenu& operator=(const PortMenu&) = delete;

    // Checks the Serial Port entry `index` alone (kPortNone: the port is not open).
    void CheckPortEntry(int index);
    void CheckRateEntry(int index);
    // "1" .. "9", with the device behind the number when there is one.
    void ShowPortDevice(int number, const std::string& device);
    // The network entry's caption names the address it connects to ("" when none is set).
    void SetNetworkCaption(const std::string& where);

private:
    const state::ModKIVO& m_s;
    PortChoice& m_comm;
    platform::DisplayModel& m_display;
};

} // namespace kivo::panel
