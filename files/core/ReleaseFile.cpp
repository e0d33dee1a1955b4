#include "files/core/ReleaseFile.h"

#include <array>
#include <optional>

namespace releasefile {
namespace {

struct Key
{
    const char* name;
    std::string ReleaseRecord::*field;
    bool required;
};

const std::array<Key, 6> Keys = {{
    {"Prüfsumme", &ReleaseRecord::fingerprint, true},
    {"Stand", &ReleaseRecord::version, true},
    {"Grundlage", &ReleaseRecord::basis, false},
    {"Freigegeben von", &ReleaseRecord::releasedBy, true},
    {"Freigegeben am", &ReleaseRecord::releasedAt, true},
    {"Bemerkung", &ReleaseRecord::remark, false},
}};

std::string oneLine(std::string text)
{
    for (char& c : text)
        if (c == '\r' || c == '\n')
            c = ' ';
    return text;
}

std::string_view trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// 64 hex digits, in upper case; one copied from a tool that writes lower case is the same sum.
bool isFingerprint(std::string& text)
{
    if (text.size() != 64)
        return false;
    for (char& c : text) {
        if (c >= 'a' && c <= 'f')
            c = char(c - 'a' + 'A');
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')))
            return false;
    }
    return true;
}

std::string quoted(const std::string& text)
{
    return "\xE2\x80\x9E" + text + "\xE2\x80\x9C";
}

} // namespace

std::string pathFor(const std::string& tablePath)
{
    return tablePath + ".freigabe";
}

std::string encode(const ReleaseRecord& record)
{
    std::string bytes;
    for (const Key& key : Keys) {
        const std::string value = oneLine(record.*key.field);
        bytes += std::string(key.name) + ":" + (value.empty() ? "" : " " + value) + "\r\n";
    }
    return bytes;
}

std::variant<ReleaseRecord, std::string> decode(std::string_view bytes)
{
    if (bytes.size() > LongestRecord)
        return std::string("Die Datei ist zu groß.");
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    ReleaseRecord record;
    std::array<bool, Keys.size()> seen{};
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        const std::string_view line = trimmed(bytes.substr(0, end));
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        if (line.empty())
            continue;
        const std::size_t colon = line.find(':');
        const std::string name(trimmed(line.substr(0, colon)));
        std::size_t k = 0;
        while (k < Keys.size() && name != Keys[k].name)
            ++k;
        if (colon == std::string_view::npos || k == Keys.size())
            return "Die Zeile " + quoted(std::string(line)) + " gehört nicht in eine Freigabe.";
        if (seen[k])
            return "Die Zeile " + quoted(name) + " steht zweimal darin.";
        seen[k] = true;
        record.*Keys[k].field = std::string(trimmed(line.substr(colon + 1)));
    }
    // A sum cut short tells of a record cut short: said before the lines missing after it.
    if (!record.fingerprint.empty() && !isFingerprint(record.fingerprint))
        return std::string("Die Prüfsumme ist keine Folge von 64 Hexadezimalziffern.");
    for (std::size_t k = 0; k < Keys.size(); ++k)
        if (Keys[k].required && (record.*Keys[k].field).empty())
            return "Die Zeile " + quoted(Keys[k].name) + " fehlt.";
    return record;
}

} // namespace releasefile
