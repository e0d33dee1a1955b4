#pragma once

#include <functional>
#include <optional>
#include <string>

// How the user's locale reads a number: its decimal separator, no group
// separators. Nothing where the text is no number there.
using LocaleNumberReading = std::function<std::optional<double>(const std::string& text)>;

// A table caption's number: the user's locale first; where the text is no
// number there, a reading with "." and then with "," as the decimal point, so
// a table typed under a German or an English locale transfers the same
// everywhere. Surrounding blanks are allowed; anything else is no number.
std::optional<double> readCaptionNumber(const std::string& caption, const LocaleNumberReading& locale);
