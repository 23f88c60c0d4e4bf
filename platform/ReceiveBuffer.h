#pragma once
// What a port has received and the program not yet read, for the serial device and the network
// port alike: every byte counted as it arrives, handed out at most the input length at a time.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kivo::platform {

class ReceiveBuffer {
public:
    void SetInputLength(int length) { m_inputLength = std::max(1, length); }

    void Add(std::string_view bytes)
    {
        m_bytes.append(bytes);
        m_arrived += bytes.size();
        if (m_bytes.size() > kKept) // nobody reads this much; keep the newest
            m_bytes.erase(0, m_bytes.size() - kKept);
    }
    // Up to the input length of the oldest bytes waiting.
    std::string Take()
    {
        const std::size_t n = std::min(m_bytes.size(), std::size_t(m_inputLength));
        std::string out = m_bytes.substr(0, n);
        m_bytes.erase(0, n);
        return out;
    }
    std::size_t Size() const { return m_bytes.size(); }
    // What is waiting, left waiting.
    std::string_view Waiting() const { return m_bytes; }
    // Drops what is waiting; it still counts as arrived.
    void Clear() { m_bytes.clear(); }
    // Every byte added, those taken or dropped since included.
    std::uint64_t Arrived() const { return m_arrived; }

private:
    static constexpr std::size_t kKept = 4096;
    std::string m_bytes;
    std::uint64_t m_arrived = 0;
    int m_inputLength = 5;
};

} // namespace kivo::platform
