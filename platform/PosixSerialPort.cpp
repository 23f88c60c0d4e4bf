#include "platform/PosixSerialPort.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#if __has_include(<linux/serial.h>)
#include <linux/serial.h>
#endif

namespace kivo::platform {

namespace fs = std::filesystem;

namespace {

std::vector<std::string> SortedGlob(const std::string& dir, const std::string& prefix)
{
    std::vector<std::string> out;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dir, ec)) {
        const std::string name = e.path().filename().string();
        if (name.rfind(prefix, 0) == 0)
            out.push_back(e.path().string());
    }
    // ttyS2 before ttyS10.
    std::sort(out.begin(), out.end(), [](const std::string& a, const std::string& b) {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    });
    return out;
}

// Built-in ttyS nodes exist whether or not a UART sits behind them.
bool HasUart(const std::string& path)
{
#if __has_include(<linux/serial.h>)
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return errno == EACCES; // it exists; the user may lack the right to open it
    serial_struct info{};
    const bool ok = ::ioctl(fd, TIOCGSERIAL, &info) == 0 && info.type != PORT_UNKNOWN;
    ::close(fd);
    return ok;
#else
    (void)path;
    return true;
#endif
}

speed_t SpeedOf(const std::string& settings)
{
    const int rate = std::atoi(settings.c_str());
    switch (rate) {
    case 4800: return B4800;
    case 38400: return B38400;
    default: return B9600;
    }
}

std::string Describe(int err, const std::string& path)
{
    switch (err) {
    case EACCES: return path + ": Permission denied (add your user to the dialout group, then log in again)";
    case EBUSY:
    case EWOULDBLOCK: return path + ": the port is in use by another program";
    case ENOENT:
    case ENODEV:
    case ENXIO: return path + ": no such device (is the radio's cable plugged in?)";
    default: return path + ": " + std::strerror(err);
    }
}

// The ttyS ports the kernel writes its console to: a radio program must never write there.
std::vector<std::string> ConsoleTtys()
{
    std::vector<std::string> out;
    std::FILE* f = std::fopen("/sys/class/tty/console/active", "r");
    if (!f)
        return out;
    char name[64];
    while (std::fscanf(f, "%63s", name) == 1)
        out.push_back(std::string("/dev/") + name);
    std::fclose(f);
    return out;
}

} // namespace

std::vector<std::string> ListSerialDevices()
{
    std::vector<std::string> out;
    auto add = [&out](const std::string& p) {
        std::error_code ec;
        const std::string real = fs::weakly_canonical(p, ec).string();
        for (const auto& o : out)
            if (fs::weakly_canonical(o, ec).string() == real)
                return;
        out.push_back(p);
    };
    for (const auto& p : SortedGlob("/dev/serial/by-id", ""))
        add(p);
    for (const char* prefix : {"ttyUSB", "ttyACM"})
        for (const auto& p : SortedGlob("/dev", prefix))
            add(p);
    const auto consoles = ConsoleTtys();
    for (const auto& p : SortedGlob("/dev", "ttyS"))
        if (std::find(consoles.begin(), consoles.end(), p) == consoles.end() && HasUart(p))
            add(p);
    return out;
}

PosixSerialPort::PosixSerialPort() = default;

PosixSerialPort::~PosixSerialPort() { Close(); }

bool PosixSerialPort::RefreshDevices()
{
    m_present.clear();
    if (!m_simulator.empty())
        m_present.push_back(kSimulatorDevice);
    if (m_lister)
        for (auto& d : m_lister())
            m_present.push_back(std::move(d));
    return m_map.Bind(m_present);
}

std::string PosixSerialPort::Caption(int number) const
{
    const std::string& dev = m_map.DeviceOf(number);
    if (dev.empty())
        return {};
    const bool present = std::find(m_present.begin(), m_present.end(), dev) != m_present.end();
    return present ? dev : dev + " (not connected)";
}

void PosixSerialPort::SetBufferSizes(int, int, int inputLength) { m_inputLength = std::max(1, inputLength); }

bool PosixSerialPort::Open(std::string& error)
{
    Close();
    // Only the device the number is bound to, never whatever else is present now.
    std::string path = m_path.empty() ? DeviceOf(m_number) : m_path;
    if (path.empty()) {
        error = "there is no serial device numbered " + std::to_string(m_number) + " on this computer";
        return false;
    }
    if (path == kSimulatorDevice) {
        if (m_simulator.empty()) {
            error = path + ": not running (start the program with --simulate)";
            return false;
        }
        path = m_simulator;
    }
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = Describe(errno, path);
        return false;
    }
    // Another program holding the port (by lock or exclusive mode) must not share it.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        error = Describe(EBUSY, path);
        ::close(fd);
        return false;
    }
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) {
        error = Describe(errno, path);
        ::close(fd);
        return false;
    }
    ::cfmakeraw(&tio);
    tio.c_cflag &= ~tcflag_t(PARENB | CRTSCTS | CSIZE);
    tio.c_cflag |= CS8 | CSTOPB | CLOCAL | CREAD;
    tio.c_iflag &= ~tcflag_t(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    ::cfsetispeed(&tio, SpeedOf(m_settings));
    ::cfsetospeed(&tio, SpeedOf(m_settings));
    if (::tcsetattr(fd, TCSANOW, &tio) != 0) {
        error = Describe(errno, path);
        ::close(fd);
        return false;
    }
    ::ioctl(fd, TIOCEXCL);
    ::tcflush(fd, TCIOFLUSH);
    m_fd = fd;
    m_vanished = false;
    m_rx.clear();
    return true;
}

void PosixSerialPort::Close()
{
    if (m_fd >= 0) {
        ::ioctl(m_fd, TIOCNXCL);
        ::close(m_fd);
    }
    m_fd = -1;
    m_rx.clear();
}

void PosixSerialPort::Gone()
{
    // Stay "open" until the program closes the port, as a vanished device does, but never
    // touch the descriptor again: no error storm, no spinning.
    m_vanished = true;
    m_rx.clear();
}

void PosixSerialPort::Pull()
{
    if (m_fd < 0 || m_vanished)
        return;
    pollfd p{m_fd, POLLIN, 0};
    if (::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL))) {
        Gone();
        return;
    }
    char buf[256];
    for (;;) {
        const ssize_t n = ::read(m_fd, buf, sizeof buf);
        if (n > 0) {
            m_rx.append(buf, size_t(n));
            m_arrived += std::uint64_t(n);
            if (m_rx.size() > 4096) // nobody reads this much; keep the newest
                m_rx.erase(0, m_rx.size() - 4096);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            Gone();
        return;
    }
}

int PosixSerialPort::BytesWaiting()
{
    Pull();
    return int(m_rx.size());
}

void PosixSerialPort::DiscardInput()
{
    Pull(); // counted as arrived before it goes
    if (m_fd >= 0 && !m_vanished)
        ::tcflush(m_fd, TCIFLUSH);
    Pull();
    m_rx.clear();
}

void PosixSerialPort::DiscardOutput()
{
    if (m_fd >= 0 && !m_vanished)
        ::tcflush(m_fd, TCOFLUSH);
}

void PosixSerialPort::Write(std::string_view bytes)
{
    if (m_fd < 0 || m_vanished)
        return;
    size_t done = 0;
    int waits = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_fd, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += size_t(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && waits++ < 10) {
            pollfd p{m_fd, POLLOUT, 0};
            ::poll(&p, 1, 20);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            Gone();
        return;
    }
}

std::string PosixSerialPort::Read()
{
    Pull();
    const size_t n = std::min(m_rx.size(), size_t(m_inputLength));
    std::string out = m_rx.substr(0, n);
    m_rx.erase(0, n);
    return out;
}

} // namespace kivo::platform
