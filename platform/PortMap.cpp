#include "platform/PortMap.h"

#include <algorithm>

namespace kivo::platform {

void PortMap::Parse(std::string_view text)
{
    m_device.fill({});
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        const auto tab = line.find('\t');
        if (tab != 1 || line.size() < 3 || line[0] < '1' || line[0] > '9')
            continue;
        std::string device(line.substr(2));
        if (!device.empty() && NumberOf(device) == 0)
            m_device[std::size_t(line[0] - '1')] = std::move(device);
    }
}

std::string PortMap::Text() const
{
    std::string out;
    for (int n = 1; n <= kPorts; ++n)
        if (!DeviceOf(n).empty())
            out += std::to_string(n) + "\t" + DeviceOf(n) + "\n";
    return out;
}

bool PortMap::Bind(const std::vector<std::string>& present)
{
    bool changed = false;
    for (const auto& device : present) {
        if (device.empty() || NumberOf(device) != 0)
            continue;
        auto free = std::find(m_device.begin(), m_device.end(), std::string());
        if (free == m_device.end())
            break; // nine devices already own the numbers; a tenth gets none
        *free = device;
        changed = true;
    }
    return changed;
}

const std::string& PortMap::DeviceOf(int number) const
{
    static const std::string none;
    return number >= 1 && number <= kPorts ? m_device[std::size_t(number - 1)] : none;
}

int PortMap::NumberOf(const std::string& device) const
{
    const auto it = std::find(m_device.begin(), m_device.end(), device);
    return it == m_device.end() ? 0 : int(it - m_device.begin()) + 1;
}

} // namespace kivo::platform
