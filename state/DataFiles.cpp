#include "state/DataFiles.h"

#include "state/Layout.h"
#include "state/MemoryFile.h"
#include "state/Sanitize.h"

namespace kivo::state {

using platform::Buttons;
using platform::Icon;

PositionCheck ScreenSizeCheck(Long screenWidthTwips, Long screenHeightTwips)
{
    return [=](Long left, Long top) {
        return left >= 0 && top >= 0 && left < screenWidthTwips && top < screenHeightTwips;
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

    auto call = [](const std::function<void(int)>& f, int v) {
        if (f)
            f(v);
    };
    call(menus.commPort, st.CommPort);
    call(menus.catRate, st.CatRate);
    call(menus.scanSpeed, st.ScanSpeed);
    call(menus.meterSpeed, st.MeterSpeed);
    call(menus.priSpeed, st.PRISpeed);
    call(menus.resizeDisplay, st.DisplaySize);
    call(menus.resizeDisplay, st.DisplayStyle);
    call(menus.resizeDisplay, st.ColorDepth);
    call(menus.pauseInterval, st.PauseInterval);
    if (menus.tuneOnStartup)
        menus.tuneOnStartup(st.TuneOnStartup != 0);

    if (readOk && memory)
        memory->OpenLastAtStartup();
}

bool DataFiles::SaveSettingsFile()
{
    // Port numbers after the classic ten are this program's own, remembered in files of their own;
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

} // namespace kivo::state
