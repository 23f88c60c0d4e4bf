#pragma once
// The Memory menu's "Import Channels (CSV)..." and "Export Channels (CSV)...": the memory
// database to and from a channel list file, with the file dialogs and what went wrong said.

#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "state/ModKIVO.h"

#include <cstddef>
#include <string>

namespace kivo::memmgr {

inline constexpr const char* kChannelFilter = "Channel List (*.csv)|*.csv|All Files (*.*)|*.*";
inline constexpr const char* kImportTitle = "Import Channels";
inline constexpr const char* kExportTitle = "Export Channels";
// A list of all 1000 positions is about 100 kB; anything far larger is not one.
inline constexpr std::size_t kMaxChannelFileBytes = 4 * 1024 * 1024;
// Rows not taken that the import's message names one by one.
inline constexpr std::size_t kProblemsShown = 20;

class ChannelFile {
public:
    ChannelFile(state::ModKIVO& s, platform::FileSystem& fs, platform::Dialogs& dialogs);

    // Asks for a file and imports it; a cancelled dialog changes nothing.
    void Import();
    // Asks for a file name and exports to it.
    void Export();

    // Places the rows the file holds by their Location and marks the database changed; says
    // how many were taken and which were not. False when nothing could be read from it.
    bool ImportFrom(const std::string& path);
    // Writes every used position; false (and said) when the file could not be written.
    bool ExportTo(const std::string& path);

private:
    std::string InitialPath() const;

    state::ModKIVO& m_s;
    platform::FileSystem& m_fs;
    platform::Dialogs& m_dialogs;
    std::string m_lastPath; // the channel list used last, offered again
};

} // namespace kivo::memmgr
