#pragma once
// Which serial port and speed the link uses, the two Settings menu groups that choose them,
// and (re)opening the port.

#include "platform/ChosenPort.h"
#include "platform/Dialogs.h"
#include "platform/DisplayModel.h"
#include "platform/SerialPort.h"
#include "state/ModKIVO.h"

#include <functional>
#include <string>

namespace kivo::radio {

constexpr int kPortNone = 10;
// "Network Port...": the radio's port served over the network (this program's own entry).
constexpr int kPortNetwork = platform::kNetworkPortNumber;

class CommPort {
public:
    CommPort(state::ModKIVO& kivo, platform::SerialPort& port, platform::Dialogs& dialogs,
             platform::DisplayModel& display);

    // Opens (or re-opens) the port for Settings.CommPort and Settings.CatRate; sets PortReady.
    void OpenCommPort();
    // Settings > Serial Port entry 1..9, 10 for "None", or 11 for the network port.
    void mnuCommPortArray_Click(int index);
    // Settings > CAT Rate entry 0..2.
    void mnuCatRate_Click(int index);

    // The device of the open port went away: close it and clear PortReady, remembering that
    // the port was lost so that POWER can try it again once the device is back.
    void PortLost();
    bool WasLost() const { return m_lost; }
    // Tries the lost port again without a message; true when it is open now.
    bool ReopenLost();

    // Captions of the port menu: "1" .. "9" (with the device behind the number) and "None".
    // `deviceOf` maps a port number to its device path, empty when there is none.
    void RefreshPortCaptions(const std::function<std::string(int)>& deviceOf);
    // The network entry's caption names the address it connects to ("" when none is set).
    void SetNetworkCaption(const std::string& where);
    // The network port is POWER's port. The settings file keeps None for it; the network port's
    // own file remembers the choice, and a start that finds None there takes the network port.
    bool NetworkChosen() const { return m_networkChosen; }
    void SetNetworkChosen(bool on) { m_networkChosen = on; }
    // Told when a choice of port changes whether the network port is the one.
    std::function<void(bool)> onNetworkChosen;
    // Whether the chosen port is one the program can open: a number or the network port.
    static bool IsPort(int number) { return (number >= 1 && number < kPortNone) || number == kPortNetwork; }

    std::string CatRateText = "9600 ";
    // "9600,N,8,2" for the current rate.
    std::string LineSettings() const;

    // Opens the port at Settings.CommPort and Settings.CatRate without a message or a change of
    // PortReady; false with the port's description of the error.
    bool TryOpen(std::string& error);

private:
    void CheckPortEntry(int index);

    bool m_networkChosen = false;

    state::ModKIVO& m_kivo;
    platform::SerialPort& m_port;
    platform::Dialogs& m_dialogs;
    platform::DisplayModel& m_display;
    bool m_lost = false;
};

} // namespace kivo::radio
