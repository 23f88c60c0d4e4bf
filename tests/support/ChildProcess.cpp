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
#include <utility>

namespace kivo::testing {

bool ChildProcess::Start(const std::vector<std::string>& argv, const std::string& outputFile)
{
    Stop();
    int in[2] = {-1, -1}, out[2] = {-1, -1};
    if (outputFile.empty() && (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0))
        return false;
    m_pid = ::fork();
    if (m_pid == 0) {
        const int to = outputFile.empty() ? out[1] : ::open(outputFile.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (in[0] >= 0)
            ::dup2(in[0], 0);
        ::dup2(to, 1);
        if (!outputFile.empty())
            ::dup2(to, 2);
        std::vector<char*> args;
        for (const auto& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    for (int fd : {in[0], out[1]})
        if (fd >= 0)
            ::close(fd);
    m_in = in[1];
    m_out = out[0];
    if (m_out >= 0)
        ::fcntl(m_out, F_SETFL, O_NONBLOCK);
    m_status.reset();
    return m_pid > 0;
}

void ChildProcess::Stop()
{
    if (m_pid > 0) {
        ::kill(m_pid, SIGTERM);
        WaitUntil([this] { return Ended().has_value(); }, 1);
        if (m_pid > 0)
            ::kill(m_pid, SIGKILL);
        while (m_pid > 0 && !Ended())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    Close();
}

void ChildProcess::Close()
{
    for (int* fd : {&m_in, &m_out})
        if (*fd >= 0)
            ::close(std::exchange(*fd, -1));
}

std::optional<std::string> ChildProcess::Line()
{
    char buf[4096];
    for (ssize_t n; m_out >= 0 && (n = ::read(m_out, buf, sizeof buf)) > 0;)
        m_got.append(buf, std::size_t(n));
    const auto nl = m_got.find('\n');
    if (nl == std::string::npos)
        return std::nullopt;
    std::string line = m_got.substr(0, nl);
    m_got.erase(0, nl + 1);
    return line;
}

void ChildProcess::Write(const std::string& text) { (void)!::write(m_in, text.data(), text.size()); }

std::optional<int> ChildProcess::Ended()
{
    int status = 0;
    if (m_pid <= 0 || ::waitpid(m_pid, &status, WNOHANG) != m_pid)
        return m_status;
    m_pid = -1;
    m_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return m_status;
}

std::string FindProgram(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::stringstream dirs(std::string(path ? path : "") + ":/usr/sbin:/sbin:/usr/local/sbin");
    for (std::string dir; std::getline(dirs, dir, ':');)
        if (!dir.empty() && ::access((dir + "/" + name).c_str(), X_OK) == 0)
            return dir + "/" + name;
    return {};
}

int FreeTcpPort()
{
    platform::TcpListener l;
    std::string error;
    return l.Listen("127.0.0.1", 0, error) ? l.Port() : 0;
}

bool WaitUntil(const std::function<bool()>& done, double seconds)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    for (; !done(); std::this_thread::sleep_for(std::chrono::milliseconds(20)))
        if (std::chrono::steady_clock::now() >= until)
            return false;
    return true;
}

bool WaitListening(int port, double seconds)
{
    // Read from the kernel's tables rather than by connecting, which a server would take for a
    // client: a listening socket's line has the port, no remote address and the state 0A.
    char hex[8];
    std::snprintf(hex, sizeof hex, ":%04X ", port);
    const std::string v4 = hex + std::string(8, '0') + ":0000 0A", v6 = hex + std::string(32, '0') + ":0000 0A";
    return WaitUntil(
        [&] {
            return ReadAll("/proc/net/tcp").find(v4) != std::string::npos ||
                   ReadAll("/proc/net/tcp6").find(v6) != std::string::npos;
        },
        seconds);
}

} // namespace kivo::testing
