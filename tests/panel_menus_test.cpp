// The main window's menu tree, each radio group's choice stored, applied and kept across a
// restart, and the display settings through a fake window layout.

#include "panel/MainMenu.h"
#include "state/Layout.h"
#include "tests/support/LitMenusRig.h"

#include <functional>
#include <map>
#include <memory>
#include <set>

using namespace kivo;
using panel::MenuGroup;
using panel::MenuKind;
using panel::SettingField;
using platform::Buttons;
using platform::Icon;

namespace {

// The window's side of the display settings: what it was asked to do, in order.
struct FakeLayout final : platform::PanelLayout {
    long ScreenWidthTwips() const override { return screen; }
    bool ResizeDisplay(long width, std::string& error, int& step) override
    {
        calls.push_back("resize " + std::to_string(width));
        if (fail) {
            error = "The panel needs 700 x 400 pixels and has 640 x 338";
            step = 3;
            return false;
        }
        this->width = width;
        return true;
    }
    void SelectInterfacePics(long w, int depth) override
    {
        calls.push_back("pics " + std::to_string(w) + " " + std::to_string(depth));
        this->depth = depth;
    }
    void ShowLcdOnly(bool on) override
    {
        calls.push_back(on ? "lcd" : "radio");
        lcdOnly = on;
    }
    long screen = 1920 * 15;
    bool fail = false;
    long width = 0;
    int depth = 0;
    bool lcdOnly = false;
    std::vector<std::string> calls;
};

// One run of the program's logic over a data folder: a restart is a second one over the same.
struct Started {
    explicit Started(const std::string& dir) : files(s, fs, dialogs, dir)
    {
        panel.DisplaySettings().SetLayout(&layout);
        panel::WirePanelMenus(menus, panel, comm, memory, dialogs);
    }
    void Click(MenuGroup g, int i) { menus.Click(g, i); }
    bool Checked(MenuGroup g, int i) const { return display.Get(panel::MenuElement(g, i)).checked; }

    platform::VirtualEventLoop loop;
    sim::Ft817 radio;
    sim::SimPort port{loop, radio, {.serviceTime = 0}};
    platform::PosixFileSystem fs;
    platform::ScriptedDialogs dialogs;
    state::ModKIVO s;
    platform::DisplayModel display;
    state::DataFiles files;
    state::MemoryFile memory{s, fs, dialogs};
    radio::Cat cat{s, port, loop, display};
    radio::CommPort comm{s, port, dialogs, display};
    radio::Meter meter{s, cat, loop, display};
    kivo::testing::FakeWindow window;
    FakeLayout layout;
    panel::FrontPanel panel{{s, display, dialogs, loop, window, cat, comm, meter, files, memory}};
    panel::MainMenu menus;
};

struct Row {
    int depth;
    int index;
    const char* caption;
};

// The tree as the user sees it: depth, index in its group, caption ("-" a separator).
const Row kTree[] = {
    {0, 0, "File"},
    {1, 0, "New"},
    {1, 1, "Open..."},
    {1, 2, "-"},
    {1, 3, "Save"},
    {1, 4, "Save As..."},
    {1, 5, "-"},
    {1, 6, "Lock Menus..."},
    {1, 7, "Unlock Menus..."},
    {1, 8, "-"},
    {1, 9, "Exit"},
    {0, 1, "Settings"},
    {1, 0, "Serial Port"},
    {2, 1, "1"},
    {2, 2, "2"},
    {2, 3, "3"},
    {2, 4, "4"},
    {2, 5, "5"},
    {2, 6, "6"},
    {2, 7, "7"},
    {2, 8, "8"},
    {2, 9, "9"},
    {2, 10, "None"},
    {1, 1, "CAT Rate"},
    {2, 0, "4800 bps"},
    {2, 1, "9600 bps"},
    {2, 2, "38400 bps"},
    {1, 2, "Update Intervals"},
    {2, 0, "Scanning"},
    {3, 0, "1000 ms."},
    {3, 1, "500 ms."},
    {3, 2, "400 ms."},
    {3, 3, "300 ms."},
    {3, 4, "250 ms."},
    {3, 5, "200 ms."},
    {3, 6, "OFF"},
    {2, 1, "Meter"},
    {3, 0, "1000 ms."},
    {3, 1, "500 ms."},
    {3, 2, "400 ms."},
    {3, 3, "300 ms."},
    {3, 4, "200 ms."},
    {3, 5, "100 ms."},
    {3, 6, "OFF"},
    {2, 2, "PRI Monitor"},
    {3, 0, "15 sec."},
    {3, 1, "10 sec."},
    {3, 2, "5 sec."},
    {3, 3, "OFF"},
    {2, 4, "Pause"},
    {3, 0, "30 sec."},
    {3, 1, "15 sec."},
    {3, 2, "5 sec."},
    {3, 3, "3 sec."},
    {3, 4, "OFF"},
    {1, 3, "Display"},
    {2, 0, "Small"},
    {2, 1, "Medium"},
    {2, 2, "Large"},
    {2, 3, "-"},
    {2, 4, "LCD"},
    {2, 5, "Radio"},
    {2, 6, "-"},
    {2, 7, "16 Bit Colors"},
    {2, 8, "8 Bit Colors"},
    {1, 4, "-"},
    {1, 8, "Tuning Steps..."},
    {1, 9, "Repeater Shifts..."},
    {1, 10, "-"},
    {1, 11, "CTCSS Tones..."},
    {1, 12, "DCS Codes..."},
    {1, 13, "-"},
    {1, 14, "Tune to Radio on Start-up"},
    {0, 2, "Memory"},
    {1, 0, "Manager..."},
    {0, 3, "Help"},
    {1, 0, "Contents"},
    {1, 1, "-"},
    {1, 2, "About KIVO FT-817"},
};

// The field each group stores its choice in.
const std::map<MenuGroup, SettingField> kFields = {
    {MenuGroup::CommPort, SettingField::CommPort},   {MenuGroup::CatRate, SettingField::CatRate},
    {MenuGroup::ScanSpeed, SettingField::ScanSpeed}, {MenuGroup::MeterSpeed, SettingField::MeterSpeed},
    {MenuGroup::PRIspeed, SettingField::PRISpeed},   {MenuGroup::PauseInterval, SettingField::PauseInterval},
};

TEST(MenuTree, EveryEntryHasTheCaptionIndexAndPlaceOfTheClassicTree)
{
    std::vector<panel::MenuEntry> classic;
    std::set<std::pair<MenuGroup, int>> places;
    for (const auto& e : panel::MainMenuTree()) {
        if (!e.own)
            classic.push_back(e);
        // One handler per entry: a second entry on the same index would take the first one's clicks.
        if (e.kind != MenuKind::Separator) {
            EXPECT_TRUE(places.insert({e.group, e.index}).second) << e.caption;
        }
    }
    ASSERT_EQ(classic.size(), std::size(kTree));
    for (std::size_t i = 0; i < classic.size(); ++i) {
        const auto& e = classic[i];
        SCOPED_TRACE(kTree[i].caption);
        EXPECT_EQ(e.depth, kTree[i].depth);
        EXPECT_EQ(e.index, kTree[i].index);
        EXPECT_STREQ(e.caption, kTree[i].caption);
        EXPECT_EQ(e.kind == MenuKind::Separator, std::string(kTree[i].caption) == "-");
        // Every group but Display stores one field; Display's three sub-groups one each.
        if (e.kind == MenuKind::Radio && e.group != MenuGroup::Display) {
            EXPECT_EQ(e.field, kFields.at(e.group));
        }
    }
}

TEST(MenuTree, DisplaySubGroupsAndTheStartUpCheckStoreTheirOwnFields)
{
    std::map<int, SettingField> display;
    SettingField tune = SettingField::None;
    for (const auto& e : panel::MainMenuTree()) {
        if (e.group == MenuGroup::Display && e.kind == MenuKind::Radio)
            display[e.index] = e.field;
        if (e.group == MenuGroup::Settings && e.index == 14)
            tune = e.field;
    }
    const std::map<int, SettingField> expected = {
        {0, SettingField::DisplaySize},  {1, SettingField::DisplaySize},  {2, SettingField::DisplaySize},
        {4, SettingField::DisplayStyle}, {5, SettingField::DisplayStyle}, {7, SettingField::ColorDepth},
        {8, SettingField::ColorDepth},
    };
    EXPECT_EQ(display, expected);
    EXPECT_EQ(tune, SettingField::TuneOnStartup);
}

TEST(MenuTree, OwnEntriesComeAfterTheClassicIndexesOfTheirGroup)
{
    std::map<MenuGroup, int> highest;
    for (const auto& e : panel::MainMenuTree()) {
        if (e.depth == 0)
            continue;
        if (e.own) {
            EXPECT_GT(e.index, highest[e.group]) << e.caption;
        } else
            highest[e.group] = std::max(highest[e.group], e.index);
    }
}

class Menus : public ::testing::Test {
protected:
    kivo::testing::TempDir dir;
    std::unique_ptr<Started> run = Start();

    std::unique_ptr<Started> Start()
    {
        auto r = std::make_unique<Started>(dir.path());
        r->panel.Power().Load();
        return r;
    }
    // Shuts the run down (which saves the settings) and starts a new one over the same folder.
    void Restart()
    {
        ASSERT_TRUE(run->panel.Power().EndKIVO());
        run.reset();
        run = Start();
    }
};

// What each radio group's choice does, seen from outside the group.
using Effect = std::function<void(Started&, int index)>;
const std::map<MenuGroup, Effect> kEffects = {
    {MenuGroup::ScanSpeed,
     [](Started& r, int i) {
         EXPECT_EQ(r.panel.Scanner().TimerScanner().Interval(), panel::kScanIntervals[std::size_t(i)]);
         EXPECT_EQ(r.panel.Scanner().TimerScannerMR().Interval(), panel::kScanIntervals[std::size_t(i)]);
     }},
    {MenuGroup::MeterSpeed,
     [](Started& r, int i) { EXPECT_EQ(r.meter.TimerSignalMeter().Interval(), panel::kMeterIntervals[i]); }},
    {MenuGroup::PRIspeed,
     [](Started& r, int i) {
         EXPECT_EQ(r.panel.PriorityMonitor().TimerPriorityMonitor().Interval(), panel::kPriIntervals[i]);
     }},
    {MenuGroup::PauseInterval,
     [](Started& r, int i) { EXPECT_EQ(r.panel.Scanner().PauseSecs(), panel::kPauseSeconds[std::size_t(i)]); }},
    {MenuGroup::Display,
     [](Started& r, int i) {
         if (i <= panel::kDisplayLarge) {
             EXPECT_EQ(r.layout.width, panel::kDisplayWidths[i]);
         } else if (i <= panel::kDisplayRadio) {
             EXPECT_EQ(r.layout.lcdOnly, i == panel::kDisplayLcd);
         } else {
             EXPECT_EQ(r.layout.depth, i);
             const unsigned c = i == panel::kColors16Bit ? panel::kLit16BitColor : panel::kLit8BitColor;
             EXPECT_EQ(r.display.Get(el::ledFreq).color, c);
             EXPECT_EQ(r.display.Get(el::ledSubFreq).color, c);
         }
     }},
};

TEST_F(Menus, EveryRadioChoiceIsStoredCheckedAppliedAndKeptAcrossARestart)
{
    for (const auto& e : panel::MainMenuTree()) {
        if (e.kind != MenuKind::Radio || e.group == MenuGroup::CommPort)
            continue;
        SCOPED_TRACE(panel::MenuElement(e.group, e.index));
        run->Click(e.group, e.index);
        for (int pass = 0; pass < 2; ++pass) {
            EXPECT_EQ(panel::SettingValue(run->s.Settings, e.field), e.index);
            for (const auto& other : panel::MainMenuTree())
                if (other.group == e.group && other.field == e.field && other.kind == MenuKind::Radio) {
                    EXPECT_EQ(run->Checked(other.group, other.index), other.index == e.index) << other.caption;
                }
            if (auto it = kEffects.find(e.group); it != kEffects.end())
                it->second(*run, e.index);
            if (pass == 0)
                Restart();
        }
    }
}

TEST_F(Menus, TheSerialPortChoiceIsKeptAcrossARestart)
{
    for (int i : {3, 10}) {
        run->Click(MenuGroup::CommPort, i);
        Restart();
        EXPECT_EQ(run->s.Settings.CommPort, i);
    }
}

TEST_F(Menus, StartUpAppliesSizeViewThenColoursWithTheStoredChoices)
{
    run->Click(MenuGroup::Display, panel::kDisplayMedium);
    run->Click(MenuGroup::Display, panel::kDisplayLcd);
    run->Click(MenuGroup::Display, panel::kColors8Bit);
    Restart();
    // The size keeps the LCD shape it finds stored, then the view and the colours follow.
    const std::vector<std::string> order{"resize 12000", "pics 12000 8", "lcd", "lcd", "pics 12000 8"};
    EXPECT_EQ(run->layout.calls, order);
}

TEST_F(Menus, TuneToRadioOnStartUpTogglesOnEveryClickStoredAsMinusOneAndZero)
{
    ASSERT_EQ(run->s.Settings.TuneOnStartup, -1);
    for (int expected : {0, -1, 0}) {
        run->Click(MenuGroup::Settings, panel::kTuneOnStartupEntry);
        EXPECT_EQ(run->s.Settings.TuneOnStartup, expected);
        EXPECT_EQ(run->Checked(MenuGroup::Settings, panel::kTuneOnStartupEntry), expected != 0);
    }
    Restart();
    EXPECT_EQ(run->s.Settings.TuneOnStartup, 0);
    EXPECT_FALSE(run->Checked(MenuGroup::Settings, panel::kTuneOnStartupEntry));
}

TEST_F(Menus, ASizeWiderThanAScreenOfExactlyOneOfTheWidthsTakesThatWidth)
{
    struct Case {
        long screen;
        int chosen;
        int taken;
    };
    const Case cases[] = {
        {12000, panel::kDisplayLarge, panel::kDisplayMedium}, // 800 pixels
        {9600, panel::kDisplayLarge, panel::kDisplaySmall},   // 640 pixels
        {9600, panel::kDisplayMedium, panel::kDisplaySmall},
        {12000, panel::kDisplaySmall, panel::kDisplaySmall},
        {15360, panel::kDisplayLarge, panel::kDisplayLarge},
        {10500, panel::kDisplayLarge, panel::kDisplayLarge}, // 700 pixels: no size of its own
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.screen) + " " + std::to_string(c.chosen));
        run->layout.screen = c.screen;
        run->Click(MenuGroup::Display, c.chosen);
        EXPECT_EQ(run->s.Settings.DisplaySize, c.taken);
        EXPECT_EQ(run->layout.width, panel::kDisplayWidths[c.taken]);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(run->Checked(MenuGroup::Display, i), i == c.taken);
    }
}

TEST_F(Menus, ColoursWhileDarkChangeTheLedDisplaysOnlyAndLitAlsoThePanelAndMeter)
{
    run->Click(MenuGroup::Display, panel::kColors8Bit);
    run->Click(MenuGroup::Display, panel::kColors16Bit);
    EXPECT_EQ(run->display.Get(el::ledFreq).color, panel::kLit16BitColor);
    EXPECT_EQ(run->display.Get(el::ledSubFreq).color, panel::kLit16BitColor);
    EXPECT_EQ(run->display.Get(el::DisplayPanel).color, panel::kUnlitColor);
    EXPECT_EQ(run->display.Get(el::LMeter).color, panel::kUnlitColor);

    run->s.CATOn = true; // lit
    run->Click(MenuGroup::Display, panel::kColors8Bit);
    for (const char* n : {el::ledFreq, el::ledSubFreq, el::DisplayPanel, el::LMeter})
        EXPECT_EQ(run->display.Get(n).color, panel::kLit8BitColor) << n;
}

TEST_F(Menus, AFailedLayoutSaysResizeDisplayErrorAndTheChoiceStands)
{
    run->layout.fail = true;
    run->dialogs.boxes.clear();
    run->Click(MenuGroup::Display, panel::kDisplaySmall);
    ASSERT_EQ(run->dialogs.boxes.size(), 1u);
    const auto& box = run->dialogs.boxes[0];
    EXPECT_EQ(box.text, "Error encountered while trying to size or adjust the display. The panel needs 700 x 400 "
                        "pixels and has 640 x 338. Error occured after line 3. Some video cards may cause this "
                        "problem when the Display settings in Control Panel have been set to display Large Fonts. "
                        "Try setting your font size to Normal, and then re-boot your system.");
    EXPECT_EQ(box.title, "Resize Display Error");
    EXPECT_EQ(box.icon, Icon::Exclamation);
    EXPECT_EQ(box.buttons, Buttons::Ok);
    EXPECT_EQ(run->s.Settings.DisplaySize, panel::kDisplaySmall);
    EXPECT_TRUE(run->Checked(MenuGroup::Display, panel::kDisplaySmall));
    // The busy pointer does not stay.
    EXPECT_EQ(run->window.calls.back(), "idle");
}

TEST_F(Menus, SeparatorsAndMissingIndexesDoNothing)
{
    const auto before = run->s.Settings;
    const auto calls = run->layout.calls.size();
    for (int i : {3, 6, 9, -1})
        run->Click(MenuGroup::Display, i);
    for (int i : {4, 5, 6, 7, 10, 13})
        run->Click(MenuGroup::Settings, i);
    EXPECT_EQ(state::ToBytes(run->s.Settings), state::ToBytes(before));
    EXPECT_EQ(run->layout.calls.size(), calls);
}

TEST_F(Menus, HelpContentsOpensTheHelpAtItsContents)
{
    run->Click(MenuGroup::Help, 0);
    EXPECT_EQ(run->dialogs.helpTopics, std::vector<std::string>{"Contents"});
}

// Lit on the simulator with the usual files.
using MenusLit = kivo::testing::LitMenusRig;

TEST_F(MenusLit, ScanningOffThenScanSaysScanIntervalOff)
{
    menus.Click(MenuGroup::ScanSpeed, 6);
    panel.Scanner().SCANbutton_Click();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].title, "Scan Interval OFF");
    EXPECT_FALSE(panel.Scanner().TimerScanner().Enabled());
}

} // namespace
