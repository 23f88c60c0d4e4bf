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
    ASSERT_TRUE(kivo::testing::WriteUsualFiles(fs, dialogs, dir.path(), false, 2)); // at 38400

    platform::SystemEventLoop loop;
    sim::Ft817 radio;
    sim::PtyLink link(loop, radio, sim::WireOptions::Ideal());
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
    panel::FrontPanel panel({s, display, dialogs, loop, window, cat, comm, meter, files, memory});

    panel.Power().Load();
    ASSERT_TRUE(s.PortReady) << (dialogs.boxes.empty() ? "" : dialogs.boxes[0].text);
    panel.Power().CATbutton_Click();
    platform::Pause(loop, 0.05);
    std::vector<std::string> frames;
    for (const auto& f : link.GetWire().Frames())
        if (f.bytes != F({0, 0, 0, 0, 0xE7}))
            frames.push_back(f.bytes);
    EXPECT_EQ(frames, kivo::testing::kUsualPowerOn);
    EXPECT_EQ(radio.A().freq, 14520000u);
    EXPECT_EQ(radio.B().freq, 43310000u);
    EXPECT_TRUE(s.CATOn);
    EXPECT_TRUE(dialogs.boxes.empty());
}
