// The real serial stack against the simulator on a pseudo-terminal.

#include "platform/DisplayModel.h"
#include "platform/PosixSerialPort.h"
#include "platform/ScriptedDialogs.h"
#include "platform/SystemEventLoop.h"
#include "radio/Cat.h"
#include "radio/CatRateDetect.h"
#include "radio/CommPort.h"
#include "radio/Meter.h"
#include "sim/BackgroundSim.h"
#include "sim/Ft817.h"
#include "sim/PtyLink.h"
#include "tests/support/Bytes.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <fstream>

using namespace kivo;

namespace {

using kivo::testing::F;

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
        link = std::make_unique<sim::PtyLink>(loop, radio,
                                              GetParam().realistic ? sim::WireOptions{} : sim::WireOptions::Ideal());
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
    sim::PtyLink link(loop, radio, sim::WireOptions::Ideal());
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
    auto link = std::make_unique<sim::PtyLink>(loop, radio, sim::WireOptions::Ideal());
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
// ft817-sim as its own process, serving on a symlink, its output read through a pipe.
struct SimProcess {
    std::string link = ::testing::TempDir() + "kivo-sim-link-" + std::to_string(::getpid());
    pid_t pid = -1;
    std::FILE* out = nullptr;

    explicit SimProcess(std::vector<std::string> args)
    {
        int fds[2];
        if (::pipe(fds) != 0)
            return;
        pid = ::fork();
        if (pid == 0) {
            ::dup2(fds[1], 1);
            ::close(fds[0]);
            std::vector<std::string> all{"ft817-sim", "--link", link};
            all.insert(all.end(), args.begin(), args.end());
            std::vector<char*> argv;
            for (auto& a : all)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(FT817_SIM_PATH, argv.data());
            ::_exit(127);
        }
        ::close(fds[1]);
        out = ::fdopen(fds[0], "r");
    }
    std::string Line()
    {
        char line[256] = {};
        return out && std::fgets(line, sizeof line, out) ? line : "";
    }
    // Stops the simulator; true when it ended cleanly. The rest of its output stays readable.
    bool Stop()
    {
        ::kill(pid, SIGTERM);
        int status = 0;
        ::waitpid(pid, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    ~SimProcess()
    {
        if (out)
            std::fclose(out);
    }
};

TEST(Ft817SimProgram, AnnouncesItsTerminalMakesTheLinkAndLogsFrames)
{
    SimProcess sim({"--log", "--ideal"});
    ASSERT_GT(sim.pid, 0);
    const std::string first = sim.Line();
    EXPECT_EQ(first.rfind("ft817-sim: serving on /dev/pts/", 0), 0u) << first;

    platform::SystemEventLoop loop;
    platform::PosixSerialPort port;
    port.SetDevicePath(sim.link);
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
    std::string line = sim.Line();
    EXPECT_NE(line.find("14 42 00 00 01  set frequency 144.200.00 MHz  (no answer)"), std::string::npos) << line;
    line = sim.Line();
    EXPECT_NE(line.find("00 00 00 00 03  read frequency and mode  -> 14 42 00 00 08"), std::string::npos) << line;

    port.Close();
    EXPECT_TRUE(sim.Stop());
    EXPECT_NE(::access(sim.link.c_str(), F_OK), 0) << "the link is removed on exit";
}

// A client as the common CAT programs are written: raw port, each command written as soon as
// the previous one has been answered, 3 s to wait for an answer.
class WaitingClient {
public:
    explicit WaitingClient(const std::string& path) : m_fd(::open(path.c_str(), O_RDWR | O_NOCTTY))
    {
        termios t{};
        if (m_fd >= 0 && ::tcgetattr(m_fd, &t) == 0) {
            ::cfmakeraw(&t);
            ::cfsetspeed(&t, B9600);
            t.c_cflag |= CSTOPB | CLOCAL | CREAD;
            ::tcsetattr(m_fd, TCSANOW, &t);
        }
    }
    ~WaitingClient()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool Ok() const { return m_fd >= 0; }
    // Writes the frame and returns its answer of `n` bytes, or what came within 3 s.
    std::string Ask(const std::string& frame, std::size_t n)
    {
        if (::write(m_fd, frame.data(), frame.size()) != ssize_t(frame.size()))
            return "write failed";
        std::string got;
        pollfd p{m_fd, POLLIN, 0};
        while (got.size() < n && ::poll(&p, 1, 3000) > 0) {
            char buf[16];
            const ssize_t r = ::read(m_fd, buf, sizeof buf);
            if (r <= 0)
                break;
            got.append(buf, std::size_t(r));
        }
        return got;
    }

private:
    int m_fd;
};

TEST(Ft817SimProgram, AClientThatWaitsForEachAnswerLosesNothing)
{
    SimProcess sim({"--log"}); // the radio as it is: service time and acknowledgements
    ASSERT_GT(sim.pid, 0);
    sim.Line();
    WaitingClient client(sim.link);
    ASSERT_TRUE(client.Ok());
    const std::string ack(1, '\0');
    struct Step {
        std::string frame;
        std::string answer;
    };
    const std::vector<Step> steps{
        {F({0x14, 0x50, 0x00, 0x00, 0x01}), ack},
        {F({0, 0, 0, 0, 0x03}), F({0x14, 0x50, 0x00, 0x00, 0x08})},
        {F({0x01, 0, 0, 0, 0x07}), ack},
        {F({0, 0, 0, 0, 0x03}), F({0x14, 0x50, 0x00, 0x00, 0x01})},
        {F({0, 0, 0, 0, 0x81}), ack},
        {F({0, 0, 0, 0, 0x03}), F({0x43, 0x30, 0x00, 0x00, 0x08})},
        {F({0, 0, 0, 0, 0x08}), ack},
        {F({0, 0, 0, 0, 0x88}), ack},
        {F({0x00, 0x00, 0, 0, 0xBB}), F({0x27, 0xC4})},
    };
    for (const auto& step : steps)
        EXPECT_EQ(client.Ask(step.frame, step.answer.size()), step.answer) << sim::DescribeFrame(step.frame);
    ASSERT_TRUE(sim.Stop());
    int frames = 0;
    for (std::string line = sim.Line(); !line.empty(); line = sim.Line()) {
        ++frames;
        EXPECT_EQ(line.find("(dropped)"), std::string::npos) << line;
    }
    EXPECT_EQ(frames, int(steps.size()));
}
TEST(Ft817SimProgram, AnswersOnlyAtItsOwnRateSoTheProgramCanFindIt)
{
    SimProcess sim({"--log", "--rate", "38400"});
    ASSERT_GT(sim.pid, 0);
    sim.Line();
    platform::SystemEventLoop loop;
    platform::PosixSerialPort port;
    port.SetDevicePath(sim.link);
    state::ModKIVO kivo;
    platform::DisplayModel display;
    platform::ScriptedDialogs dialogs;
    radio::Cat cat(kivo, port, loop, display);
    radio::CommPort comm(kivo, port, dialogs, display);
    radio::CatRateDetect detect(kivo, cat, comm, dialogs, display);
    kivo.Settings.CommPort = 1;
    kivo.Settings.CatRate = 1;
    comm.OpenCommPort();
    ASSERT_TRUE(kivo.PortReady);

    detect.mnuDetectCatRate_Click();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "The radio answered at 38400 bps. The CAT Rate is now 38400 bps.");
    EXPECT_EQ(kivo.Settings.CatRate, 2);
    ASSERT_TRUE(sim.Stop());
    // Two reads at 4800 and two at 9600 met a receiver set otherwise; the fifth was answered.
    std::vector<std::string> lines;
    for (std::string line = sim.Line(); !line.empty(); line = sim.Line())
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 5u);
    for (int i = 0; i < 4; ++i)
        EXPECT_NE(lines[std::size_t(i)].find("read frequency and mode  (wrong rate) garbage sent"), std::string::npos)
            << lines[std::size_t(i)];
    EXPECT_NE(lines[4].find("read frequency and mode  -> 14 42 00 00 08"), std::string::npos) << lines[4];
}
#endif

} // namespace

TEST(BackgroundSim, ServesOnItsOwnThreadUntilStopped)
{
    sim::BackgroundSim bg(sim::WireOptions::Ideal());
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
