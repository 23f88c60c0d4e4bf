#include "platform/DataDir.h"

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <system_error>
#include <unistd.h>

namespace kivo::platform {

std::string DefaultDataDir()
{
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && *xdg == '/')
        return std::string(xdg) + "/kivo-ft817";
    const char* home = std::getenv("HOME");
    std::string h = home && *home ? home : "";
    if (h.empty())
        if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir)
            h = pw->pw_dir;
    return h + "/.local/share/kivo-ft817";
}

std::string EnsureDir(const std::string& dir)
{
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec)
        return ec.message();
    if (!std::filesystem::is_directory(dir, ec))
        return "Not a directory";
    return {};
}

} // namespace kivo::platform
