#pragma once
// File access of the program's data files. Writes are atomic: a failed or interrupted save
// leaves the previous file whole.

#include <cstddef>
#include <string>
#include <string_view>

namespace kivo::platform {

struct IoResult {
    int error = 0;           // errno-style code, 0 on success
    std::string description; // the system's description of the error
    explicit operator bool() const { return error == 0; }
    static IoResult Ok() { return {}; }
    static IoResult FromErrno(int err);
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Reads at most maxBytes from the start of the file; a file that does not exist is created
    // empty first (and reads as empty). A directory in its place is an error.
    virtual IoResult ReadOrCreate(const std::string& path, std::size_t maxBytes, std::string& out) = 0;
    // Replaces the file with data: temporary file in the same folder, fsync, rename, fsync folder.
    // Temporaries that an interrupted earlier save of the same file left behind are removed.
    virtual IoResult WriteAtomic(const std::string& path, std::string_view data) = 0;
    // Whether something exists at path (a file that cannot be read still exists).
    virtual bool Exists(const std::string& path) = 0;
    // Deletes a file; a file that is not there is no error.
    virtual IoResult Remove(const std::string& path) = 0;
    // Moves a file to another name in the same folder, replacing what has that name.
    virtual IoResult Rename(const std::string& from, const std::string& to) = 0;
};

class PosixFileSystem final : public FileSystem {
public:
    IoResult ReadOrCreate(const std::string& path, std::size_t maxBytes, std::string& out) override;
    IoResult WriteAtomic(const std::string& path, std::string_view data) override;
    bool Exists(const std::string& path) override;
    IoResult Remove(const std::string& path) override;
    IoResult Rename(const std::string& from, const std::string& to) override;
};

// Suffix of the temporary file a save writes before renaming it over the file.
inline constexpr const char* kTempSuffix = ".tmp-XXXXXX";

// File name part of a path (after the last '/').
std::string FileNamePart(const std::string& path);

} // namespace kivo::platform
