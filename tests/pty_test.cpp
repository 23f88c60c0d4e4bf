// The real serial stack against the simulator on a pseudo-terminal.

#include "platform/DisplayModel.h"
#include "platform/PosixSerialPort.h"
#include "platform/SystemEventLoop.h"
#include "radio/Cat.h"
#include "radio/Meter.h"
#include "sim/BackgroundSim.h"
#include "sim/Ft817.h"
#include "sim/PtyLink.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <fstream>

using namespace kivo;

namespace {

struct PtyCase {
    const char* line;
    bool realistic;
};

class OverPty : public ::testing::TestWithParam<PtyCase> {
protected:
    platform::SystemEventLoop loop;
    sim::Ft817 radio;
    std::unique_ptr<sim::PtyLink> link;
    platform::PosixSerialPort port;
    state::ModKIVO kivo;
    platform::DisplayModel display;

    void SetUp() override
    {
        sim::WireOptions o;
        o.realistic = GetParam().realistic;
        link = std::make_unique<sim::PtyLink>(loop, radio, o);
        std::string err;
        ASSERT_TRUE(link->Start(err)) << err;
        port.SetDevicePath(link->Path());
        port.SetLineSettings(GetParam().line);
        port.SetBufferSizes(5, 5, 5);
        ASSERT_TRUE(port.Open(err)) << err;
    }
};

TEST_P(OverPty, SetsAndReadsBackFrequencyAndModeAndPollsStatus)
{
    radio::Cat cat(kivo, port, loop, display);
    radio::Meter meter(kivo, cat, loop, display);
    const double gap = GetParam().realistic ? 0.1 : 0.0; // the radio's service time

    kivo.VFOMB.Freq = 14430000;
    cat.SendFreqMB();
    platform::Pause(loop, gap);
    kivo.VFOMB.Mode = 5;
    cat.SendModeMB();
    platform::Pause(loop, gap);
    kivo.VFOMB.Freq = 0;
    kivo.VFOMB.Mode = 0;
    ASSERT_TRUE(cat.ReadFreqModeFromRadio());
    EXPECT_EQ(kivo.VFOMB.Freq, 14430000);
    EXPECT_EQ(kivo.VFOMB.Mode, 5);
    EXPECT_EQ(radio.A().freq, 14430000u);
    EXPECT_EQ(radio.A().mode, 0x08);

    // The status poll: a request, then the byte on the next tick.
    radio.Band() = {{14430000, 11, 1000}};
    platform::Pause(loop, gap);
    bool got = false;
    meter.ReadRXStatus(got);
    EXPECT_FALSE(got);
    platform::Pause(loop, 0.1);
    meter.ReadRXStatus(got);
    ASSERT_TRUE(got);
    EXPECT_EQ(meter.RXStatusByte, 11);
    EXPECT_TRUE(display.Get("lblBusy").visible);

    // The split acknowledgement of a real radio is discarded by the next read.
    platform::Pause(loop, gap);
    cat.SendSplitOn();
    platform::Pause(loop, gap);
    ASSERT_TRUE(cat.ReadFreqModeFromRadio());
    EXPECT_EQ(kivo.VFOMB.Freq, 14430000);
    EXPECT_TRUE(radio.Split());
}

INSTANTIATE_TEST_SUITE_P(Lines, OverPty,
                         ::testing::Values(PtyCase{"9600,N,8,2", false}, PtyCase{"38400,N,8,2", false},
                                           PtyCase{"9600,N,8,2", true}, PtyCase{"38400,N,8,2", true}),
                         [](const auto& info) {
                             return std::string(info.param.line).substr(0, info.param.line[4] == ',' ? 4 : 5) +
                                    (info.param.realistic ? "Radio" : "Ideal");
                         });

TEST(PtyLink, ClosingTheProgramSideIsNoHangUpForTheNextProgram)
{
    platform::SystemEventLoop loop;
    sim::Ft817 radio;
    sim::PtyLink link(loop, radio, {.realistic = false});
    std::string err;
    ASSERT_TRUE(link.Start(err)) << err;
    for (int round = 0; round < 2; ++round) {
        platform::PosixSerialPort port;
        port.SetDevicePath(link.Path());
        ASSERT_TRUE(port.Open(err)) << err;
        port.Write(std::string("\x00\x00\x00\x00\xE7", 5));
        platform::Pause(loop, 0.05);
        EXPECT_EQ(port.BytesWaiting(), 1) << "round " << round;
        EXPECT_FALSE(port.Vanished());
    }
}

TEST(PtyLink, PortNoticesWhenTheTerminalGoesAway)
{
    platform::SystemEventLoop loop;
    sim::Ft817 radio;
    auto link = std::make_unique<sim::PtyLink>(loop, radio, sim::WireOptions{.realistic = false});
    std::string err;
    ASSERT_TRUE(link->Start(err)) << err;
    platform::PosixSerialPort port;
    port.SetDevicePath(link->Path());
    ASSERT_TRUE(port.Open(err)) << err;
    link.reset(); // the master closes: the terminal hangs up
    port.BytesWaiting();
    EXPECT_TRUE(port.Vanished());
    port.Write(std::string(5, '\0')); // silent
    EXPECT_EQ(port.Read(), "");
}

#ifdef FT817_SIM_PATH
TEST(Ft817SimProgram, AnnouncesItsTerminalMakesTheLinkAndLogsFrames)
{
    const std::string linkPath = ::testing::TempDir() + "kivo-sim-link-" + std::to_string(::getpid());
    int out[2];
    ASSERT_EQ(::pipe(out), 0);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::dup2(out[1], 1);
        ::close(out[0]);
        ::execl(FT817_SIM_PATH, "ft817-sim", "--link", linkPath.c_str(), "--log", "--ideal", nullptr);
        ::_exit(127);
    }
    ::close(out[1]);
    std::FILE* in = ::fdopen(out[0], "r");
    char line[256] = {};
    ASSERT_NE(std::fgets(line, sizeof line, in), nullptr);
    EXPECT_EQ(std::string(line).rfind("ft817-sim: serving on /dev/pts/", 0), 0u) << line;

    platform::SystemEventLoop loop;
    platform::PosixSerialPort port;
    port.SetDevicePath(linkPath);
    std::string err;
    ASSERT_TRUE(port.Open(err)) << err;
    port.Write(std::string("\x14\x42\x00\x00\x01", 5));
    port.Write(std::string("\x00\x00\x00\x00\x03", 5));
    std::string reply;
    for (int i = 0; i < 100 && reply.size() < 5; ++i) {
        platform::Pause(loop, 0.01);
        reply += port.Read();
    }
    EXPECT_EQ(reply, std::string("\x14\x42\x00\x00\x08", 5));
    ASSERT_NE(std::fgets(line, sizeof line, in), nullptr);
    EXPECT_NE(std::string(line).find("14 42 00 00 01  set frequency 144.200.00 MHz"), std::string::npos) << line;
    ASSERT_NE(std::fgets(line, sizeof line, in), nullptr);
    EXPECT_NE(std::string(line).find("00 00 00 00 03  read frequency and mode"), std::string::npos) << line;

    port.Close();
    ::kill(pid, SIGTERM);
    int status = 0;
    ::waitpid(pid, &status, 0);
    std::fclose(in);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_NE(::access(linkPath.c_str(), F_OK), 0) << "the link is removed on exit";
}
#endif

} // namespace

TEST(BackgroundSim, ServesOnItsOwnThreadUntilStopped)
{
    sim::BackgroundSim bg({.realistic = false});
    std::string err;
    const std::string path = bg.Start(err);
    ASSERT_FALSE(path.empty()) << err;
    platform::SystemEventLoop loop;
    platform::PosixSerialPort port;
    port.SetDevicePath(path);
    ASSERT_TRUE(port.Open(err)) << err;
    port.Write(std::string("\x00\x00\x00\x00\x03", 5));
    for (int i = 0; i < 100 && port.BytesWaiting() < 5; ++i)
        platform::Pause(loop, 0.01);
    EXPECT_EQ(port.Read(), std::string("\x14\x42\x00\x00\x08", 5));
    bg.Stop();
}
