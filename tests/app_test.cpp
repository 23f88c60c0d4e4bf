// The program as a user starts it: what it says when it cannot start.

#include "platform/ScriptedDialogs.h"
#include "state/DataFiles.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
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
    for (ssize_t n; (n = ::read(pipeFd[0], buf, sizeof buf)) > 0;)
        r.err.append(buf, std::size_t(n));
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
}

} // namespace
