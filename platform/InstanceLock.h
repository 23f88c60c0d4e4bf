#pragma once
// One program per data folder: a second one on the same folder would race the first for its
// files, and the last to end would win.

#include <string>

namespace kivo::platform {

class InstanceLock {
public:
    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Takes the folder's lock, held until destruction (or the process ends, however it ends).
    // False with the message for the user when another program holds it or the lock cannot be
    // made. Writes nothing into the folder but an empty lock file.
    bool Acquire(const std::string& dataDir, std::string& message);

private:
    int m_fd = -1;
};

// Name of the lock file in the data folder.
inline constexpr const char* kLockFileName = "kivo-ft817.lock";

} // namespace kivo::platform
