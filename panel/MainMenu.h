#pragma once
// The main window's menu tree as data, and the door every click on it goes through. The window
// builds its menu bar from `MainMenuTree()` and hands each click to `MainMenu::Click`; the
// panel's handlers are registered by `WirePanelMenus`, the window adds the ones that open its
// dialogs. An entry nobody registered does nothing.

#include "panel/FrontPanel.h"

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace kivo::panel {

// The handler a menu entry's clicks go to, named as its element array.
enum class MenuGroup {
    Bar,       // the menus of the bar: mnuFile, mnuSettings, mnuMemory, mnuHelp
    File,      // mnuFileArray
    Settings,  // mnuSettingsArray
    CommPort,  // mnuCommPortArray
    CatRate,   // mnuCatRate
    Intervals, // mnuIntervalsArray: the submenus of Update Intervals
    ScanSpeed, // mnuScanSpeed
    MeterSpeed,
    PRIspeed,
    PauseInterval,
    Display, // mnuResizeDisplayArray
    Memory,  // mnuMemoryArray
    Help,    // mnuHelpArray
};

enum class MenuKind { Menu, Command, Check, Radio, Separator };

// The settings field a radio group (or the start-up check) stores its choice in.
enum class SettingField {
    None,
    CommPort,
    CatRate,
    ScanSpeed,
    MeterSpeed,
    PRISpeed,
    DisplaySize,
    DisplayStyle,
    ColorDepth,
    PauseInterval,
    TuneOnStartup,
};

struct MenuEntry {
    int depth; // 0 a menu of the bar, 1 its entries, 2 and 3 the entries of submenus
    MenuGroup group;
    int index;           // the entry's index in its group
    const char* caption; // "-" for a separator
    MenuKind kind;
    SettingField field = SettingField::None;
    bool own = false; // added to the first menus: its index follows theirs
};

// The whole tree in the order shown, each submenu's entries right after it.
const std::vector<MenuEntry>& MainMenuTree();
// "mnuScanSpeed(3)", "mnuSettings": the display element of an entry, declared or not.
std::string MenuElement(MenuGroup group, int index);
// The settings field's value, for the check marks a stored choice gives.
int SettingValue(const state::SettingsRec& s, SettingField field);

class MainMenu {
public:
    // Every click of the group, with the entry's index.
    void On(MenuGroup group, std::function<void(int)> handler) { m_groups[group] = std::move(handler); }
    // One entry; it takes precedence over its group's handler.
    void On(MenuGroup group, int index, std::function<void()> handler)
    {
        m_entries[{group, index}] = std::move(handler);
    }
    void Click(MenuGroup group, int index) const;

private:
    std::map<MenuGroup, std::function<void(int)>> m_groups;
    std::map<std::pair<MenuGroup, int>, std::function<void()>> m_entries;
};

// Registers the handlers of the panel's units, the memory file's File entries and Help >
// Contents.
void WirePanelMenus(MainMenu& menus, FrontPanel& panel, PortChoice& comm, state::MemoryFile& memory,
                    platform::Dialogs& dialogs);

} // namespace kivo::panel
