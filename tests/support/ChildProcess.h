#pragma once
// Another program run by a test (the simulator, a serial port server, a client script): its output
// into a file, or on a pipe read a line at a time without blocking, so that the test's virtual
// clock keeps running while the program works.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kivo::testing {

class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess() { Stop(); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts argv[0] with `argv`, standard output and error into `outputFile`; with "" its input
    // and output are pipes, for Write() and Line(). False when it could not be started.
    bool Start(const std::vector<std::string>& argv, const std::string& outputFile = "");
    // Ends it (SIGTERM, then SIGKILL after a second) and waits for it; nothing when not running.
    void Stop();
    // A whole line it wrote, without its "\n"; nothing while none has come.
    std::optional<std::string> Line();
    void Write(const std::string& text);
    // Its exit status once it has ended; nothing while it runs.
    std::optional<int> Ended();

private:
    void Close();

    int m_pid = -1, m_in = -1, m_out = -1;
    std::string m_got;
    std::optional<int> m_status;
};

// The full path of an installed program (PATH, then the system's sbin folders), or "".
std::string FindProgram(const std::string& name);
// A TCP port on 127.0.0.1 that nothing listens on at the moment.
int FreeTcpPort();
// Asks `done` every 20 ms for up to `seconds`; true once it said yes.
bool WaitUntil(const std::function<bool()>& done, double seconds);
// Waits up to `seconds` until something listens on TCP port `port` of this machine.
bool WaitListening(int port, double seconds);

} // namespace kivo::testing
