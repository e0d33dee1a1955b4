#include "table/core/PlainNumber.h"

#include <charconv>
#include <cmath>
#include <string>

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Skips the digits from pos on and says how many there were.
std::size_t skipDigits(std::string_view text, std::size_t& pos)
{
    const std::size_t start = pos;
    while (pos < text.size() && isDigit(text[pos]))
        ++pos;
    return pos - start;
}

} // namespace

std::optional<double> readPlainNumber(std::string_view text, char decimalPoint)
{
    // Checked here rather than left to from_chars, which would also take
    // "inf", "nan" and hexadecimal forms.
    std::string normalized(text);
    std::size_t pos = 0;
    if (pos < normalized.size() && (normalized[pos] == '+' || normalized[pos] == '-'))
        ++pos;
    std::size_t digits = skipDigits(normalized, pos);
    if (pos < normalized.size() && normalized[pos] == decimalPoint) {
        normalized[pos] = '.';
        ++pos;
        digits += skipDigits(normalized, pos);
    }
    if (digits == 0)
        return std::nullopt;
    if (pos < normalized.size() && (normalized[pos] == 'e' || normalized[pos] == 'E')) {
        ++pos;
        if (pos < normalized.size() && (normalized[pos] == '+' || normalized[pos] == '-'))
            ++pos;
        if (skipDigits(normalized, pos) == 0)
            return std::nullopt;
    }
    if (pos != normalized.size())
        return std::nullopt;

    const char* begin = normalized.c_str();
    if (*begin == '+')
        ++begin;
    double value = 0;
    const char* end = normalized.c_str() + normalized.size();
    const auto result = std::from_chars(begin, end, value);
    if (result.ec != std::errc() || result.ptr != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}
