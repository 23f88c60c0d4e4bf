#include "tests/support/FaultyFileSystem.h"

#include <cerrno>

namespace kivo::testing {

platform::IoResult FaultyFileSystem::ReadOrCreate(const std::string& path, std::size_t maxBytes, std::string& out)
{
    if (auto it = readErrors.find(path); it != readErrors.end()) {
        out.clear();
        return platform::IoResult::FromErrno(it->second);
    }
    auto r = m_real.ReadOrCreate(path, maxBytes, out);
    if (auto it = readCutAt.find(path); r && it != readCutAt.end() && out.size() > it->second) {
        out.resize(it->second);
        return platform::IoResult::FromErrno(EIO);
    }
    return r;
}

platform::IoResult FaultyFileSystem::WriteAtomic(const std::string& path, std::string_view data)
{
    ++writes;
    if (auto it = writeErrors.find(path); it != writeErrors.end())
        return platform::IoResult::FromErrno(it->second);
    auto r = m_real.WriteAtomic(path, data);
    if (r && onWritten)
        onWritten(path, data);
    return r;
}

} // namespace kivo::testing
