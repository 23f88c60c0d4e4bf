#pragma once
// Everything the program is made of, wired together over the platform interfaces the caller
// gives it: the window, the dialogs and the event loop.

#include "lock/MenuLock.h"
#include "memmgr/ChannelFile.h"
#include "panel/Announcements.h"
#include "panel/FrontPanel.h"
#include "panel/MainMenu.h"
#include "panel/RadioSharing.h"
#include "platform/ChosenPort.h"
#include "platform/DisplayModel.h"
#include "platform/FileSystem.h"
#include "platform/PosixSerialPort.h"
#include "platform/TcpSerialPort.h"
#include "radio/Cat.h"
#include "radio/CatRateDetect.h"
#include "radio/CommPort.h"
#include "radio/Meter.h"
#include "radio/NetworkPort.h"
#include "scope/BandScope.h"
#include "state/DataFiles.h"
#include "state/MemoryFile.h"
#include "state/ModKIVO.h"

#include <string>

namespace kivo::panel {

// The port number bindings, a text file beside the settings.
inline constexpr const char* kPortsFileName = "serialports.txt";
// The program's own options beyond the fixed settings layout, a text file beside it.
inline constexpr const char* kOptionsFileName = "options.txt";

struct Program {
    Program(platform::EventLoop& loop, platform::Dialogs& dialogs, platform::Window& window, const std::string& dataDir)
        : dialogs(dialogs), files(s, fs, dialogs, dataDir), memory(s, fs, dialogs), cat(s, line, loop, display),
          comm(s, line, dialogs, display), networkPort(s, comm, network, dialogs, fs, dataDir),
          meter(s, cat, loop, display), rateDetect(s, cat, comm, dialogs, display),
          panel({s, display, dialogs, loop, window, cat, comm, meter, files, memory}), channels(s, fs, dialogs),
          sharing({s, display, dialogs, loop, window, cat, comm, meter, files, memory}, panel, fs, dataDir),
          menuLock(s, display, dialogs),
          scope({s, display, dialogs, loop, window, cat, comm, meter, files, memory}, panel.Tuning(), fs, dataDir),
          announcements(s, display, fs, dataDir), m_portsFile(dataDir + "/" + kPortsFileName),
          m_optionsFile(dataDir + "/" + kOptionsFileName)
    {
        // A real radio drops frames that arrive closer together than this.
        cat.SetFrameGap(kRadioFrameGap);
        memory.SetRecoveryFolder(dataDir);
        sharing.Rig().moxKey = [this] { panel.Transmit().MOXbutton_Click(); };
        WirePanelMenus(menus, panel, comm, memory, dialogs);
        menus.On(MenuGroup::CommPort, radio::kPortNetwork, [this] { networkPort.mnuNetworkPort_Click(); });
        networkPort.Load();
        menus.On(MenuGroup::Settings, radio::kDetectCatRateEntry, [this] { rateDetect.mnuDetectCatRate_Click(); });
        menus.On(MenuGroup::Settings, kShareRadioEntry, [this] { sharing.mnuShareRadio_Click(); });
        menus.On(MenuGroup::Settings, kAnnounceSMeterEntry, [this] { announcements.mnuAnnounceSMeter_Click(); });
        panel.KeyTargets().speakState = [this] { announcements.SpeakState(); };
        announcements.Load();
        menus.On(MenuGroup::Memory, 1, [this] { channels.Import(); });
        menus.On(MenuGroup::Memory, 2, [this] { channels.Export(); });
        // POWER off ends a sweep as it disarms SCAN.
        panel.Power().AddSwitchable(scope, SwitchOffOrder::SCAN);
        panel.Power().StopAtPowerOff(scope.TimerScope());
        std::string text;
        if (fs.Exists(m_portsFile) && fs.ReadOrCreate(m_portsFile, 64 * 1024, text))
            port.Bindings().Parse(text);
        std::string options;
        if (fs.Exists(m_optionsFile) && fs.ReadOrCreate(m_optionsFile, 64 * 1024, options))
            panel.DialFollower().SetFollowing(ParseFollowDialOption(options));
        // A failed save only loses the choice, which the menu shows and can make again.
        panel.DialFollower().hooks.optionChanged = [this](bool on) {
            fs.WriteAtomic(m_optionsFile, FollowDialOptionText(on));
        };
    }

    // Binds newly seen serial devices to free port numbers (remembered in the data folder, so
    // a number keeps its device across unplugging and restarts) and names each number's device
    // in the port menu.
    void RefreshPorts()
    {
        // A failed save only loses new bindings, which the next run makes again.
        if (port.RefreshDevices())
            fs.WriteAtomic(m_portsFile, port.Bindings().Text());
        comm.RefreshPortCaptions([this](int n) { return port.Caption(n); });
    }

    platform::Dialogs& dialogs; // message boxes, file choices and help, for every window
    state::ModKIVO s;
    platform::DisplayModel display;
    platform::PosixFileSystem fs;
    platform::PosixSerialPort port;           // the numbered serial devices
    platform::TcpSerialPort network;          // Settings > Serial Port > Network Port...
    platform::ChosenPort line{port, network}; // the one of the two the Serial Port menu chose
    state::DataFiles files;
    state::MemoryFile memory;
    radio::Cat cat;
    radio::CommPort comm;
    radio::NetworkPortMenu networkPort;
    radio::Meter meter;
    radio::CatRateDetect rateDetect; // Settings > Detect CAT Rate...
    FrontPanel panel;
    memmgr::ChannelFile channels; // the Memory menu's channel list import and export
    RadioSharing sharing;
    lock::MenuLock menuLock;     // File > Lock Menus... and Unlock Menus...
    MainMenu menus;              // every click on the main window's menu bar
    scope::BandScope scope;      // the SCOPE key's window's logic
    Announcements announcements; // what a screen reader is told of the panel's changes

private:
    std::string m_portsFile;
    std::string m_optionsFile;
};

} // namespace kivo::panel
