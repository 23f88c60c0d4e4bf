#include "tests/support/ChildProcess.h"

#include "platform/Tcp.h"
#include "tests/support/TempDir.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <thread>

namespace kivo::testing {

bool ChildProcess::Start(const std::string& program, const std::vector<std::string>& args,
                         const std::string& outputFile)
{
    Stop();
    const pid_t pid = ::fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        const int out = ::open(outputFile.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (out >= 0) {
            ::dup2(out, 1);
            ::dup2(out, 2);
        }
        std::vector<std::string> all{program};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (auto& a : all)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    m_pid = pid;
    return true;
}

void ChildProcess::Stop()
{
    if (m_pid <= 0)
        return;
    ::kill(m_pid, SIGTERM);
    int status = 0;
    for (int i = 0; i < 100; ++i) {
        if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::kill(m_pid, SIGKILL);
    ::waitpid(m_pid, &status, 0);
    m_pid = -1;
}

std::string FindProgram(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::stringstream dirs(std::string(path ? path : "") + ":/usr/sbin:/sbin:/usr/local/sbin");
    std::string dir;
    while (std::getline(dirs, dir, ':')) {
        if (dir.empty())
            continue;
        const std::string full = dir + "/" + name;
        if (::access(full.c_str(), X_OK) == 0)
            return full;
    }
    return {};
}

int FreeTcpPort()
{
    platform::TcpListener l;
    std::string error;
    return l.Listen("127.0.0.1", 0, error) ? l.Port() : 0;
}

bool WaitListening(int port, double seconds)
{
    // Read from the kernel's table rather than by connecting, which a server would take for a
    // client.
    char local[16];
    std::snprintf(local, sizeof local, ":%04X ", port);
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < until) {
        for (const char* table : {"/proc/net/tcp", "/proc/net/tcp6"}) {
            std::istringstream lines(ReadAll(table));
            std::string line;
            while (std::getline(lines, line)) {
                std::istringstream fields(line);
                std::string n, addr, remote, state;
                fields >> n >> addr >> remote >> state;
                if (state == "0A" && (addr + " ").find(local) != std::string::npos)
                    return true;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

bool WaitForText(const std::string& file, const std::string& text, double seconds)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < until) {
        if (Exists(file) && ReadAll(file).find(text) != std::string::npos)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

} // namespace kivo::testing
