#include "files/core/TableFile.h"

#include <cstdint>

namespace tablefile {
namespace {

constexpr char32_t Unused = 0xFFFD;

// Bytes 80..9F; the rest of Windows-1252 is Latin-1.
constexpr char32_t HighControls[32] = {
    0x20AC, Unused, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, Unused, 0x017D, Unused, //
    Unused, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, Unused, 0x017E, 0x0178, //
};

char32_t decodeByte(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 ? HighControls[byte - 0x80] : char32_t(byte);
}

bool isControl(char32_t c)
{
    return (c < 0x20 && c != '\t') || (c >= 0x7F && c < 0xA0);
}

// Characters stored as another that means the same in a number: the minus
// sign, and the no-break, thin and narrow no-break spaces (pasted from
// formatted numbers).
char32_t storedAs(char32_t c)
{
    switch (c) {
    case 0x2212:
        return '-';
    case 0x00A0:
    case 0x2009:
    case 0x202F:
        return ' ';
    default:
        return c;
    }
}

std::optional<char> encodeCodePoint(char32_t c)
{
    c = storedAs(c);
    if (isControl(c))
        return std::nullopt;
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (int i = 0; i < 32; ++i)
        if (HighControls[i] == c && c != Unused)
            return static_cast<char>(0x80 + i);
    return std::nullopt;
}

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes one UTF-8 sequence at text[i], advancing i; a malformed sequence
// gives Unused (and skips one byte where a continuation byte is missing).
char32_t nextCodePoint(std::string_view text, std::size_t& i)
{
    const auto lead = static_cast<unsigned char>(text[i++]);
    if (lead < 0x80)
        return lead;
    int length = 0;
    char32_t c = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 1;
        c = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 2;
        c = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 3;
        c = lead & 0x07;
    } else {
        return Unused;
    }
    if (i + length > text.size())
        return Unused;
    for (int k = 0; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80)
            return Unused;
        c = (c << 6) | (next & 0x3F);
    }
    i += length;
    // An overlong form (such as C0 AF for "/") is malformed too.
    constexpr char32_t Smallest[] = {0, 0x80, 0x800, 0x10000};
    return c < Smallest[length] ? Unused : c;
}

} // namespace

std::string toWindows1252(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();)
        out += encodeCodePoint(nextCodePoint(utf8, i)).value_or('?');
    return out;
}

std::optional<char32_t> firstUnstorable(std::string_view utf8)
{
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t c = nextCodePoint(utf8, i);
        if (!encodeCodePoint(c))
            return c;
    }
    return std::nullopt;
}

bool isTextByte(unsigned char byte)
{
    const char32_t c = decodeByte(byte);
    return byte == '\r' || byte == '\n' || (c != Unused && !isControl(c));
}

std::string fromWindows1252(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    for (char byte : bytes)
        appendUtf8(out, decodeByte(static_cast<unsigned char>(byte)));
    return out;
}

std::string asStored(std::string_view utf8)
{
    return fromWindows1252(toWindows1252(utf8));
}

} // namespace tablefile
