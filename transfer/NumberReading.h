#pragma once

#include "table/PlainNumber.h"

#include <optional>
#include <string>

class TransferWindow;

// A table caption's number: the user's locale first; where the text is no
// number there, a reading with "." and then with "," as the decimal point, so
// a table typed under a German or an English locale transfers the same
// everywhere. Surrounding blanks are allowed; anything else is no number.
std::optional<double> readCaptionNumber(const std::string& caption, const TransferWindow& window);
