#pragma once
// Another program run by a test (the simulator, a serial port server, a client script): its output
// into a file, or on a pipe read a line at a time without blocking, so that the test's virtual
// clock keeps running while the program works.

#include "platform/Tcp.h"
#include "tests/support/TempDir.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace kivo::testing {

// Asks `done` every 20 ms for up to `seconds`; true once it said yes.
inline bool WaitUntil(const std::function<bool()>& done, double seconds)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    for (; !done(); std::this_thread::sleep_for(std::chrono::milliseconds(20)))
        if (std::chrono::steady_clock::now() >= until)
            return false;
    return true;
}

class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess() { Stop(); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts argv[0] with `argv`, standard output and error into `outputFile`; with "" its input
    // and output are pipes, for Write() and Line(). False when it could not be started.
    bool Start(const std::vector<std::string>& argv, const std::string& outputFile = "")
    {
        Stop();
        int in[2] = {-1, -1}, out[2] = {-1, -1};
        if (outputFile.empty() && (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0))
            return false;
        m_pid = ::fork();
        if (m_pid == 0) {
            if (outputFile.empty()) {
                ::dup2(in[0], 0);
                ::dup2(out[1], 1);
            } else {
                const int to = ::open(outputFile.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
                ::dup2(to, 1);
                ::dup2(to, 2);
            }
            std::vector<char*> args;
            for (const auto& a : argv)
                args.push_back(const_cast<char*>(a.c_str()));
            args.push_back(nullptr);
            ::execv(args[0], args.data());
            ::_exit(127);
        }
        ::close(in[0]), ::close(out[1]);
        m_in = in[1], m_out = out[0];
        ::fcntl(m_out, F_SETFL, O_NONBLOCK);
        m_status.reset();
        return m_pid > 0;
    }
    // Ends it (SIGTERM, then SIGKILL after a second) and waits for it; nothing when not running.
    void Stop()
    {
        if (m_pid > 0 && (::kill(m_pid, SIGTERM), !WaitUntil([this] { return Ended().has_value(); }, 1))) {
            ::kill(m_pid, SIGKILL);
            WaitUntil([this] { return Ended().has_value(); }, 10);
        }
        ::close(std::exchange(m_in, -1)), ::close(std::exchange(m_out, -1));
    }
    // A whole line it wrote, without its "\n"; nothing while none has come.
    std::optional<std::string> Line()
    {
        char buf[4096];
        for (ssize_t n; (n = ::read(m_out, buf, sizeof buf)) > 0;)
            m_got.append(buf, std::size_t(n));
        const auto nl = m_got.find('\n');
        if (nl == std::string::npos)
            return std::nullopt;
        std::string line = m_got.substr(0, nl);
        m_got.erase(0, nl + 1);
        return line;
    }
    void Write(const std::string& text) { (void)!::write(m_in, text.data(), text.size()); }
    // Its exit status once it has ended; nothing while it runs.
    std::optional<int> Ended()
    {
        int status = 0;
        if (m_pid > 0 && ::waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            m_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        return m_status;
    }

private:
    int m_pid = -1, m_in = -1, m_out = -1;
    std::string m_got;
    std::optional<int> m_status;
};

// A TCP port on 127.0.0.1 that nothing listens on at the moment.
inline int FreeTcpPort()
{
    platform::TcpListener l;
    std::string error;
    return l.Listen("127.0.0.1", 0, error) ? l.Port() : 0;
}

// Waits up to `seconds` until something listens on TCP port `port` of this machine. Read from the
// kernel's tables rather than by connecting, which a server would take for a client: a listening
// socket's line has the port, no remote address and the state 0A.
inline bool WaitListening(int port, double seconds)
{
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
