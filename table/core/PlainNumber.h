#pragma once

#include <optional>
#include <string_view>

// A number written plainly, as table files and table cells hold it: an
// optional sign, digits with at most one decimal point, an optional exponent;
// nothing else (no blanks inside, no group separators, no "inf", "nan" or
// hexadecimal forms), and only finite values.
std::optional<double> readPlainNumber(std::string_view text, char decimalPoint = '.');

// Whether the text is written plainly but its value lies beyond the largest
// double ("1e400"), so that it reads as no number.
bool isBeyondDouble(std::string_view text, char decimalPoint = '.');
