#pragma once
// The real file system with errors injected per path: unreadable, read-only, disk full,
// a read that fails part-way. Root ignores permission bits, so tests cannot rely on chmod.

#include "platform/FileSystem.h"

#include <functional>
#include <map>
#include <string>

namespace kivo::testing {

class FaultyFileSystem final : public platform::FileSystem {
public:
    platform::IoResult ReadOrCreate(const std::string& path, std::size_t maxBytes, std::string& out) override;
    platform::IoResult WriteAtomic(const std::string& path, std::string_view data) override;
    bool Exists(const std::string& path) override { return m_real.Exists(path); }
    platform::IoResult Remove(const std::string& path) override { return m_real.Remove(path); }
    platform::IoResult Rename(const std::string& from, const std::string& to) override
    {
        if (auto it = writeErrors.find(to); it != writeErrors.end())
            return platform::IoResult::FromErrno(it->second);
        return m_real.Rename(from, to);
    }

    std::map<std::string, int> readErrors;        // path -> errno for every read
    std::map<std::string, int> writeErrors;       // path -> errno for every write (the file is left untouched)
    std::map<std::string, std::size_t> readCutAt; // path -> bytes delivered before an EIO
    int writes = 0;
    // Told of each write that reached the disk, with what was written.
    std::function<void(const std::string& path, std::string_view data)> onWritten;

private:
    platform::PosixFileSystem m_real;
};

} // namespace kivo::testing
