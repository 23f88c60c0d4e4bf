#include "sim/PtyLink.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace kivo::sim {

PtyLink::PtyLink(platform::SystemEventLoop& loop, Ft817& radio, WireOptions options)
    : m_loop(loop), m_wire(loop, radio, options)
{
    // The speed the program set on its side of the terminal, as the radio's receiver would meet it.
    m_wire.lineRate = [this] {
        termios t{};
        if (m_slaveKeep < 0 || ::tcgetattr(m_slaveKeep, &t) != 0)
            return 0;
        switch (::cfgetospeed(&t)) {
        case B4800: return 4800;
        case B9600: return 9600;
        case B19200: return 19200;
        case B38400: return 38400;
        default: return 0;
        }
    };
    m_wire.send = [this](const std::string& bytes) {
        std::size_t done = 0;
        while (m_master >= 0 && done < bytes.size()) {
            const ssize_t n = ::write(m_master, bytes.data() + done, bytes.size() - done);
            if (n > 0)
                done += std::size_t(n);
            else if (n < 0 && errno == EINTR)
                continue;
            else
                break; // nobody is reading: the bytes are lost, as on a real line
        }
    };
}

PtyLink::~PtyLink()
{
    if (m_master >= 0) {
        m_loop.UnwatchFd(m_master);
        ::close(m_master);
    }
    if (m_slaveKeep >= 0)
        ::close(m_slaveKeep);
    if (!m_link.empty())
        ::unlink(m_link.c_str());
}

bool PtyLink::Start(std::string& error)
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    const char* name = ::ptsname(m_master);
    if (!name) {
        error = std::string("cannot name the pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    m_path = name;
    m_slaveKeep = ::open(m_path.c_str(), O_RDWR | O_NOCTTY);
    if (m_slaveKeep < 0) {
        error = "cannot open " + m_path + ": " + std::strerror(errno);
        return false;
    }
    // Raw from the start: no echo or line editing before a program sets its own modes.
    termios t{};
    if (::tcgetattr(m_slaveKeep, &t) == 0) {
        ::cfmakeraw(&t);
        ::tcsetattr(m_slaveKeep, TCSANOW, &t);
    }
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_loop.WatchFd(m_master, [this] { OnReadable(); });
    return true;
}

bool PtyLink::MakeLink(const std::string& linkPath, std::string& error)
{
    ::unlink(linkPath.c_str()); // an old link of an earlier run
    if (::symlink(m_path.c_str(), linkPath.c_str()) != 0) {
        error = "cannot make " + linkPath + ": " + std::strerror(errno);
        return false;
    }
    m_link = linkPath;
    return true;
}

void PtyLink::OnReadable()
{
    char buf[256];
    for (;;) {
        const ssize_t n = ::read(m_master, buf, sizeof buf);
        if (n > 0) {
            m_wire.Receive(std::string_view(buf, std::size_t(n)));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break;
    }
}

} // namespace kivo::sim
