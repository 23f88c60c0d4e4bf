#include "scope/ScopeSettings.h"

#include "state/DataFiles.h"

namespace kivo::scope {

using platform::Buttons;
using platform::Icon;

namespace {

constexpr std::size_t kFields = kScopeSettingsSize / 2;

std::array<Integer*, kFields> Fields(ScopeSettings& r)
{
    return {&r.ScopeValid,     &r.ActiveSearch, &r.ContinuousScan, &r.DisplayMode,
            &r.ScopeScanSpeed, &r.ScaleHandles, &r.WrapWidth,      &r.ColorFill};
}

} // namespace

std::string ToBytes(const ScopeSettings& r)
{
    ScopeSettings copy = r;
    std::string out;
    for (const Integer* f : Fields(copy)) {
        const auto v = std::uint16_t(*f);
        out += char(v & 0xFF);
        out += char(v >> 8);
    }
    return out;
}

ScopeSettings ScopeSettingsFromBytes(std::string_view bytes)
{
    ScopeSettings r;
    std::size_t at = 0;
    for (Integer* f : Fields(r)) {
        const auto byte = [&](std::size_t i) { return i < bytes.size() ? std::uint8_t(bytes[i]) : std::uint8_t(0); };
        *f = Integer(std::uint16_t(byte(at) | byte(at + 1) << 8));
        at += 2;
    }
    return r;
}

ScopeSettingsFile::ScopeSettingsFile(platform::FileSystem& fs, platform::Dialogs& dialogs, std::string path)
    : m_fs(fs), m_dialogs(dialogs), m_path(std::move(path))
{
}

void ScopeSettingsFile::Open(ScopeSettings& r, const ScopeMenuHandlers& menus)
{
    std::string bytes;
    if (const auto io = m_fs.ReadOrCreate(m_path, kScopeSettingsSize, bytes); !io) {
        m_dialogs.MessageBox("Error encountered while trying to open file BANDSCOPE.KIVO. " + io.description + ".",
                             "Open Band Scope Settings File", Icon::Exclamation, Buttons::Ok);
        return;
    }
    r = ScopeSettingsFromBytes(bytes);
    if (r.ScopeValid == 0) {
        r = ScopeSettings{};
        m_dialogs.MessageBox("The band scope settings file does NOT exist in the program directory, or it is "
                             "corrupted. A default settings file will be created.",
                             "Open Scope Settings File", Icon::Exclamation, Buttons::Ok);
        Save(r);
    }
    // Copies: each handler stores its index back into the record.
    const ScopeSettings stored = r;
    using state::ApplyStored;
    ApplyStored(menus.activeSearch, stored.ActiveSearch);
    ApplyStored(menus.continuousScan, stored.ContinuousScan);
    ApplyStored(menus.displayMode, stored.DisplayMode);
    ApplyStored(menus.scaleHandles, stored.ScaleHandles);
    ApplyStored(menus.wrapWidth, stored.WrapWidth);
    ApplyStored(menus.colorFill, stored.ColorFill);
    ApplyStored(menus.scanSpeed, stored.ScopeScanSpeed);
}

bool ScopeSettingsFile::Save(const ScopeSettings& r)
{
    const auto io = m_fs.WriteAtomic(m_path, ToBytes(r));
    if (!io)
        m_dialogs.MessageBox("Error encountered while trying to save file BANDSCOPE.KIVO." + io.description + ".",
                             "Save Band Scope Settings File", Icon::Exclamation, Buttons::Ok);
    return static_cast<bool>(io);
}

} // namespace kivo::scope
