#include "state/DataFiles.h"

#include "state/Layout.h"
#include "state/MemoryFile.h"
#include "state/Sanitize.h"

#include <string_view>
#include <utility>

namespace kivo::state {

namespace {
// The radio owed file's lines, one for each thing owed.
constexpr std::string_view kOwedPttOff = "transmit off";
constexpr std::string_view kOwedVfoToggle = "VFO A/B";
constexpr std::string_view kOwedSplitOff = "split off";
} // namespace

using platform::Buttons;
using platform::Icon;

PositionCheck ScreenSizeCheck(Long screenWidth, Long screenHeight)
{
    return [=](Long left, Long top) {
        return left >= 0 && top >= 0 && left < screenWidth * kTwipsPerPixel && top < screenHeight * kTwipsPerPixel;
    };
}

DataFiles::DataFiles(ModKIVO& s, platform::FileSystem& fs, platform::Dialogs& dialogs, std::string dataDir)
    : m_s(s), m_fs(fs), m_dialogs(dialogs), m_dir(std::move(dataDir))
{
    while (!m_dir.empty() && m_dir.back() == ' ')
        m_dir.pop_back();
}

std::string DataFiles::PathOf(const char* fileName) const { return m_dir + "/" + fileName; }

void DataFiles::SaveError(const char* upperName, const char* title, const platform::IoResult& r)
{
    m_dialogs.MessageBox(std::string("Error encountered while trying to save file ") + upperName + "." + r.description +
                             ".",
                         title, Icon::Exclamation, Buttons::OkCancel);
}

void DataFiles::OpenError(const char* upperName, const char* title, const platform::IoResult& r)
{
    m_dialogs.MessageBox(std::string("Error encountered while trying to open file ") + upperName + ". " +
                             r.description + ".",
                         title, Icon::Exclamation, Buttons::Ok);
}

void DataFiles::OpenSettingsFile(const SettingsMenuHandlers& menus, const PositionCheck& onScreen, MemoryFile* memory)
{
    std::string bytes;
    const auto r = m_fs.ReadOrCreate(PathOf(kSettingsFileName), kSettingsRecSize, bytes);
    bool readOk = static_cast<bool>(r);
    if (!readOk) {
        // Keep the user's file as it is (the error may pass); run on the defaults.
        OpenError("FT817.KIVO", "Open Settings File", r);
        m_s.Settings = DefaultSettings();
    } else {
        m_s.Settings = SettingsFromBytes(bytes);
        if (m_s.Settings.CommPort == 0) {
            m_s.Settings = DefaultSettings();
            m_dialogs.MessageBox(
                "The settings file does NOT exist in the program directory, or it is corrupted. A default settings "
                "file will be created. Check the new settings in the Settings Menu before you continue.",
                "Open Settings File", Icon::Exclamation, Buttons::Ok);
            m_s.Settings.LastMemFile.Assign("");
            SaveSettingsFile();
        }
        Sanitize(m_s.Settings);
    }

    auto& st = m_s.Settings;
    if (onScreen && !onScreen(st.FormLeft, st.FormTop)) {
        st.FormLeft = 0;
        st.FormTop = 0;
    }

    ApplyStored(menus.commPort, st.CommPort);
    ApplyStored(menus.catRate, st.CatRate);
    ApplyStored(menus.scanSpeed, st.ScanSpeed);
    ApplyStored(menus.meterSpeed, st.MeterSpeed);
    ApplyStored(menus.priSpeed, st.PRISpeed);
    ApplyStored(menus.resizeDisplay, st.DisplaySize);
    ApplyStored(menus.resizeDisplay, st.DisplayStyle);
    ApplyStored(menus.resizeDisplay, st.ColorDepth);
    ApplyStored(menus.pauseInterval, st.PauseInterval);
    if (menus.tuneOnStartup)
        menus.tuneOnStartup(st.TuneOnStartup != 0);

    if (readOk && memory)
        memory->OpenLastAtStartup();
}

bool DataFiles::SaveSettingsFile()
{
    // Port numbers after the file's ten (1 to 9 and None) are remembered in files of their own;
    // the settings file, which other programs read too, keeps None (10) for them.
    SettingsRec onDisk = m_s.Settings;
    if (onDisk.CommPort > kLastFilePort)
        onDisk.CommPort = kLastFilePort;
    const auto r = m_fs.WriteAtomic(PathOf(kSettingsFileName), ToBytes(onDisk));
    if (!r)
        SaveError("FT817.KIVO", "Save FT-817 Settings File", r);
    return static_cast<bool>(r);
}

bool DataFiles::KeepDamaged(const char* fileName, std::string& note)
{
    // Moved aside whole, however long it is; an earlier damaged copy is not overwritten.
    const std::string path = PathOf(fileName);
    std::string copy = path + kDamagedSuffix;
    for (int n = 2; n <= 9 && m_fs.Exists(copy); ++n)
        copy = path + kDamagedSuffix + "." + std::to_string(n);
    if (const auto r = m_fs.Rename(path, copy); !r) {
        note = "The damaged file could not be kept as " + copy + " (" + r.description + ").";
        return false;
    }
    note = "The damaged file was kept as " + copy + ".";
    return true;
}

void DataFiles::OpenBandDataFile()
{
    std::string bytes;
    // One byte more than the record tells a file that is too long from one that fits.
    const auto r = m_fs.ReadOrCreate(PathOf(kBandDataFileName), kBandDataRecSize + 1, bytes);
    if (!r) {
        OpenError("BANDINFO.KIVO", "Open Band Info File", r);
        return;
    }
    m_s.BandData = BandDataFromBytes(bytes.substr(0, kBandDataRecSize));
    if (m_s.BandData.BandMHz[2] == 50) {
        Sanitize(m_s.BandData);
        return;
    }
    m_s.BandData = DefaultBandData();
    std::string text = "The band information file does NOT exist in the program directory, or it is corrupted. A "
                       "default file will be created. The band information changes you make during this session "
                       "will be saved upon normal termination.";
    // A file with something in it is the user's; defaults must not replace it without a copy.
    bool kept = true;
    if (!bytes.empty()) {
        std::string note;
        kept = KeepDamaged(kBandDataFileName, note);
        text += " " + note;
    }
    m_dialogs.MessageBox(text, "Open Band Info File", Icon::Exclamation, Buttons::Ok);
    if (kept)
        SaveBandDataFile();
}

bool DataFiles::SaveBandDataFile()
{
    const auto r = m_fs.WriteAtomic(PathOf(kBandDataFileName), ToBytes(m_s.BandData));
    if (!r)
        SaveError("BANDINFO.KIVO", "Save Band Info File", r);
    return static_cast<bool>(r);
}

void DataFiles::OpenHomeFile()
{
    std::string bytes;
    const auto r = m_fs.ReadOrCreate(PathOf(kHomeFileName), kHomeFileSize + 1, bytes);
    if (!r) {
        OpenError("HOMEMEM.KIVO", "Open HOME Memory File", r);
        return;
    }
    // Whole records are the file's normal shape, however many; a cut record, extra bytes or
    // values no HOME memory can hold mean damage. What can be read is used, and the file is
    // moved aside as it was, since the next save writes the HOME memories in its place.
    bool damaged = bytes.size() % kMemRecSize != 0 || bytes.size() > kHomeFileSize;
    bytes.resize(std::min(bytes.size(), kHomeFileSize));
    for (std::size_t b = 0; b < kBandCount; ++b) {
        m_s.HomeMem[b] = MemRecAt(bytes, b);
        const MemRec read = m_s.HomeMem[b];
        Sanitize(m_s.HomeMem[b]);
        damaged = damaged || !(m_s.HomeMem[b] == read);
    }
    if (damaged) {
        std::string note;
        KeepDamaged(kHomeFileName, note);
        m_dialogs.MessageBox("The HOME memory file " + PathOf(kHomeFileName) +
                                 " is damaged. The HOME memories that could be read are used. " + note,
                             "Open HOME Memory File", Icon::Exclamation, Buttons::Ok);
    }
}

bool DataFiles::SaveHomeFile()
{
    std::string bytes;
    bytes.reserve(kHomeFileSize);
    for (const auto& m : m_s.HomeMem)
        bytes += ToBytes(m);
    const auto r = m_fs.WriteAtomic(PathOf(kHomeFileName), bytes);
    if (!r)
        SaveError("HOMEMEM.KIVO", "Save HOME Memory File", r);
    return static_cast<bool>(r);
}

RadioOwed DataFiles::OpenRadioOwedFile()
{
    RadioOwed owed;
    const std::string path = PathOf(kRadioOwedFileName);
    if (!m_fs.Exists(path))
        return owed;
    std::string text;
    if (const auto r = m_fs.ReadOrCreate(path, 4096, text); !r) {
        OpenError("RADIOOWED.KIVO", "Open Radio Owed File", r);
        return owed;
    }
    bool unknown = false;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        std::string_view line = std::string_view(text).substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line == kOwedPttOff)
            owed.pttOff = true;
        else if (line == kOwedVfoToggle)
            owed.vfoToggle = true;
        else if (line == kOwedSplitOff)
            owed.splitOff = true;
        else if (!line.empty())
            unknown = true;
    }
    if (unknown)
        m_dialogs.MessageBox("The file " + path +
                                 " holds lines this program does not know; they are left out. What the radio is "
                                 "still owed since its port was lost may not all be sent at POWER.",
                             "Open Radio Owed File", Icon::Exclamation, Buttons::Ok);
    return owed;
}

bool DataFiles::SaveRadioOwedFile(const RadioOwed& owed)
{
    const std::string path = PathOf(kRadioOwedFileName);
    std::string text;
    for (const auto& [is, line] : {std::pair{owed.pttOff, kOwedPttOff}, std::pair{owed.vfoToggle, kOwedVfoToggle},
                                   std::pair{owed.splitOff, kOwedSplitOff}})
        if (is)
            text += std::string(line) + "\n";
    // A file left behind with nothing owed would have the next start toggle the radio's VFO for
    // nothing: emptied when it cannot be removed.
    platform::IoResult r = owed.Any() ? m_fs.WriteAtomic(path, text) : m_fs.Remove(path);
    if (!r && !owed.Any())
        r = m_fs.WriteAtomic(path, "");
    if (r)
        return true;
    std::string todo;
    if (owed.pttOff)
        todo += " Release its transmitter.";
    if (owed.vfoToggle)
        todo += " Press its A/B key once.";
    if (owed.splitOff)
        todo += " Switch its split off.";
    if (owed.Any()) {
        // The user does it all by hand now: an older file left behind would have the next start
        // send part of it a second time (a VFO toggle twice is the wrong VFO again).
        const bool gone = static_cast<bool>(m_fs.Remove(path)) || !m_fs.Exists(path);
        if (!gone)
            todo += " Then remove " + path + ": the next start would send the radio what it holds.";
        m_dialogs.MessageBox("What the radio is still owed since its port was lost could not be remembered in " + path +
                                 " (" + r.description +
                                 "), so the next start cannot send it. On the radio itself:" + todo,
                             "Save Radio Owed File", Icon::Exclamation, Buttons::Ok);
    } else
        m_dialogs.MessageBox("The file " + path + " could not be removed (" + r.description +
                                 "). Please remove it: the next start would send the radio what it holds.",
                             "Save Radio Owed File", Icon::Exclamation, Buttons::Ok);
    return false;
}

} // namespace kivo::state
