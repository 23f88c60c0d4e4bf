#pragma once
// Windows-1252 <-> UTF-8 for the single-byte strings of the data files.

#include <string>
#include <string_view>

namespace kivo::platform {

// Every byte maps to one code point (the five unassigned bytes to U+0081 etc., as Windows does),
// so bytes read from a file survive a round trip through the UI unchanged.
std::string Cp1252ToUtf8(std::string_view bytes);
// Characters with no Windows-1252 byte become '?'; sets lossy when that happened.
std::string Utf8ToCp1252(std::string_view utf8, bool* lossy = nullptr);

} // namespace kivo::platform
