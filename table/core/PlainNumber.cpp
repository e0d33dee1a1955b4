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

// The text with "." as decimal point and without a leading "+", where it is
// written plainly. Checked here rather than left to from_chars, which would
// also take "inf", "nan" and hexadecimal forms.
std::optional<std::string> plainForm(std::string_view text, char decimalPoint)
{
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
    return normalized[0] == '+' ? normalized.substr(1) : normalized;
}

// The power of ten of the first significant digit, exponent included: 2 for
// "123", -2 for "0.01", 400 for "1e400"; only its sign matters here.
long long magnitude(const std::string& plain)
{
    std::size_t pos = plain[0] == '-' ? 1 : 0;
    long long power = -1;
    bool significant = false;
    bool afterPoint = false;
    for (; pos < plain.size() && plain[pos] != 'e' && plain[pos] != 'E'; ++pos) {
        if (plain[pos] == '.')
            afterPoint = true;
        else if (!afterPoint && (significant || plain[pos] != '0'))
            ++power;
        else if (afterPoint && !significant && plain[pos] == '0')
            --power;
        significant = significant || (plain[pos] != '0' && plain[pos] != '.');
    }
    long long exponent = 0;
    if (pos < plain.size()) {
        const bool negative = plain[pos + 1] == '-';
        for (std::size_t i = pos + 1; i < plain.size(); ++i)
            if (isDigit(plain[i]) && exponent < 1000000)
                exponent = exponent * 10 + (plain[i] - '0');
        exponent = negative ? -exponent : exponent;
    }
    return power + exponent;
}

std::from_chars_result parse(const std::string& plain, double& value)
{
    return std::from_chars(plain.c_str(), plain.c_str() + plain.size(), value);
}

} // namespace

std::optional<double> readPlainNumber(std::string_view text, char decimalPoint)
{
    const std::optional<std::string> plain = plainForm(text, decimalPoint);
    if (!plain)
        return std::nullopt;
    double value = 0;
    const auto result = parse(*plain, value);
    if (result.ec != std::errc() || result.ptr != plain->c_str() + plain->size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

bool isBeyondDouble(std::string_view text, char decimalPoint)
{
    const std::optional<std::string> plain = plainForm(text, decimalPoint);
    double value = 0;
    // Out of range is too large or too small; the magnitude tells which.
    return plain && parse(*plain, value).ec == std::errc::result_out_of_range && magnitude(*plain) > 0;
}
