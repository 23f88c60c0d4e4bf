#include "state/MemoryFile.h"

#include "platform/Text1252.h"
#include "state/Layout.h"
#include "state/Sanitize.h"

namespace kivo::state {

using platform::Answer;
using platform::Buttons;
using platform::Icon;

namespace {
std::string Trim(const std::string& s)
{
    const auto b = s.find_first_not_of(' ');
    if (b == std::string::npos)
        return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}
} // namespace

std::string LowerCase(const std::string& utf8)
{
    std::string out = utf8;
    for (std::size_t i = 0; i < out.size(); ++i) {
        auto c = static_cast<unsigned char>(out[i]);
        if (c >= 'A' && c <= 'Z') {
            out[i] = static_cast<char>(c + 32);
        } else if (c == 0xC3 && i + 1 < out.size()) {
            auto d = static_cast<unsigned char>(out[i + 1]);
            if (d >= 0x80 && d <= 0x9E && d != 0x97)
                out[i + 1] = static_cast<char>(d + 0x20);
            ++i;
        }
    }
    return out;
}

MemoryFile::MemoryFile(ModKIVO& s, platform::FileSystem& fs, platform::Dialogs& dialogs)
    : m_s(s), m_fs(fs), m_dialogs(dialogs)
{
}

void MemoryFile::SetTitleName(const std::string& name)
{
    m_displayName = name;
    m_title = std::string(kProgramTitle) + " (" + name + ")";
    if (hooks.setTitle)
        hooks.setTitle(m_title);
}

void MemoryFile::RememberPath(const std::string& path)
{
    if (m_s.Settings.LastMemFile.Assign(path))
        return;
    m_s.Settings.LastMemFile.Assign("");
    if (m_warnedPath == path)
        return;
    m_warnedPath = path;
    m_dialogs.MessageBox("The memory file " + path +
                             " is in use, but it will not be reopened at the next start: its path is longer than "
                             "256 characters or holds characters the settings file cannot store.",
                         "Memory File Path", Icon::Exclamation, Buttons::Ok);
}

void MemoryFile::EmptyDatabase()
{
    m_s.EmptyMemData();
    m_s.MemCount = 0;
}

bool MemoryFile::OpenMemoryFile(const std::string& path)
{
    m_path.clear();
    m_s.MemCount = 0;
    std::string bytes;
    const auto r = m_fs.ReadOrCreate(path, kMemFileSize, bytes);
    // Whole records read before an error stay loaded; a partial record is not taken.
    const std::size_t records = r ? kMemCount : bytes.size() / kMemRecSize;
    bool oldFormat = false;
    for (std::size_t p = 0; p < records; ++p) {
        MemRec m = MemRecAt(bytes, p);
        if (m.VFO1.Freq > 0)
            ++m_s.MemCount;
        if (m.VFO1.Mode > 7)
            oldFormat = true;
        m_s.MemData[p] = m;
    }
    if (!r) {
        for (std::size_t p = 0; p < records; ++p)
            Sanitize(m_s.MemData[p]);
        m_dialogs.MessageBox("Error encountered while trying to open file " + Trim(path) + ". " + r.description + ".",
                             "Open Memory File", Icon::Exclamation, Buttons::Ok);
        return false;
    }
    if (oldFormat) {
        for (auto& m : m_s.MemData) {
            Integer& mode = m.VFO1.Mode;
            if (mode == 4 || mode == 5)
                mode = 3;
            else if (mode == 6 || mode == 7)
                mode = 4;
            else if (mode == 8 || mode == 9)
                mode = 5;
        }
        m_s.MemChanged = true;
        m_dialogs.MessageBox(
            "The format of the KIVO FT-817 Memory Database has been recently updated. The Memory Database that you "
            "just "
            "opened will be automatically updated to reflect these changes. To complete the update process please save "
            "the new Memory Database before you exit KIVO.",
            "Memory Database Update", Icon::Exclamation, Buttons::Ok);
    }
    for (auto& m : m_s.MemData)
        Sanitize(m);
    m_path = path;
    return true;
}

std::string MemoryFile::DatabaseBytes() const
{
    std::string bytes;
    bytes.reserve(kMemFileSize);
    for (const auto& m : m_s.MemData)
        bytes += ToBytes(m);
    return bytes;
}

bool MemoryFile::SaveMemoryFile()
{
    const auto r = m_fs.WriteAtomic(m_path, DatabaseBytes());
    if (!r) {
        m_dialogs.MessageBox("Error encountered while trying to save file " + Trim(m_path), "Save Memory File",
                             Icon::Exclamation, Buttons::OkCancel);
        return false;
    }
    // The changes a recovery file held are in the memory file now.
    m_fs.Remove(m_path + kRecoverySuffix);
    if (!m_restoredRecovery.empty())
        m_fs.Remove(m_restoredRecovery);
    m_restoredRecovery.clear();
    return true;
}

std::string MemoryFile::RecoveryPath() const
{
    return IsOpen() ? m_path + kRecoverySuffix : m_recoveryFolder + "/" + kUntitledRecovery;
}

bool MemoryFile::WriteRecovery() { return static_cast<bool>(m_fs.WriteAtomic(RecoveryPath(), DatabaseBytes())); }

void MemoryFile::OfferRecovery()
{
    const std::string path = RecoveryPath();
    if (!m_fs.Exists(path))
        return;
    const std::string what = IsOpen() ? "the memory file " + Trim(m_path) : "a memory database not yet saved to a file";
    const Answer a =
        m_dialogs.MessageBox("The program was ended while changes to " + what + " were not saved. They were kept in " +
                                 path + ". Restore them now? They come back unsaved, for you to check and save.",
                             "Restore Memory Changes", Icon::Question, Buttons::YesNo);
    if (a != Answer::Yes) {
        m_fs.Remove(path);
        return;
    }
    std::string bytes;
    if (const auto r = m_fs.ReadOrCreate(path, kMemFileSize, bytes); !r) {
        m_dialogs.MessageBox("Error encountered while trying to open file " + path + ". " + r.description + ".",
                             "Restore Memory Changes", Icon::Exclamation, Buttons::Ok);
        return; // kept for another try
    }
    m_s.MemCount = 0;
    for (std::size_t p = 0; p < kMemCount; ++p) {
        m_s.MemData[p] = MemRecAt(bytes, p);
        Sanitize(m_s.MemData[p]);
        if (m_s.MemData[p].VFO1.Freq > 0)
            ++m_s.MemCount;
    }
    m_s.MemChanged = true;
    m_restoredRecovery = path;
}

bool MemoryFile::SaveCommand()
{
    if (!IsOpen()) {
        auto chosen = m_dialogs.SaveFile(kMemFileFilter, m_s.Settings.LastMemFile.Text());
        if (!chosen)
            return false;
        m_path = *chosen;
        if (!SaveMemoryFile()) {
            // Nothing was written: stay without a file so the next Save asks again.
            m_path.clear();
            return false;
        }
        RememberPath(*chosen);
        SetTitleName(LowerCase(Trim(platform::FileNamePart(*chosen))));
        m_s.MemChanged = false;
        return true;
    }
    if (!SaveMemoryFile())
        return false; // MemChanged stays set: the edits are still only in memory
    m_s.MemChanged = false;
    return true;
}

bool MemoryFile::AskSaveBefore(const std::string& text, const std::string& title)
{
    if (!m_s.MemChanged)
        return true;
    const Answer a = m_dialogs.MessageBox(text, title, Icon::Question, Buttons::YesNoCancel);
    if (a == Answer::Cancel)
        return false;
    if (a == Answer::Yes)
        return SaveCommand();
    return true;
}

void MemoryFile::New()
{
    if (!AskSaveBefore("Save current memory file " + m_displayName + " before creating a new file?", "New File"))
        return;
    m_path.clear();
    EmptyDatabase();
    m_s.CurMemPos = 0;
    m_s.MemChanged = false;
    m_s.Settings.LastMemFile.Assign("");
    SetTitleName("untitled");
    if (m_s.VFOMRMode == kModeMR && hooks.changeToVFOfunction)
        hooks.changeToVFOfunction();
}

void MemoryFile::Open()
{
    if (!AskSaveBefore("Save current memory file " + m_displayName + " before opening a new file?", "Open File"))
        return;
    auto chosen = m_dialogs.OpenFile(kMemFileFilter, m_s.Settings.LastMemFile.Text());
    if (!chosen)
        return;
    RememberPath(*chosen);
    SetTitleName(LowerCase(Trim(platform::FileNamePart(*chosen))));
    m_path.clear();
    EmptyDatabase();
    OpenMemoryFile(*chosen);
    m_s.MemChanged = false;
    if (m_s.VFOMRMode == kModeMR) {
        if (m_s.MemCount == 0) {
            if (hooks.changeToVFOfunction)
                hooks.changeToVFOfunction();
        } else {
            if (hooks.turnOffLMeter)
                hooks.turnOffLMeter();
            m_s.CurMemPos -= 1;
            if (hooks.changeMemory)
                hooks.changeMemory(1);
            if (hooks.turnOnLMeter)
                hooks.turnOnLMeter();
        }
    }
}

void MemoryFile::SaveAs()
{
    auto chosen = m_dialogs.SaveFile(kMemFileFilter, m_s.Settings.LastMemFile.Text());
    if (!chosen)
        return;
    const std::string previous = m_path;
    m_path = *chosen;
    if (!SaveMemoryFile()) {
        // The old file stays the current one; nothing is marked saved.
        m_path = previous;
        return;
    }
    RememberPath(*chosen);
    SetTitleName(LowerCase(Trim(platform::FileNamePart(*chosen))));
    m_s.MemChanged = false;
}

void MemoryFile::FileMenu(int index)
{
    switch (index) {
    case 0: New(); break;
    case 1: Open(); break;
    case 3: SaveCommand(); break;
    case 4: SaveAs(); break;
    default: break;
    }
}

bool MemoryFile::ExitQuestion()
{
    if (!m_s.MemChanged)
        return true;
    const Answer a =
        m_dialogs.MessageBox("You have made changes to memory. Would you like to save these changes before you exit?",
                             "Save File", Icon::Question, Buttons::YesNoCancel);
    if (a == Answer::Cancel)
        return false;
    if (a == Answer::Yes)
        return SaveCommand();
    return true;
}

void MemoryFile::OpenLastAtStartup()
{
    const std::string path = Trim(m_s.Settings.LastMemFile.Text());
    if (path.empty()) {
        OfferRecovery();
        return;
    }
    // Moved, deleted, or on a drive not mounted now: creating it empty here could later be
    // copied over the real one, so nothing is created. LastMemFile stays, for when it is back.
    if (!m_fs.Exists(path)) {
        m_dialogs.MessageBox("The memory file " + path +
                                 " was not found. It may have been moved, renamed or deleted, or be on a drive that "
                                 "is not connected. No memory file is open; use File > Open... to choose one.",
                             "Open Memory File", Icon::Exclamation, Buttons::Ok);
        return;
    }
    if (OpenMemoryFile(path)) {
        SetTitleName(LowerCase(Trim(platform::FileNamePart(path))));
        OfferRecovery();
    } else {
        SetTitleName("");
    }
}

} // namespace kivo::state
