#pragma once
// Sharing the radio with other programs over the network rig-control protocol: the server over
// the panel, switched by Settings > "Share Radio on Network" or --share-radio, the choice kept
// in "share-radio.txt" in the data folder, and a status line with the address, the clients and
// the client that keyed the transmitter.

#include "net/RigServer.h"
#include "panel/FrontPanel.h"
#include "panel/NetworkRig.h"
#include "platform/FileSystem.h"

#include <optional>
#include <string>
#include <string_view>

namespace kivo::panel {

inline constexpr const char* kShareFileName = "share-radio.txt";
// The Settings menu entry `mnuSettingsArray(16)`: "Share Radio on Network".
inline constexpr int kShareRadioEntry = 16;

struct ShareChoice {
    bool on = false;
    std::string host = net::kDefaultHost;
    int port = net::kDefaultPort;
};

// "ADDRESS:PORT", "ADDRESS", ":PORT" or "[IPv6]:PORT"; the missing parts are the defaults.
std::optional<ShareChoice> ParseShareAddress(std::string_view text);
// The file's one line, "on 127.0.0.1:4532" or "off ..."; anything else reads as off.
ShareChoice ParseShareFile(std::string_view text);
std::string ShareFileText(const ShareChoice& c);

class RadioSharing {
public:
    RadioSharing(const PanelContext& ctx, FrontPanel& panel, platform::FileSystem& fs, std::string dataDir);

    // Takes the remembered choice, or `forced` (the command line, remembered too), and serves
    // when it is on.
    void Load(const std::optional<ShareChoice>& forced = std::nullopt);
    // Settings > Share Radio on Network: on or off, remembered.
    void ShareRadio();

    NetworkRig& Rig() { return m_rig; }
    net::RigServer& Server() { return m_server; }
    const ShareChoice& Choice() const { return m_choice; }

private:
    void Apply();
    void Save();
    void ShowStatus();

    platform::DisplayModel& m_display;
    platform::Dialogs& m_dialogs;
    platform::FileSystem& m_fs;
    std::string m_file;
    state::ModKIVO& m_s;
    NetworkRig m_rig;
    net::RigServer m_server;
    ShareChoice m_choice;
};

} // namespace kivo::panel
