#pragma once
// The port the link talks through: opening the chosen serial device or network port at a CAT rate
// with the radio's line settings, and a port whose device went away. Which port and rate are
// chosen, and what is said about a port that does not open, are the panel's.

#include "platform/ChosenPort.h"
#include "platform/SerialPort.h"

#include <string>

namespace kivo::radio {

constexpr int kPortNone = 10;
// "Network Port...": the radio's port served over the network (this program's own entry).
constexpr int kPortNetwork = platform::kNetworkPortNumber;

class CommPort {
public:
    explicit CommPort(platform::SerialPort& port);

    // Opens (or re-opens) port `number` at CAT rate `rate` (0: 4800, 1: 9600, 2: 38400 bps);
    // false with the port's description of the error.
    bool Open(int number, int rate, std::string& error);

    // The device of the open port went away: closes it, remembering that the port was lost so that
    // it can be tried again once the device is back.
    void PortLost();
    bool WasLost() const { return m_lost; }
    // No port is chosen any more: a lost one is not tried again.
    void ForgetLost() { m_lost = false; }

    // Whether a port number is one the program can open: a number or the network port.
    static bool IsPort(int number) { return (number >= 1 && number < kPortNone) || number == kPortNetwork; }

    std::string CatRateText = "9600 ";
    // "9600,N,8,2" for the current rate.
    std::string LineSettings() const;

private:
    platform::SerialPort& m_port;
    bool m_lost = false;
};

} // namespace kivo::radio
