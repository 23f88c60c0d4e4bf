#include "memmgr/ChannelFile.h"

#include "memmgr/ChannelCsv.h"

#include <algorithm>
#include <cerrno>

namespace kivo::memmgr {

using platform::Buttons;
using platform::Icon;

namespace {
std::string Count(std::size_t n, const std::string& noun)
{
    return std::to_string(n) + " " + noun + (n == 1 ? "" : "s");
}
} // namespace

ChannelFile::ChannelFile(state::ModKIVO& s, platform::FileSystem& fs, platform::Dialogs& dialogs)
    : m_s(s), m_fs(fs), m_dialogs(dialogs)
{
}

std::string ChannelFile::InitialPath() const
{
    if (!m_lastPath.empty())
        return m_lastPath;
    // Beside the memory file in use, under its name.
    std::string path = m_s.Settings.LastMemFile.Text();
    const auto slash = path.find_last_of('/');
    const auto dot = path.find_last_of('.');
    if (path.empty() || dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return path;
    return path.substr(0, dot) + ".csv";
}

void ChannelFile::Import()
{
    if (auto path = m_dialogs.OpenFile(kChannelFilter, InitialPath()))
        ImportFrom(*path);
}

void ChannelFile::Export()
{
    if (auto path = m_dialogs.SaveFile(kChannelFilter, InitialPath()))
        ExportTo(*path);
}

bool ChannelFile::ImportFrom(const std::string& path)
{
    m_lastPath = path;
    auto openError = [&](const std::string& description) {
        m_dialogs.MessageBox("Error encountered while trying to open file " + path + ". " + description + ".",
                             kImportTitle, Icon::Exclamation, Buttons::Ok);
        return false;
    };
    // Reading would create a file that is not there.
    if (!m_fs.Exists(path))
        return openError(platform::IoResult::FromErrno(ENOENT).description);
    std::string bytes;
    if (const auto r = m_fs.ReadOrCreate(path, kMaxChannelFileBytes + 1, bytes); !r)
        return openError(r.description);
    if (bytes.size() > kMaxChannelFileBytes)
        return openError("It is far larger than a list of 1000 channels");

    const ImportResult result = ImportChannels(bytes, m_s.MemData, m_s.BandData);
    if (!result.fatal.empty()) {
        m_dialogs.MessageBox("Nothing was imported from " + path + ": " + result.fatal + ".", kImportTitle,
                             Icon::Exclamation, Buttons::Ok);
        return false;
    }
    for (const auto& c : result.channels)
        m_s.MemData[c.position] = c.rec;
    if (!result.channels.empty()) {
        m_s.MemChanged = true;
        m_s.MemCount =
            int(std::count_if(m_s.MemData.begin(), m_s.MemData.end(), [](const state::MemRec& m) { return m.Used(); }));
    }
    std::string text = "Imported " + Count(result.channels.size(), "channel") + " from " + path + ".";
    if (result.problems.empty()) {
        m_dialogs.MessageBox(text, kImportTitle, Icon::Information, Buttons::Ok);
        return true;
    }
    text += " " + Count(result.problems.size(), "row") + " could not be taken:\n" +
            ProblemList(result.problems, kProblemsShown);
    m_dialogs.MessageBox(text, kImportTitle, Icon::Exclamation, Buttons::Ok);
    return true;
}

bool ChannelFile::ExportTo(const std::string& path)
{
    m_lastPath = path;
    const auto r = m_fs.WriteAtomic(path, ExportChannels(m_s.MemData));
    if (!r)
        m_dialogs.MessageBox("Error encountered while trying to save file " + path + ". " + r.description + ".",
                             kExportTitle, Icon::Exclamation, Buttons::Ok);
    return static_cast<bool>(r);
}

} // namespace kivo::memmgr
