#include "platform/FileSystem.h"

#include <dirent.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace kivo::platform {

IoResult IoResult::FromErrno(int err)
{
    IoResult r;
    r.error = err;
    r.description = std::strerror(err);
    return r;
}

namespace {

class Fd {
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }
    int release() { return std::exchange(m_fd, -1); }

private:
    int m_fd;
};

std::string DirOf(const std::string& path)
{
    auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

bool WriteAll(int fd, std::string_view data, int& err)
{
    std::size_t done = 0;
    while (done < data.size()) {
        ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            err = errno;
            return false;
        }
        if (n == 0) {
            err = ENOSPC;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Removes the temporaries that killed saves of `path` left behind: its name followed by
// ".tmp-" and the six characters the temporary's template ends in.
void RemoveStaleTemporaries(const std::string& path)
{
    const std::string dir = DirOf(path);
    const std::string stem = FileNamePart(path) + ".tmp-";
    DIR* d = ::opendir(dir.c_str());
    if (!d)
        return;
    while (const dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name.size() == stem.size() + 6 && name.compare(0, stem.size(), stem) == 0)
            ::unlinkat(::dirfd(d), name.c_str(), 0);
    }
    ::closedir(d);
}

} // namespace

bool PosixFileSystem::Exists(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

IoResult PosixFileSystem::Remove(const std::string& path)
{
    if (::unlink(path.c_str()) != 0 && errno != ENOENT)
        return IoResult::FromErrno(errno);
    return IoResult::Ok();
}

IoResult PosixFileSystem::Rename(const std::string& from, const std::string& to)
{
    if (::rename(from.c_str(), to.c_str()) != 0)
        return IoResult::FromErrno(errno);
    Fd dirFd(::open(DirOf(to).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dirFd.get() >= 0)
        ::fsync(dirFd.get());
    return IoResult::Ok();
}

IoResult PosixFileSystem::ReadOrCreate(const std::string& path, std::size_t maxBytes, std::string& out)
{
    out.clear();
    int raw = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (raw < 0 && errno == ENOENT) {
        const int created = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (created < 0 && errno != EEXIST)
            return IoResult::FromErrno(errno);
        if (created >= 0)
            ::close(created);
        raw = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    }
    if (raw < 0)
        return IoResult::FromErrno(errno);
    Fd fd(raw);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        return IoResult::FromErrno(errno);
    if (S_ISDIR(st.st_mode))
        return IoResult::FromErrno(EISDIR);
    out.resize(maxBytes);
    std::size_t got = 0;
    while (got < maxBytes) {
        ssize_t n = ::read(fd.get(), out.data() + got, maxBytes - got);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            int err = errno;
            out.resize(got);
            return IoResult::FromErrno(err);
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    out.resize(got);
    return IoResult::Ok();
}

IoResult PosixFileSystem::WriteAtomic(const std::string& requested, std::string_view data)
{
    // Write through a symlink to its target, so the link stays a link.
    std::string path = requested;
    struct stat lst {};
    if (::lstat(requested.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(requested.c_str(), resolved) != nullptr)
            path = resolved;
    }
    struct stat st {};
    const bool exists = ::stat(path.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode))
        return IoResult::FromErrno(EISDIR);
    // A file the user made read-only stays untouched, as it would with an in-place write.
    if (exists && ::access(path.c_str(), W_OK) != 0)
        return IoResult::FromErrno(errno);

    const std::string dir = DirOf(path);
    std::string tmpl = path + kTempSuffix;
    Fd fd(::mkostemp(tmpl.data(), O_CLOEXEC));
    if (fd.get() < 0)
        return IoResult::FromErrno(errno);
    auto fail = [&](int err) {
        ::unlink(tmpl.c_str());
        return IoResult::FromErrno(err);
    };
    int err = 0;
    if (!WriteAll(fd.get(), data, err))
        return fail(err);
    const mode_t mode = exists ? (st.st_mode & 07777) : static_cast<mode_t>(0666 & ~[] {
        mode_t m = ::umask(0);
        ::umask(m);
        return m;
    }());
    if (::fchmod(fd.get(), mode) != 0)
        return fail(errno);
    if (::fsync(fd.get()) != 0)
        return fail(errno);
    if (::close(fd.release()) != 0)
        return fail(errno);
    if (::rename(tmpl.c_str(), path.c_str()) != 0)
        return fail(errno);
    // This save is whole, so any temporary still there is a leftover of one that was killed.
    RemoveStaleTemporaries(path);
    Fd dirFd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dirFd.get() >= 0)
        ::fsync(dirFd.get());
    return IoResult::Ok();
}

std::string FileNamePart(const std::string& path)
{
    auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace kivo::platform
