#pragma once

#include "table/core/TableNumbers.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

// The 18 nominal-size ranges of the shown table as numbers, read once per
// transfer run.
class RangeSet
{
public:
    using Row = RangeNumbers; // rows 2 to 18: the lower bound is the typed value plus 0.00001

    struct Tolerances
    {
        double plus;  // written as the dimension's plus tolerance
        double minus; // the table's minus tolerance with its sign changed
    };

    struct Found
    {
        int range; // the row taken, 1 to 18
        Tolerances tolerances;
    };

    static RangeSet fromNumbers(const TableNumbers& numbers);
    static RangeSet fromCaptions(const std::vector<std::string>& captions, const LocaleNumberReading& locale)
    {
        return fromNumbers(readTableNumbers(captions, locale));
    }

    // The first row holding the nominal (lower bound <= nominal <= upper bound,
    // an unset lower bound counting as 0). A row without an upper bound holds
    // nothing, so a range left blank never takes a nominal. An unset tolerance
    // of the row taken is written as 0.
    std::optional<Found> lookUp(double nominal) const;

    const Row& row(int range) const { return m_rows.at(static_cast<std::size_t>(range - 1)); }

private:
    TableNumbers m_rows{};
};
