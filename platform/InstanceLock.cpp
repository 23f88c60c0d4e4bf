#include "platform/InstanceLock.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace kivo::platform {

InstanceLock::~InstanceLock()
{
    if (m_fd >= 0)
        ::close(m_fd); // releases the lock
}

bool InstanceLock::Acquire(const std::string& dataDir, std::string& message)
{
    const std::string path = dataDir + "/" + kLockFileName;
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        message = "The data folder " + dataDir + " cannot be used: " + std::strerror(errno) + ".";
        return false;
    }
    // flock, not a pid in the file: the kernel drops it when the process ends, even by a crash.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        ::close(fd);
        message = err == EWOULDBLOCK ? "KIVO FT-817 is already running on the data folder " + dataDir +
                                           ". This copy ends without changing anything."
                                     : "The data folder " + dataDir + " cannot be used: " + std::strerror(err) + ".";
        return false;
    }
    m_fd = fd;
    return true;
}

} // namespace kivo::platform
