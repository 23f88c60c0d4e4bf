#pragma once
// Files held in a map, with an optional read that fails after some bytes, so the fuzzers and the
// random operator never touch the disk and stay fast.

#include "platform/FileSystem.h"

#include <cerrno>
#include <map>
#include <optional>
#include <string>

namespace kivo::testing {

class MemFs final : public platform::FileSystem {
public:
    platform::IoResult ReadOrCreate(const std::string& path, std::size_t maxBytes, std::string& out) override
    {
        out.clear();
        if (path.empty())
            return platform::IoResult::FromErrno(ENOENT);
        if (path.back() == '/')
            return platform::IoResult::FromErrno(EISDIR);
        const std::string& data = files[path]; // an absent file is created empty
        std::size_t n = data.size() < maxBytes ? data.size() : maxBytes;
        if (cutAt && *cutAt < n)
            n = *cutAt;
        out.assign(data, 0, n);
        if (cutAt)
            return platform::IoResult::FromErrno(EIO);
        return platform::IoResult::Ok();
    }

    platform::IoResult WriteAtomic(const std::string& path, std::string_view data) override
    {
        if (path.empty())
            return platform::IoResult::FromErrno(ENOENT);
        files[path] = std::string(data);
        ++writes;
        return platform::IoResult::Ok();
    }

    bool Exists(const std::string& path) override { return files.count(path) != 0; }
    platform::IoResult Remove(const std::string& path) override
    {
        files.erase(path);
        return platform::IoResult::Ok();
    }

    platform::IoResult Rename(const std::string& from, const std::string& to) override
    {
        auto it = files.find(from);
        if (it == files.end())
            return platform::IoResult::FromErrno(ENOENT);
        files[to] = it->second;
        files.erase(from);
        return platform::IoResult::Ok();
    }

    std::map<std::string, std::string> files;
    // When set, every read delivers at most this many bytes and then fails with EIO.
    std::optional<std::size_t> cutAt;
    int writes = 0;
};

} // namespace kivo::testing
