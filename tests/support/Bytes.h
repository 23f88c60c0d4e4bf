#pragma once
// Bytes written as numbers, for frames and replies: F({0x14, 0x42, 0x00, 0x00, 0x01}).

#include <initializer_list>
#include <string>

namespace kivo::testing {

inline std::string F(std::initializer_list<int> bytes)
{
    std::string s;
    for (int b : bytes)
        s += char(b);
    return s;
}

} // namespace kivo::testing
