#include "sim/PtyLink.h"

#include <fcntl.h>
#include <poll.h>
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
    Withdraw();
    if (!m_link.empty())
        ::unlink(m_link.c_str());
}

void PtyLink::Withdraw()
{
    if (m_master >= 0) {
        m_loop.UnwatchFd(m_master);
        ::close(m_master);
        m_master = -1;
    }
    if (m_slaveKeep >= 0)
        ::close(m_slaveKeep);
    m_slaveKeep = -1;
    m_closedByProgram = false;
}

bool PtyLink::Offer(std::string& error)
{
    Withdraw();
    if (!Start(error))
        return false;
    if (m_link.empty())
        return true;
    const std::string link = m_link;
    m_link.clear();
    return MakeLink(link, error);
}

void PtyLink::WatchReopen()
{
    if (m_master < 0 || !m_wire.Silent())
        return;
    // Without a descriptor of its own on the terminal, the link sees the program close it.
    if (m_slaveKeep >= 0) {
        ::close(m_slaveKeep);
        m_slaveKeep = -1;
    }
    pollfd p{m_master, POLLIN, 0};
    ::poll(&p, 1, 0);
    const bool hungUp = (p.revents & POLLHUP) != 0;
    if (hungUp && !m_closedByProgram) {
        m_closedByProgram = true;
        m_loop.UnwatchFd(m_master); // a hang-up would wake the loop over and over
    } else if (!hungUp && m_closedByProgram) {
        // Opened again: a fresh start for the radio's CAT.
        m_closedByProgram = false;
        m_wire.Unsilence();
        m_slaveKeep = ::open(m_path.c_str(), O_RDWR | O_NOCTTY);
        m_loop.WatchFd(m_master, [this] { OnReadable(); });
    }
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
    if (m_wire.Options().silentAfter > 0 && !m_reopen) {
        m_reopen = m_loop.CreateTimer();
        m_reopen->SetInterval(200);
        m_reopen->onTick = [this] { WatchReopen(); };
        m_reopen->SetEnabled(true);
    }
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
        if (n < 0 && errno == EIO && m_slaveKeep < 0 && !m_closedByProgram) {
            // Nobody has the terminal open: the reopen watch takes over.
            m_closedByProgram = true;
            m_loop.UnwatchFd(m_master);
        }
        break;
    }
}

} // namespace kivo::sim
