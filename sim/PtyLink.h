#pragma once
// The simulator behind a pseudo-terminal, so the program's real serial stack can talk to it.

#include "platform/SystemEventLoop.h"
#include "sim/Wire.h"

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

private:
    void OnReadable();

    platform::SystemEventLoop& m_loop;
    Wire m_wire;
    int m_master = -1;
    int m_slaveKeep = -1; // held open so the master never sees a hang-up between clients
    std::string m_path;
    std::string m_link;
};

} // namespace kivo::sim
