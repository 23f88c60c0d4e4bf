#pragma once
// Plain text fields of the channel list: trimmed, compared without case, and decimals read into
// and written from whole units (MHz with six decimals as hertz, hertz with one as tenths).

#include <string>
#include <string_view>

namespace kivo::memmgr {

// Without leading and trailing blanks and tabs.
std::string Trim(std::string_view s);
// Equal but for the case of ASCII letters.
bool SameWord(std::string_view a, std::string_view b);

enum class Decimal { Ok, Bad, TooFine };

// "146.52" with 6 decimals is 146520000. Digits only, at most one point, at most nine before
// it. Digits past `decimals` that are not zero make it TooFine (out is then the cut value).
Decimal ParseDecimal(std::string_view s, int decimals, long long& out);
// 146520000 with 6 decimals is "146.520000"; 885 with 1 is "88.5". Negative values as 0.
std::string FormatDecimal(long long units, int decimals);

} // namespace kivo::memmgr
