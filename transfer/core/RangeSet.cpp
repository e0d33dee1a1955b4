#include "transfer/core/RangeSet.h"

#include "table/TableCells.h"

RangeSet RangeSet::fromCaptions(const std::vector<std::string>& captions, const LocaleNumberReading& locale)
{
    // Rows 2 to 18 start just above their typed lower bound, so a nominal equal
    // to it falls into the row before, whose upper bound it is.
    constexpr double LowerBoundOffset = 0.00001;

    RangeSet set;
    const auto& order = cells::labelOrder();
    for (std::size_t i = 0; i < order.size() && i < captions.size(); ++i) {
        const cells::Cell& cell = order[i];
        Row& row = set.m_rows[static_cast<std::size_t>(cell.range - 1)];
        const std::optional<double> number = readCaptionNumber(captions[i], locale);
        switch (cell.column) {
        case cells::Column::Lower:
            row.lower = number && cell.range > 1 ? *number + LowerBoundOffset : number;
            break;
        case cells::Column::Upper:
            row.upper = number;
            break;
        case cells::Column::Plus:
            row.plus = number;
            break;
        case cells::Column::Minus:
            row.minus = number;
            break;
        }
    }
    return set;
}

std::optional<RangeSet::Found> RangeSet::lookUp(double nominal) const
{
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        const Row& row = m_rows[i];
        if (!row.upper)
            continue;
        if (nominal >= row.lower.value_or(0.0) && nominal <= *row.upper)
            // 0.0 - x rather than -x: an unset minus tolerance is written as 0, not -0.
            return Found{static_cast<int>(i) + 1, {row.plus.value_or(0.0), 0.0 - row.minus.value_or(0.0)}};
    }
    return std::nullopt;
}
