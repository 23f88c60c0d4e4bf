#pragma once
// The radio's serial port served by a small computer beside the radio: the name of the file that
// remembers its address, and the kinds of serving a port as the network port's form offers them.

namespace kivo::radio {

// The remembered address, in the data folder.
inline constexpr const char* kNetworkPortFileName = "network-port.txt";
// The kinds as the form offers them.
inline constexpr const char* kRawCaption = "Raw TCP";
inline constexpr const char* kRfc2217Caption = "RFC 2217 (Telnet)";
// The file's last line while the network port is POWER's port.
inline constexpr const char* kChosenLine = "chosen";

} // namespace kivo::radio
