#pragma once
// Serial port numbers 1..9 bound for good to the devices they were first given to, so that a
// number never moves to another device when one is unplugged or the machine restarts. Kept as
// text, one "N<TAB>device" line per bound number.

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace kivo::platform {

class PortMap {
public:
    static constexpr int kPorts = 9;

    // Takes the bindings of a saved text; lines that do not parse are skipped.
    void Parse(std::string_view text);
    std::string Text() const;

    // Gives each present device that has no number the lowest free one. Numbers already bound
    // keep their device whether or not it is present. True when a binding was added.
    bool Bind(const std::vector<std::string>& present);
    // The device bound to number 1..9, or "" when none is.
    const std::string& DeviceOf(int number) const;
    // The number bound to a device, or 0.
    int NumberOf(const std::string& device) const;

private:
    std::array<std::string, kPorts> m_device;
};

} // namespace kivo::platform
