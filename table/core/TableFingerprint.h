#pragma once

#include "table/core/NumberReading.h"

#include <optional>
#include <string>
#include <vector>

// The text a table's "Prüfsumme" is taken of: the 71 values in the file's
// order, each the number the transfer reads from its cell in its shortest
// form that reads back as the same value ("3", "0.1", "1200"), an empty text
// for a blank cell, joined by line feeds with none after the last (UTF-8).
// So the same table gives the same text under any name and locale and however
// it was typed. Nothing where a cell is neither blank nor a number.
std::optional<std::string> fingerprintText(const std::vector<std::string>& captions,
                                           const LocaleNumberReading& locale);

// The shortest text that reads back as this double, with a point; −0 is "0".
std::string shortestNumber(double value);
