#include "table/core/NumberReading.h"

#include "table/core/PlainNumber.h"

#include <cmath>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string withoutSurroundingBlanks(const std::string& text)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isBlank(text[first]))
        ++first;
    while (last > first && isBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

} // namespace

std::optional<double> readCaptionNumber(const std::string& caption, const LocaleNumberReading& locale)
{
    const std::string text = withoutSurroundingBlanks(caption);
    if (text.empty())
        return std::nullopt;
    if (const auto value = locale(text); value && std::isfinite(*value))
        return value;
    if (const auto value = readPlainNumber(text, '.'))
        return value;
    return readPlainNumber(text, ',');
}
