#include "transfer/core/RangeSet.h"

RangeSet RangeSet::fromNumbers(const TableNumbers& numbers)
{
    RangeSet set;
    set.m_rows = numbers;
    for (std::size_t i = 1; i < set.m_rows.size(); ++i)
        if (set.m_rows[i].lower)
            *set.m_rows[i].lower += LowerBoundOffset;
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
