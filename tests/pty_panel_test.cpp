// POWER on through the real serial port code and a pseudo-terminal.

#include "panel/FrontPanel.h"
#include "platform/PosixSerialPort.h"
#include "platform/ScriptedDialogs.h"
#include "platform/SystemEventLoop.h"
#include "sim/PtyLink.h"
#include "tests/support/PanelRig.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace kivo;
using kivo::testing::F;

TEST(PanelOverPty, PowerOnFramesReachTheRadioInOrder)
{
    kivo::testing::TempDir dir;
    platform::PosixFileSystem fs;
    platform::ScriptedDialogs dialogs;
    {
        state::ModKIVO f;
        f.Settings.CommPort = 1;
        f.Settings.CatRate = 2;
        f.Settings.TuneOnStartup = 0;
        f.BandData.LastBandMB = 1;
        f.BandData.LastBandSB = 0;
        f.BandData.BandVFOMB[1] = {14520000, 5, 60000, -1, 1, 8, 0, 0};
        f.BandData.BandVFOSB[0] = {43310000, 5, 760000, 0, 0, 12, 5, 0};
        state::DataFiles w(f, fs, dialogs, dir.path());
        ASSERT_TRUE(w.SaveSettingsFile() && w.SaveBandDataFile() && w.SaveHomeFile());
    }

    platform::SystemEventLoop loop;
    sim::Ft817 radio;
    sim::PtyLink link(loop, radio, {.realistic = false});
    std::string err;
    ASSERT_TRUE(link.Start(err)) << err;
    platform::PosixSerialPort port;
    port.SetDevicePath(link.Path());

    state::ModKIVO s;
    platform::DisplayModel display;
    state::DataFiles files(s, fs, dialogs, dir.path());
    state::MemoryFile memory(s, fs, dialogs);
    radio::Cat cat(s, port, loop, display);
    radio::CommPort comm(s, port, dialogs, display);
    radio::Meter meter(s, cat, loop, display);
    kivo::testing::FakeWindow window;
    panel::FrontPanel panel(s, display, dialogs, loop, window, cat, comm, meter, files, memory);

    panel.Load();
    ASSERT_TRUE(s.PortReady) << (dialogs.boxes.empty() ? "" : dialogs.boxes[0].text);
    panel.CATbutton_Click();
    platform::Pause(loop, 0.05);
    std::vector<std::string> frames;
    for (const auto& f : link.GetWire().Frames())
        if (f.bytes != F({0, 0, 0, 0, 0xE7}))
            frames.push_back(f.bytes);
    const std::vector<std::string> expected{
        F({0x08, 0, 0, 0, 0x07}),    F({0x14, 0x52, 0x00, 0x00, 0x01}),
        F({0x09, 0, 0, 0, 0x09}),    F({0x00, 0x06, 0x00, 0x00, 0xF9}),
        F({0x4A, 0, 0, 0, 0x0A}),    F({0x08, 0x85, 0, 0, 0x0B}),
        F({0x00, 0x23, 0, 0, 0x0C}), F({0, 0, 0, 0, 0x81}),
        F({0x08, 0, 0, 0, 0x07}),    F({0x43, 0x31, 0x00, 0x00, 0x01}),
        F({0x10, 0x00, 0, 0, 0x0B}), F({0, 0, 0, 0, 0x81}),
    };
    EXPECT_EQ(frames, expected);
    EXPECT_EQ(radio.A().freq, 14520000u);
    EXPECT_EQ(radio.B().freq, 43310000u);
    EXPECT_TRUE(s.CATOn);
    EXPECT_TRUE(dialogs.boxes.empty());
}
