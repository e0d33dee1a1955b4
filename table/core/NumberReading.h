#pragma once

#include <functional>
#include <optional>
#include <string>

// How the user's locale reads a number: its decimal separator, no group
// separators. Nothing where the text is no number there.
using LocaleNumberReading = std::function<std::optional<double>(const std::string& text)>;

// A table caption as the check and the transfer read it.
struct CaptionReading
{
    std::string text;                  // the caption without surrounding blanks (UTF-8)
    std::optional<double> number;      // -0 reads as 0, so that no tolerance is written as -0
    bool tooLarge = false;             // a number written plainly, beyond what a double holds
    std::optional<char32_t> invisible; // the first invisible character in the text, other than a blank
};

// A table caption's number: the user's locale first; where the text is no
// number there, a reading with "." and then with "," as the decimal point, so
// a table typed under a German or an English locale transfers the same
// everywhere. Surrounding blanks (every white space Qt's own reading skips, as
// the no-break space) are allowed; anything else is no number.
CaptionReading readCaption(const std::string& caption, const LocaleNumberReading& locale);
std::optional<double> readCaptionNumber(const std::string& caption, const LocaleNumberReading& locale);
