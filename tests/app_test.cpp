// The program as a user starts it: what it says when it cannot start, and how it ends on a signal.

#include "platform/ScriptedDialogs.h"
#include "state/DataFiles.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Ran {
    int exitCode = -1;
    std::string err;
};

// Runs the program with exactly this environment, its standard error captured; `signal` is sent
// to it after `after` seconds when given.
Ran RunProgram(std::vector<std::string> args, std::vector<std::string> env, int signal = 0, int after = 0)
{
    int pipeFd[2];
    if (::pipe(pipeFd) != 0)
        return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(pipeFd[1], 2);
        ::close(pipeFd[0]);
        args.insert(args.begin(), KIVO_APP_PATH);
        std::vector<char*> argv, envp;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        for (auto& e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        ::execve(KIVO_APP_PATH, argv.data(), envp.data());
        ::_exit(127);
    }
    ::close(pipeFd[1]);
    if (signal) {
        ::sleep(unsigned(after));
        ::kill(pid, signal);
    }
    Ran r;
    char buf[512];
    // A program that does not end within 30 s has hung: it is killed, and the test sees that.
    for (int waited = 0;;) {
        pollfd p{pipeFd[0], POLLIN, 0};
        if (::poll(&p, 1, 100) == 0) {
            if (++waited > 300) {
                ::kill(pid, SIGKILL);
                break;
            }
            continue;
        }
        const ssize_t n = ::read(pipeFd[0], buf, sizeof buf);
        if (n <= 0)
            break;
        r.err.append(buf, std::size_t(n));
    }
    ::close(pipeFd[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return r;
}

TEST(Program, WithoutADisplayItSaysSoInOneLineAndEnds)
{
    kivo::testing::TempDir dir;
    const std::string home = "HOME=" + dir.path();
    for (const char* display : {"", "DISPLAY=:87"}) { // none set, and one nobody serves
        std::vector<std::string> env{home, "QT_QPA_PLATFORM=xcb", "PATH=/usr/bin:/bin"};
        if (*display)
            env.push_back(display);
        const Ran r = RunProgram({"--data-dir", dir / "data"}, env);
        EXPECT_EQ(r.exitCode, 1) << display << ": " << r.err;
        EXPECT_EQ(r.err.rfind("kivo-ft817: cannot open a window: no display could be opened (", 0), 0u) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
}

TEST(Program, ASignalEndsItInOrderWithEverythingSaved)
{
    kivo::testing::TempDir dir;
    const std::string data = dir / "data";
    std::filesystem::create_directory(data);
    kivo::state::ModKIVO s;
    s.Settings = kivo::state::DefaultSettings();
    s.BandData = kivo::state::DefaultBandData();
    kivo::platform::PosixFileSystem fs;
    kivo::platform::ScriptedDialogs dialogs;
    kivo::state::DataFiles files(s, fs, dialogs, data);
    ASSERT_TRUE(files.SaveSettingsFile() && files.SaveBandDataFile());
    const std::string home = data + "/homemem.kivo";
    // Lit and idle, and in the middle of starting up.
    for (auto [sig, after] : {std::pair{SIGTERM, 5}, std::pair{SIGINT, 4}, std::pair{SIGHUP, 1}}) {
        ::unlink(home.c_str());
        const Ran r = RunProgram({"--simulate", "--power", "--data-dir", data},
                                 {"HOME=" + dir.path(), "QT_QPA_PLATFORM=offscreen", "PATH=/usr/bin:/bin"}, sig, after);
        EXPECT_EQ(r.exitCode, 0) << sig << ": " << r.err;
        EXPECT_EQ(kivo::testing::FileSize(home), 1236) << sig << ": the HOME memories are saved at the end";
    }

    // A first start, its message about the band file waiting for an answer: the end comes anyway.
    const std::string fresh = dir / "fresh";
    std::filesystem::create_directory(fresh);
    const Ran r = RunProgram({"--simulate", "--data-dir", fresh},
                             {"HOME=" + dir.path(), "QT_QPA_PLATFORM=offscreen", "PATH=/usr/bin:/bin"}, SIGTERM, 3);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(kivo::testing::FileSize(fresh + "/bandinfo.kivo"), 1204);
}

// The simulator as a program of its own on a pseudo-terminal, logging each frame it takes.
class SimProcess {
public:
    explicit SimProcess(const std::string& link)
    {
        int out[2];
        if (::pipe(out) != 0)
            return;
        m_pid = ::fork();
        if (m_pid == 0) {
            ::dup2(out[1], 1);
            ::close(out[0]);
            ::execl(FT817_SIM_PATH, FT817_SIM_PATH, "--ideal", "--log", "--link", link.c_str(), nullptr);
            ::_exit(127);
        }
        ::close(out[1]);
        m_out = out[0];
        // Serving once the link is there.
        for (int i = 0; i < 100 && ::access(link.c_str(), F_OK) != 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    // Ends it and returns everything it logged.
    std::string Stop()
    {
        if (m_pid <= 0)
            return {};
        ::kill(m_pid, SIGTERM);
        std::string log;
        char buf[4096];
        for (ssize_t n; (n = ::read(m_out, buf, sizeof buf)) > 0;)
            log.append(buf, std::size_t(n));
        ::close(m_out);
        ::waitpid(m_pid, nullptr, 0);
        m_pid = -1;
        return log;
    }
    ~SimProcess() { Stop(); }

private:
    pid_t m_pid = -1;
    int m_out = -1;
};

TEST(Program, ASignalWhileLitSendsTransmitOffBeforeTheProgramEnds)
{
    kivo::testing::TempDir dir;
    const std::string data = dir / "data";
    std::filesystem::create_directory(data);
    const std::string link = dir / "radio";
    SimProcess sim(link);
    ASSERT_EQ(::access(link.c_str(), F_OK), 0) << "the simulator serves " << link;

    kivo::state::ModKIVO s;
    s.Settings = kivo::state::DefaultSettings();
    s.Settings.CommPort = 1;
    s.Settings.TuneOnStartup = 0;
    s.BandData = kivo::state::DefaultBandData();
    kivo::platform::PosixFileSystem fs;
    kivo::platform::ScriptedDialogs dialogs;
    kivo::state::DataFiles files(s, fs, dialogs, data);
    ASSERT_TRUE(files.SaveSettingsFile() && files.SaveBandDataFile());
    ASSERT_TRUE(fs.WriteAtomic(data + "/serialports.txt", "1\t" + link + "\n")); // port 1 is the simulator

    const Ran r = RunProgram({"--power", "--data-dir", data},
                             {"HOME=" + dir.path(), "QT_QPA_PLATFORM=offscreen", "PATH=/usr/bin:/bin"}, SIGTERM, 5);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const std::string log = sim.Stop();
    EXPECT_NE(log.find("set frequency 28.300.00 MHz"), std::string::npos) << "lit on the simulator:\n" << log;
    const auto off = log.rfind("00 00 00 00 88  PTT off");
    ASSERT_NE(off, std::string::npos) << log;
    EXPECT_EQ(log.find("PTT on", off), std::string::npos) << log;
}

} // namespace
