#pragma once
// Settings > Serial Port and CAT Rate: which port and rate the link uses, chosen from the menus
// (refused while the CAT system is on), kept in the settings, and the port opened at them with its
// failure said. The menus' check marks and captions are PortMenu's: told through the on... reports.

#include "platform/Dialogs.h"
#include "radio/CommPort.h"
#include "state/ModKIVO.h"

#include <functional>
#include <string>

namespace kivo::panel {

class PortChoice {
public:
    PortChoice(state::ModKIVO& s, radio::CommPort& port, platform::Dialogs& dialogs);

    // Opens (or re-opens) the port for Settings.CommPort and Settings.CatRate; sets PortReady.
    void OpenCommPort();
    // Settings > Serial Port entry 1..9, 10 for "None", or 11 for the network port.
    void ChooseCommPort(int index);
    // Settings > CAT Rate entry 0..2.
    void ChooseCatRate(int index);

    // The device of the open port went away: the port closed and PortReady cleared, the port
    // remembered as lost so that POWER can try it again once the device is back.
    void PortLost();
    bool WasLost() const { return m_port.WasLost(); }
    // Tries the lost port again without a message; true when it is open now.
    bool ReopenLost();

    // Reports the device behind each of the port numbers 1 .. 9 (onPortDevice). `deviceOf` maps a
    // port number to its device path, empty when there is none.
    void RefreshPortCaptions(const std::function<std::string(int)>& deviceOf);
    // Reports the address the network port connects to ("" when none is set; onNetworkAddress).
    void SetNetworkCaption(const std::string& where);
    // Told the Serial Port entry to check (kPortNone: the port is not open), the CAT Rate entry
    // chosen, the device behind a port number, and the network port's address.
    std::function<void(int index)> onPortChecked;
    std::function<void(int index)> onRateChecked;
    std::function<void(int number, const std::string& device)> onPortDevice;
    std::function<void(const std::string& where)> onNetworkAddress;
    // Told as a choice of port or rate is about to give up a port lost while in use, which
    // may still be owed something (transmit off): it can be reopened for that first.
    std::function<void()> onGivingUpLost;
    // Told when a search for the radio's rate takes the port (true) and gives it back (false):
    // the port and rate menus would reopen it under the search.
    std::function<void(bool)> onSearching;
    // The network port is POWER's port. The settings file keeps None for it; the network port's
    // own file remembers the choice, and a start that finds None there takes the network port.
    bool NetworkChosen() const { return m_networkChosen; }
    void SetNetworkChosen(bool on) { m_networkChosen = on; }
    // Told when a choice of port changes whether the network port is the one.
    std::function<void(bool)> onNetworkChosen;

    // Opens the port at Settings.CommPort and Settings.CatRate without a message or a change of
    // PortReady; false with the port's description of the error.
    bool TryOpen(std::string& error);
    radio::CommPort& Port() { return m_port; }

private:
    void CheckPortEntry(int index);
    void GiveUpLost();

    bool m_networkChosen = false;

    state::ModKIVO& m_s;
    radio::CommPort& m_port;
    platform::Dialogs& m_dialogs;
};

} // namespace kivo::panel
