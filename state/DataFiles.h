#pragma once
// The settings, band data and HOME memory files in the program's data folder.

#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "state/ModKIVO.h"

#include <functional>
#include <string>

namespace kivo::state {

class MemoryFile;

inline constexpr const char* kSettingsFileName = "ft817.kivo";
inline constexpr const char* kBandDataFileName = "bandinfo.kivo";
inline constexpr const char* kHomeFileName = "homemem.kivo";
// What the radio is still owed from a port lost under it, kept until it goes out.
inline constexpr const char* kRadioOwedFileName = "radioowed.kivo";
// Appended to the name of a damaged data file that is kept before defaults replace it.
inline constexpr const char* kDamagedSuffix = ".damaged";

// A stored choice put into effect through its menu's handler, when there is one.
inline void ApplyStored(const std::function<void(int)>& handler, int value)
{
    if (handler)
        handler(value);
}

// The menu handlers that put each stored setting into effect, called in the loader's order.
struct SettingsMenuHandlers {
    std::function<void(int)> commPort;
    std::function<void(int)> catRate;
    std::function<void(int)> scanSpeed;
    std::function<void(int)> meterSpeed;
    std::function<void(int)> priSpeed;
    std::function<void(int)> resizeDisplay; // called with DisplaySize, DisplayStyle, ColorDepth
    std::function<void(int)> pauseInterval;
    std::function<void(bool)> tuneOnStartup;
};

// What a lost port kept from the radio. The program may end before it can go out (no port to
// send it on), and the next start must still send it, or it would take the radio for receiving
// on its main VFO without split.
struct RadioOwed {
    bool pttOff = false;    // the radio may still be transmitting
    bool vfoToggle = false; // the radio is on the VFO the panel does not work
    bool splitOff = false;  // split is on on the radio
    bool Any() const { return pttOff || vfoToggle || splitOff; }
    bool operator==(const RadioOwed&) const = default;
};

// True when a stored window position (twips) lies on a screen that exists now.
using PositionCheck = std::function<bool(Long left, Long top)>;
// The single-screen rule: both coordinates non-negative and inside the screen (logical pixels).
PositionCheck ScreenSizeCheck(Long screenWidth, Long screenHeight);

class DataFiles {
public:
    DataFiles(ModKIVO& s, platform::FileSystem& fs, platform::Dialogs& dialogs, std::string dataDir);

    std::string PathOf(const char* fileName) const;

    // Reads, repairs, checks the window position, applies the menus, then reopens the last memory file.
    void OpenSettingsFile(const SettingsMenuHandlers& menus, const PositionCheck& onScreen, MemoryFile* memory);
    bool SaveSettingsFile();
    void OpenBandDataFile();
    bool SaveBandDataFile();
    void OpenHomeFile();
    bool SaveHomeFile();
    // Nothing owed when there is no file; a line not understood is reported and left out.
    RadioOwed OpenRadioOwedFile();
    // Writes what is owed, or removes the file when nothing is; a failure is reported.
    bool SaveRadioOwedFile(const RadioOwed& owed);

private:
    void OpenError(const char* upperName, const char* title, const platform::IoResult& r);
    void SaveError(const char* upperName, const char* title, const platform::IoResult& r);
    // Moves a damaged file aside (".damaged"); `note` gets the sentence that tells the user
    // where, or why it could not be kept.
    bool KeepDamaged(const char* fileName, std::string& note);
    ModKIVO& m_s;
    platform::FileSystem& m_fs;
    platform::Dialogs& m_dialogs;
    std::string m_dir;
};

} // namespace kivo::state
