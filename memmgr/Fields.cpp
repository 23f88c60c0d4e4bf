#include "memmgr/Fields.h"

#include <algorithm>
#include <cctype>

namespace kivo::memmgr {

std::string Trim(std::string_view s)
{
    const auto b = s.find_first_not_of(" \t");
    if (b == std::string_view::npos)
        return {};
    return std::string(s.substr(b, s.find_last_not_of(" \t") - b + 1));
}

bool SameWord(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

Decimal ParseDecimal(std::string_view s, int decimals, long long& out)
{
    auto digit = [&s](std::size_t i) { return i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])); };
    std::size_t i = 0;
    long long v = 0;
    int intDigits = 0;
    for (; digit(i); ++i, ++intDigits) {
        if (intDigits == 9)
            return Decimal::Bad;
        v = v * 10 + (s[i] - '0');
    }
    int fracDigits = 0;
    bool fine = false;
    if (i < s.size() && s[i] == '.') {
        for (++i; digit(i); ++i, ++fracDigits) {
            if (fracDigits < decimals)
                v = v * 10 + (s[i] - '0');
            else if (s[i] != '0')
                fine = true;
        }
    }
    if (i != s.size() || intDigits + fracDigits == 0)
        return Decimal::Bad;
    for (int d = std::min(fracDigits, decimals); d < decimals; ++d)
        v *= 10;
    out = v;
    return fine ? Decimal::TooFine : Decimal::Ok;
}

std::string FormatDecimal(long long units, int decimals)
{
    long long scale = 1;
    for (int d = 0; d < decimals; ++d)
        scale *= 10;
    const long long v = std::max(units, 0LL);
    std::string frac = std::to_string(v % scale);
    frac.insert(0, std::size_t(decimals) - frac.size(), '0');
    return std::to_string(v / scale) + (decimals > 0 ? "." + frac : std::string());
}

} // namespace kivo::memmgr
