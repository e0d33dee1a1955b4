#include "table/core/NumberReading.h"

#include "table/core/PlainNumber.h"

#include <algorithm>
#include <cmath>

namespace {

// The white space QChar::isSpace knows.
bool isBlank(char32_t c)
{
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F ||
           c == 0x3000;
}

// Characters that show nothing, so that a cell holding one looks like a number and is none.
bool isInvisible(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0xAD || c == 0x34F || c == 0x61C ||
           (c >= 0x180B && c <= 0x180F) || (c >= 0x200B && c <= 0x200F) || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2060 && c <= 0x206F) || (c >= 0xFE00 && c <= 0xFE0F) || c == 0xFEFF ||
           (c >= 0xFFF9 && c <= 0xFFFB) || (c >= 0xE0000 && c <= 0xE0FFF);
}

struct Decoded
{
    char32_t character;
    std::size_t length;
};

// The UTF-8 character at pos; a broken sequence is U+FFFD of one byte.
Decoded decodeAt(const std::string& text, std::size_t pos)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char first = byte(pos);
    const std::size_t length = first < 0x80 ? 1 : first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : first >= 0xC0 ? 2 : 0;
    if (length == 0 || pos + length > text.size())
        return {0xFFFD, 1};
    char32_t c = length == 1 ? first : first & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(pos + i) & 0xC0) != 0x80)
            return {0xFFFD, 1};
        c = (c << 6) | (byte(pos + i) & 0x3F);
    }
    return {c, length};
}

std::string withoutSurroundingBlanks(const std::string& caption)
{
    std::size_t first = caption.size();
    std::size_t end = 0;
    for (std::size_t pos = 0; pos < caption.size();) {
        const Decoded decoded = decodeAt(caption, pos);
        if (!isBlank(decoded.character)) {
            first = std::min(first, pos);
            end = pos + decoded.length;
        }
        pos += decoded.length;
    }
    return first < end ? caption.substr(first, end - first) : std::string();
}

std::optional<char32_t> firstInvisible(const std::string& text)
{
    for (std::size_t pos = 0; pos < text.size();) {
        const Decoded decoded = decodeAt(text, pos);
        if (isInvisible(decoded.character))
            return decoded.character;
        pos += decoded.length;
    }
    return std::nullopt;
}

std::optional<double> numberOf(const std::string& text, const LocaleNumberReading& locale)
{
    if (text.empty())
        return std::nullopt;
    if (const auto value = locale(text); value && std::isfinite(*value))
        return value;
    if (const auto value = readPlainNumber(text, '.'))
        return value;
    return readPlainNumber(text, ',');
}

} // namespace

CaptionReading readCaption(const std::string& caption, const LocaleNumberReading& locale)
{
    CaptionReading reading;
    reading.text = withoutSurroundingBlanks(caption);
    reading.invisible = firstInvisible(reading.text);
    reading.number = numberOf(reading.text, locale);
    if (reading.number && *reading.number == 0)
        reading.number = 0.0;
    reading.tooLarge =
        !reading.number && (isBeyondDouble(reading.text, '.') || isBeyondDouble(reading.text, ','));
    return reading;
}

std::optional<double> readCaptionNumber(const std::string& caption, const LocaleNumberReading& locale)
{
    return readCaption(caption, locale).number;
}
