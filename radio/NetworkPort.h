#pragma once
// Settings > Serial Port > Network Port...: the radio's serial port served by a small computer
// beside the radio. Asks for its host, port and kind, remembers them in a file of their own, and
// makes it the port POWER opens.

#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/TcpSerialPort.h"
#include "radio/CommPort.h"

#include <string>

namespace kivo::radio {

// The remembered address, in the data folder.
inline constexpr const char* kNetworkPortFileName = "network-port.txt";
// The kinds as the form offers them.
inline constexpr const char* kRawCaption = "Raw TCP";
inline constexpr const char* kRfc2217Caption = "RFC 2217 (Telnet)";
// The file's last line while the network port is POWER's port.
inline constexpr const char* kChosenLine = "chosen";

class NetworkPortMenu {
public:
    NetworkPortMenu(state::ModKIVO& kivo, CommPort& comm, platform::TcpSerialPort& port, platform::Dialogs& dialogs,
                    platform::FileSystem& fs, const std::string& dataDir);

    // Takes the remembered address into the port (before the settings choose the port). A file
    // that cannot be read or holds anything else counts as none; the form says so when next shown.
    void Load();
    // The menu entry: refused while POWER is on, as the numbered ports are; otherwise the form,
    // checked field by field (a refused field is said and the form shown again), saved, and the
    // port chosen and opened. Cancel leaves everything as it was.
    void mnuNetworkPort_Click();

private:
    void Apply(const platform::NetworkAddress& address);
    std::string FileText(const platform::NetworkAddress& address) const;

    state::ModKIVO& m_kivo;
    CommPort& m_comm;
    platform::TcpSerialPort& m_port;
    platform::Dialogs& m_dialogs;
    platform::FileSystem& m_fs;
    std::string m_path;
    bool m_damaged = false;
};

} // namespace kivo::radio
