#pragma once

#include "table/core/NumberReading.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

// One range of a table as numbers; an unset field is a cell that is no number.
struct RangeNumbers
{
    std::optional<double> lower;
    std::optional<double> upper;
    std::optional<double> plus;
    std::optional<double> minus;
};

// The 18 ranges as the table's cells read, range 1 first.
using TableNumbers = std::array<RangeNumbers, 18>;

// From the 72 captions, range 1's lower bound first: the one reading of a
// table's numbers that its check and its transfer share.
TableNumbers readTableNumbers(const std::vector<std::string>& captions, const LocaleNumberReading& locale);
