#include "panel/MainMenu.h"

#include "platform/DisplayModel.h"
#include "radio/CatRateDetect.h"

namespace kivo::panel {

namespace {

using G = MenuGroup;
using K = MenuKind;
using F = SettingField;

std::vector<MenuEntry> BuildTree()
{
    std::vector<MenuEntry> t = {
        {0, G::Bar, 0, "File", K::Menu},
        {1, G::File, 0, "New", K::Command},
        {1, G::File, 1, "Open...", K::Command},
        {1, G::File, 2, "-", K::Separator},
        {1, G::File, 3, "Save", K::Command},
        {1, G::File, 4, "Save As...", K::Command},
        {1, G::File, 5, "-", K::Separator},
        {1, G::File, 6, "Lock Menus...", K::Command},
        {1, G::File, 7, "Unlock Menus...", K::Command},
        {1, G::File, 8, "-", K::Separator},
        {1, G::File, 9, "Exit", K::Command},
        {0, G::Bar, 1, "Settings", K::Menu},
        {1, G::Settings, 0, "Serial Port", K::Menu},
    };
    const char* const ports[] = {"1", "2", "3", "4", "5", "6", "7", "8", "9"};
    for (int i = 1; i <= 9; ++i)
        t.push_back({2, G::CommPort, i, ports[i - 1], K::Radio, F::CommPort});
    // This program's own: the radio's port on another computer, after the numbered ones.
    t.push_back({2, G::CommPort, radio::kPortNetwork, "Network Port...", K::Radio, F::CommPort, true});
    t.push_back({2, G::CommPort, 10, "None", K::Radio, F::CommPort});
    t.push_back({1, G::Settings, 1, "CAT Rate", K::Menu});
    const char* const rates[] = {"4800 bps", "9600 bps", "38400 bps"};
    for (int i = 0; i < 3; ++i)
        t.push_back({2, G::CatRate, i, rates[i], K::Radio, F::CatRate});
    // This program's own: finding the rate the radio is set to, next to the rates it chooses from.
    t.push_back({1, G::Settings, radio::kDetectCatRateEntry, "Detect CAT Rate...", K::Command, F::None, true});
    t.push_back({1, G::Settings, 2, "Update Intervals", K::Menu});
    t.push_back({2, G::Intervals, 0, "Scanning", K::Menu});
    const char* const scan[] = {"1000 ms.", "500 ms.", "400 ms.", "300 ms.", "250 ms.", "200 ms.", "OFF"};
    for (int i = 0; i < 7; ++i)
        t.push_back({3, G::ScanSpeed, i, scan[i], K::Radio, F::ScanSpeed});
    t.push_back({2, G::Intervals, 1, "Meter", K::Menu});
    const char* const meter[] = {"1000 ms.", "500 ms.", "400 ms.", "300 ms.", "200 ms.", "100 ms.", "OFF"};
    for (int i = 0; i < 7; ++i)
        t.push_back({3, G::MeterSpeed, i, meter[i], K::Radio, F::MeterSpeed});
    t.push_back({2, G::Intervals, 2, "PRI Monitor", K::Menu});
    const char* const pri[] = {"15 sec.", "10 sec.", "5 sec.", "OFF"};
    for (int i = 0; i < 4; ++i)
        t.push_back({3, G::PRIspeed, i, pri[i], K::Radio, F::PRISpeed});
    t.push_back({2, G::Intervals, 4, "Pause", K::Menu});
    const char* const pause[] = {"30 sec.", "15 sec.", "5 sec.", "3 sec.", "OFF"};
    for (int i = 0; i < 5; ++i)
        t.push_back({3, G::PauseInterval, i, pause[i], K::Radio, F::PauseInterval});
    const MenuEntry rest[] = {
        {1, G::Settings, 3, "Display", K::Menu},
        {2, G::Display, 0, "Small", K::Radio, F::DisplaySize},
        {2, G::Display, 1, "Medium", K::Radio, F::DisplaySize},
        {2, G::Display, 2, "Large", K::Radio, F::DisplaySize},
        {2, G::Display, 3, "-", K::Separator},
        {2, G::Display, 4, "LCD", K::Radio, F::DisplayStyle},
        {2, G::Display, 5, "Radio", K::Radio, F::DisplayStyle},
        {2, G::Display, 6, "-", K::Separator},
        {2, G::Display, 7, "16 Bit Colors", K::Radio, F::ColorDepth},
        {2, G::Display, 8, "8 Bit Colors", K::Radio, F::ColorDepth},
        {1, G::Settings, 4, "-", K::Separator},
        {1, G::Settings, 8, "Tuning Steps...", K::Command},
        {1, G::Settings, 9, "Repeater Shifts...", K::Command},
        {1, G::Settings, 10, "-", K::Separator},
        {1, G::Settings, 11, "CTCSS Tones...", K::Command},
        {1, G::Settings, 12, "DCS Codes...", K::Command},
        {1, G::Settings, 13, "-", K::Separator},
        {1, G::Settings, 14, "Tune to Radio on Start-up", K::Check, F::TuneOnStartup},
        // This program's own entries: indexes after the classic ones, placed where they belong.
        {1, G::Settings, kFollowDialEntry, "Follow Radio Dial", K::Check, F::None, true},
        {1, G::Settings, 16, "Share Radio on Network", K::Check, F::None, true},
        {1, G::Settings, 18, "Announce S-Meter Changes", K::Check, F::None, true},
        {0, G::Bar, 2, "Memory", K::Menu},
        {1, G::Memory, 0, "Manager...", K::Command},
        {1, G::Memory, 1, "Import Channels (CSV)...", K::Command, F::None, true},
        {1, G::Memory, 2, "Export Channels (CSV)...", K::Command, F::None, true},
        {0, G::Bar, 3, "Help", K::Menu},
        {1, G::Help, 0, "Contents", K::Command},
        {1, G::Help, 1, "-", K::Separator},
        {1, G::Help, 2, "About KIVO FT-817", K::Command},
    };
    t.insert(t.end(), std::begin(rest), std::end(rest));
    return t;
}

} // namespace

const std::vector<MenuEntry>& MainMenuTree()
{
    static const std::vector<MenuEntry> tree = BuildTree();
    return tree;
}

std::string MenuElement(MenuGroup group, int index)
{
    static const char* const bar[] = {"mnuFile", "mnuSettings", "mnuMemory", "mnuHelp"};
    if (group == G::Bar)
        return index >= 0 && index < 4 ? bar[index] : "";
    static const std::map<MenuGroup, const char*> arrays = {
        {G::File, "mnuFileArray"},
        {G::Settings, "mnuSettingsArray"},
        {G::CommPort, "mnuCommPortArray"},
        {G::CatRate, "mnuCatRate"},
        {G::Intervals, "mnuIntervalsArray"},
        {G::ScanSpeed, "mnuScanSpeed"},
        {G::MeterSpeed, "mnuMeterSpeed"},
        {G::PRIspeed, "mnuPRIspeed"},
        {G::PauseInterval, "mnuPauseInterval"},
        {G::Display, "mnuResizeDisplayArray"},
        {G::Memory, "mnuMemoryArray"},
        {G::Help, "mnuHelpArray"},
    };
    return platform::DisplayModel::Indexed(arrays.at(group), index);
}

int SettingValue(const state::SettingsRec& s, SettingField field)
{
    switch (field) {
    case F::CommPort: return s.CommPort;
    case F::CatRate: return s.CatRate;
    case F::ScanSpeed: return s.ScanSpeed;
    case F::MeterSpeed: return s.MeterSpeed;
    case F::PRISpeed: return s.PRISpeed;
    case F::DisplaySize: return s.DisplaySize;
    case F::DisplayStyle: return s.DisplayStyle;
    case F::ColorDepth: return s.ColorDepth;
    case F::PauseInterval: return s.PauseInterval;
    case F::TuneOnStartup: return s.TuneOnStartup;
    case F::None: break;
    }
    return 0;
}

void MainMenu::Click(MenuGroup group, int index) const
{
    if (auto it = m_entries.find({group, index}); it != m_entries.end()) {
        if (it->second)
            it->second();
        return;
    }
    if (auto it = m_groups.find(group); it != m_groups.end() && it->second)
        it->second(index);
}

void WirePanelMenus(MainMenu& menus, FrontPanel& panel, radio::CommPort& comm, state::MemoryFile& memory,
                    platform::Dialogs& dialogs)
{
    for (int i : {0, 1, 3, 4})
        menus.On(G::File, i, [&memory, i] { memory.FileMenu(i); });
    menus.On(G::CommPort, [&comm](int i) { comm.mnuCommPortArray_Click(i); });
    menus.On(G::CatRate, [&comm](int i) { comm.mnuCatRate_Click(i); });
    menus.On(G::ScanSpeed, [&panel](int i) { panel.Scanner().mnuScanSpeed_Click(i); });
    menus.On(G::MeterSpeed, [&panel](int i) { panel.Power().mnuMeterSpeed_Click(i); });
    menus.On(G::PRIspeed, [&panel](int i) { panel.PriorityMonitor().mnuPRIspeed_Click(i); });
    menus.On(G::PauseInterval, [&panel](int i) { panel.Scanner().mnuPauseInterval_Click(i); });
    menus.On(G::Display, [&panel](int i) { panel.DisplaySettings().mnuResizeDisplayArray_Click(i); });
    menus.On(G::Settings, kTuneOnStartupEntry, [&panel] { panel.Power().mnuTuneOnStartup_Click(); });
    menus.On(G::Settings, kFollowDialEntry, [&panel] { panel.DialFollower().mnuFollowDial_Click(); });
    menus.On(G::Help, 0, [&dialogs] { dialogs.ShowHelp("Contents"); });
}

} // namespace kivo::panel
