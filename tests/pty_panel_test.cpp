// The front panel through the real serial port code and a pseudo-terminal.

#include "panel/FrontPanel.h"
#include "platform/PosixSerialPort.h"
#include "platform/ScriptedDialogs.h"
#include "platform/SystemEventLoop.h"
#include "radio/Cat.h"
#include "sim/PtyLink.h"
#include "tests/support/PanelRig.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace kivo;
using kivo::testing::F;

namespace {

// The usual files at 38400 and the whole panel over a simulator on a pseudo-terminal, on the
// system clock.
struct PtyPanel {
    explicit PtyPanel(sim::WireOptions options) : link(loop, radio, options)
    {
        ok = kivo::testing::WriteUsualFiles(fs, dialogs, dir.path(), false, 2);
        std::string err;
        ok = ok && link.Start(err);
        port.SetDevicePath(link.Path());
    }

    kivo::testing::TempDir dir;
    platform::PosixFileSystem fs;
    platform::ScriptedDialogs dialogs;
    platform::SystemEventLoop loop;
    sim::Ft817 radio;
    sim::PtyLink link;
    platform::PosixSerialPort port;
    bool ok = false;

    state::ModKIVO s;
    platform::DisplayModel display;
    state::DataFiles files{s, fs, dialogs, dir.path()};
    state::MemoryFile memory{s, fs, dialogs};
    radio::Cat cat{s, port, loop};
    radio::CommPort commPort{port};
    panel::PortChoice comm{s, commPort, dialogs};
    panel::Meter meter{s, cat, loop, display};
    kivo::testing::FakeWindow window;
    panel::FrontPanel panel{{s, display, dialogs, loop, window, cat, comm, meter, files, memory}};
};

// The frequency a set-frequency frame carries, in 10 Hz units.
std::uint32_t SetFreq(const std::string& frame)
{
    std::uint32_t f = 0;
    for (int i = 0; i < 4; ++i) {
        const auto b = std::uint8_t(frame[std::size_t(i)]);
        f = f * 100 + std::uint32_t((b >> 4) * 10 + (b & 0x0F));
    }
    return f;
}

} // namespace

TEST(PanelOverPty, PowerOnFramesReachTheRadioInOrder)
{
    PtyPanel p(sim::WireOptions::Ideal());
    ASSERT_TRUE(p.ok);
    p.panel.Power().Load();
    ASSERT_TRUE(p.s.PortReady) << (p.dialogs.boxes.empty() ? "" : p.dialogs.boxes[0].text);
    p.panel.Power().PressPower();
    platform::Pause(p.loop, 0.05);
    std::vector<std::string> frames;
    for (const auto& f : p.link.GetWire().Frames())
        if (f.bytes != F({0, 0, 0, 0, 0xE7}))
            frames.push_back(f.bytes);
    EXPECT_EQ(frames, kivo::testing::kUsualPowerOn);
    EXPECT_EQ(p.radio.A().freq, 14520000u);
    EXPECT_EQ(p.radio.B().freq, 43310000u);
    EXPECT_TRUE(p.s.CATOn);
    EXPECT_TRUE(p.dialogs.boxes.empty());
}

// A VFO scan in FM against a radio with its real service time and acknowledgements, frames
// paced as the program paces them: it steps onto the carrier at 145.600, pauses there, moves on,
// and a jog key stops it. Every frame is taken.
TEST(PanelOverPty, VfoScanStopsOnACarrierMovesOnAndStopsOnAJogKey)
{
    PtyPanel p({});
    ASSERT_TRUE(p.ok);
    p.cat.SetFrameGap(panel::kRadioFrameGap);
    p.panel.Power().Load();
    ASSERT_TRUE(p.s.PortReady);
    p.panel.Power().PressPower();
    platform::Pause(p.loop, 0.5);
    p.s.Settings.ChannelStep[1][5] = 2500;    // 25 kHz
    p.panel.Scanner().ChooseScanSpeed(5);     // 200 ms
    p.panel.Scanner().ChoosePauseInterval(3); // 3 s
    p.s.VFOMB.Freq = 14557500;
    p.link.GetWire().ClearFrames();

    p.panel.Scanner().PressScan();
    ASSERT_EQ(p.s.ScanDir, 1);
    // Until the scan has moved two channels past the carrier; a stalled scan ends the wait too.
    const double giveUpAt = p.loop.Now() + 8;
    while (p.radio.Current().freq < 14565000u && p.loop.Now() < giveUpAt)
        platform::Pause(p.loop, 0.05);
    p.panel.Tuning().JogButton_Press(1);
    p.panel.Tuning().JogButton_Release();
    EXPECT_TRUE(p.s.ScanArmed);
    EXPECT_EQ(p.s.ScanDir, 0) << "the jog key stopped the scan";
    platform::Pause(p.loop, 0.2); // the last answers

    std::vector<std::uint32_t> sets;
    double onCarrier = 0, leftCarrier = 0;
    int statusRequests = 0;
    for (const auto& f : p.link.GetWire().Frames()) {
        EXPECT_TRUE(f.accepted);
        if (f.bytes == F({0, 0, 0, 0, 0xE7}))
            ++statusRequests;
        if (std::uint8_t(f.bytes[4]) != 0x01)
            continue;
        sets.push_back(SetFreq(f.bytes));
        if (sets.back() == 14560000u)
            onCarrier = f.at;
        else if (sets.back() == 14562500u)
            leftCarrier = f.at;
    }
    EXPECT_EQ(sets, (std::vector<std::uint32_t>{14560000, 14562500, 14565000}));
    EXPECT_GE(leftCarrier - onCarrier, 3.0) << "paused on the centred carrier";
    EXPECT_GE(statusRequests, 3);
    EXPECT_EQ(p.link.GetWire().DroppedCount(), 0u);
    EXPECT_EQ(p.radio.Current().freq, 14565000u);
    EXPECT_TRUE(p.dialogs.boxes.empty());
}
