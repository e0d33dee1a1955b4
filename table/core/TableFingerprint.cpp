#include "table/core/TableFingerprint.h"

#include "table/core/TableCells.h"

#include <charconv>

std::string shortestNumber(double value)
{
    if (value == 0)
        return "0";
    char buffer[32]; // the longest shortest form, "-2.2250738585072014e-308", fits
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, written.ptr);
}

std::optional<std::string> fingerprintText(const std::vector<std::string>& captions,
                                           const LocaleNumberReading& locale)
{
    std::string text;
    const char* separator = "";
    // The captions come with range 1's fixed lower bound first, which the file does not hold.
    for (std::size_t i = 1; i < captions.size() && i < std::size_t(cells::LabelCount); ++i) {
        const CaptionReading reading = readCaption(captions[i], locale);
        text += separator;
        separator = "\n";
        if (reading.number)
            text += shortestNumber(*reading.number);
        else if (!reading.text.empty())
            return std::nullopt;
    }
    return text;
}
