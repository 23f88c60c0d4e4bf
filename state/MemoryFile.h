#pragma once
// The memory database file and the File menu commands over it.

#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "state/ModKIVO.h"

#include <functional>
#include <string>

namespace kivo::state {

inline constexpr const char* kMemFileFilter = "Memory Data (*.MEM)|*.mem|All Files (*.*)|*.*";
inline constexpr const char* kProgramTitle = "KIVO FT-817";

// What the commands need of the front panel; unset hooks are skipped.
struct MemoryFileHooks {
    std::function<void()> changeToVFOfunction;
    std::function<void()> turnOffLMeter;
    std::function<void()> turnOnLMeter;
    std::function<void(int)> changeMemory;
    std::function<void(const std::string&)> setTitle;
};

class MemoryFile {
public:
    MemoryFile(ModKIVO& s, platform::FileSystem& fs, platform::Dialogs& dialogs);

    MemoryFileHooks hooks;

    // Loads path into MemData (creating an absent file) and makes it the current memory file.
    bool OpenMemoryFile(const std::string& path);
    // Writes all 1000 positions into the current memory file; leaves MemChanged alone.
    bool SaveMemoryFile();
    // The Save command: asks for a name when no file is open. True when the data is on disk.
    bool SaveCommand();

    void New();
    void Open();
    void SaveAs();
    // File menu entries 0 New, 1 Open..., 3 Save, 4 Save As...; others are not handled here.
    void FileMenu(int index);
    // First step of shutdown. True when shutdown may go on; false on Cancel or when the save failed.
    bool ExitQuestion();
    // Reopens the settings' LastMemFile at start-up, then offers back the changes a recovery
    // file holds.
    void OpenLastAtStartup();

    // Unsaved changes kept when the program had to end without asking: beside the memory file
    // ("club.mem.recovery"), or in the data folder for a database that has no file yet.
    void SetRecoveryFolder(std::string dir) { m_recoveryFolder = std::move(dir); }
    std::string RecoveryPath() const;
    // Writes all 1000 positions to the recovery file; the memory file is not touched.
    bool WriteRecovery();

    bool IsOpen() const { return !m_path.empty(); }
    const std::string& CurrentPath() const { return m_path; }
    const std::string& DisplayName() const { return m_displayName; }
    const std::string& Title() const { return m_title; }

private:
    bool AskSaveBefore(const std::string& text, const std::string& title);
    void SetTitleName(const std::string& name);
    // Sets LastMemFile; a path the settings cannot hold is stored empty, and the user told once.
    void RememberPath(const std::string& path);
    void EmptyDatabase();
    void OfferRecovery();
    std::string DatabaseBytes() const;

    ModKIVO& m_s;
    platform::FileSystem& m_fs;
    platform::Dialogs& m_dialogs;
    std::string m_path; // full path of the current memory file; empty when none is open
    std::string m_displayName;
    std::string m_title = kProgramTitle;
    std::string m_warnedPath;
    std::string m_recoveryFolder = ".";
    std::string m_restoredRecovery; // a recovery file taken back, removed once the data is saved
};

inline constexpr const char* kRecoverySuffix = ".recovery";
inline constexpr const char* kUntitledRecovery = "untitled.mem.recovery";

// Lower case of ASCII and Latin-1 capitals, for display names.
std::string LowerCase(const std::string& utf8);

} // namespace kivo::state
