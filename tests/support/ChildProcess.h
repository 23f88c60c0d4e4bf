#pragma once
// A program the test starts and stops itself (the simulator, a serial port server), its output
// into a file.

#include <string>
#include <vector>

namespace kivo::testing {

class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess() { Stop(); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts `program` with `args`, standard output and error into `outputFile`. False when it
    // could not be started.
    bool Start(const std::string& program, const std::vector<std::string>& args, const std::string& outputFile);
    // Ends it (SIGTERM, then SIGKILL after a second) and waits for it; nothing when not running.
    void Stop();
    bool Running() const { return m_pid > 0; }

private:
    int m_pid = -1;
};

// The full path of an installed program (PATH, then the system's sbin folders), or "".
std::string FindProgram(const std::string& name);
// A TCP port on 127.0.0.1 that nothing listens on at the moment.
int FreeTcpPort();
// Waits up to `seconds` until something listens on TCP port `port` of this machine.
bool WaitListening(int port, double seconds);
// Waits up to `seconds` for `text` to appear in the file; true when it did.
bool WaitForText(const std::string& file, const std::string& text, double seconds);

} // namespace kivo::testing
