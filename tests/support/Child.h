#pragma once
// Another program run by a test, its input and output on pipes: lines read without blocking,
// so the test's virtual clock keeps running while the program works.

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <vector>

namespace kivo::testing {

class Child {
public:
    explicit Child(const std::vector<std::string>& argv)
    {
        int in[2], out[2];
        if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0)
            return;
        m_pid = ::fork();
        if (m_pid == 0) {
            ::dup2(in[0], 0);
            ::dup2(out[1], 1);
            std::vector<char*> args;
            for (const auto& a : argv)
                args.push_back(const_cast<char*>(a.c_str()));
            args.push_back(nullptr);
            ::execv(args[0], args.data());
            ::_exit(127);
        }
        ::close(in[0]);
        ::close(out[1]);
        m_in = in[1];
        m_out = out[0];
        ::fcntl(m_out, F_SETFL, O_NONBLOCK);
    }
    ~Child()
    {
        Kill();
        if (m_in >= 0)
            ::close(m_in);
        if (m_out >= 0)
            ::close(m_out);
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    bool Started() const { return m_pid > 0; }
    // A whole line the program wrote, without its "\n"; nothing while none has come.
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
    // The exit status once the program has ended; nothing while it runs.
    std::optional<int> Ended()
    {
        int status = 0;
        if (m_pid <= 0 || ::waitpid(m_pid, &status, WNOHANG) != m_pid)
            return m_status;
        m_pid = -1;
        m_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return m_status;
    }
    void Kill()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
            m_pid = -1;
        }
    }

private:
    pid_t m_pid = -1;
    int m_in = -1, m_out = -1;
    std::string m_got;
    std::optional<int> m_status;
};

} // namespace kivo::testing
