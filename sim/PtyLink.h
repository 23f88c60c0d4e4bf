#pragma once
// The simulator behind a pseudo-terminal, so the program's real serial stack can talk to it.

#include "platform/SystemEventLoop.h"
#include "sim/Wire.h"

#include <memory>
#include <string>

namespace kivo::sim {

class PtyLink {
public:
    PtyLink(platform::SystemEventLoop& loop, Ft817& radio, WireOptions options = {});
    ~PtyLink();
    PtyLink(const PtyLink&) = delete;
    PtyLink& operator=(const PtyLink&) = delete;

    // Creates the pseudo-terminal and starts serving it. On failure returns false with a reason.
    bool Start(std::string& error);
    // Path of the terminal a program opens as its serial port, e.g. "/dev/pts/4".
    const std::string& Path() const { return m_path; }
    // Also makes `linkPath` a symlink to Path() (replacing an old symlink); removed on destruction.
    bool MakeLink(const std::string& linkPath, std::string& error);

    Wire& GetWire() { return m_wire; }

    // The terminal goes away, as a radio switched off or a cable pulled: the program's port sees
    // a hang-up. The symlink stays and points nowhere until Offer().
    void Withdraw();
    // A new terminal in its place (the same path when the system gives it; the symlink follows).
    bool Offer(std::string& error);
    bool Offered() const { return m_master >= 0; }

private:
    void OnReadable();
    // While the wire is silent: a program that closes the terminal and opens it again gets
    // answers again.
    void WatchReopen();

    platform::SystemEventLoop& m_loop;
    Wire m_wire;
    int m_master = -1;
    int m_slaveKeep = -1; // held open so the master never sees a hang-up between clients
    std::string m_path;
    std::string m_link;
    std::unique_ptr<platform::Timer> m_reopen; // looks for the terminal opened afresh
    bool m_closedByProgram = false;
};

} // namespace kivo::sim
