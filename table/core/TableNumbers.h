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

// Rows 2 to 18 hold their nominals from their typed lower bound plus this, so
// that a nominal equal to it falls into the row before, whose upper bound it is.
constexpr double LowerBoundOffset = 0.00001;

// From the 72 captions, range 1's lower bound first: the one reading of a
// table's numbers that its check and its transfer share.
TableNumbers readTableNumbers(const std::vector<std::string>& captions, const LocaleNumberReading& locale);
