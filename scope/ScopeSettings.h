#pragma once
// "bandscope.kivo": the band scope's menu choices, a 16-byte record of eight little-endian
// 16-bit Integers in the data folder, with its defaults, its messages and its load order.

#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "state/Records.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>

namespace kivo::scope {

using state::Integer;

inline constexpr const char* kScopeSettingsFileName = "bandscope.kivo";
inline constexpr std::size_t kScopeSettingsSize = 16;

struct ScopeSettings {
    Integer ScopeValid = 1;     // 0 in a missing, empty or zeroed file
    Integer ActiveSearch = 3;   // "S0".."S9"
    Integer ContinuousScan = 1; // 0 "On", 1 "Off"
    Integer DisplayMode = 0;    // always 0, "Pan"
    Integer ScopeScanSpeed = 0; // 1000, 500, 400, 300, 250 ms
    Integer ScaleHandles = 0;   // "None", "Horizontal", "Vertical", "Both"
    Integer WrapWidth = 1;      // 1..4
    Integer ColorFill = 0;      // 0 "On", 1 "Off"
    bool operator==(const ScopeSettings&) const = default;
};

std::string ToBytes(const ScopeSettings& r);
// Bytes past the end of `bytes` read as zeros, as a short file does.
ScopeSettings ScopeSettingsFromBytes(std::string_view bytes);

// The menu handlers the stored indexes are applied through.
struct ScopeMenuHandlers {
    std::function<void(int)> activeSearch;
    std::function<void(int)> continuousScan;
    std::function<void(int)> displayMode;
    std::function<void(int)> scaleHandles;
    std::function<void(int)> wrapWidth;
    std::function<void(int)> colorFill;
    std::function<void(int)> scanSpeed;
};

class ScopeSettingsFile {
public:
    ScopeSettingsFile(platform::FileSystem& fs, platform::Dialogs& dialogs, std::string path);

    // Reads the record into `r`; a missing, empty or zeroed one gets the defaults, the message
    // and a new file. Then applies it through `menus` in the loader's order. A file that cannot
    // be read is said and ends the load there, `r` untouched.
    void Open(ScopeSettings& r, const ScopeMenuHandlers& menus);
    // Writes `r`; a failure is said and leaves the old file whole.
    bool Save(const ScopeSettings& r);
    const std::string& Path() const { return m_path; }

private:
    platform::FileSystem& m_fs;
    platform::Dialogs& m_dialogs;
    std::string m_path;
};

} // namespace kivo::scope
