#include "table/core/NominalSets.h"

namespace nominalsets {
namespace {

bool isEmpty(const Span& span)
{
    return span.from.at > span.to.at || (span.from.at == span.to.at && (span.from.open || span.to.open));
}

// Of two lower ends the one that leaves more out, and likewise of two upper ends.
End higherFrom(const End& a, const End& b)
{
    return a.at != b.at ? (a.at > b.at ? a : b) : (a.open ? a : b);
}

End lowerTo(const End& a, const End& b)
{
    return a.at != b.at ? (a.at < b.at ? a : b) : (a.open ? a : b);
}

// The end on the other side of the same point: what lies just beside a span.
End beside(const End& end)
{
    return {end.at, !end.open, end.shown, !end.includesShown};
}

void addUnlessEmpty(const Span& span, std::vector<Span>& into)
{
    if (!isEmpty(span))
        into.push_back(span);
}

} // namespace

std::optional<Span> held(const TableNumbers& numbers, int range)
{
    const RangeNumbers& row = numbers[static_cast<std::size_t>(range - 1)];
    if (!row.upper)
        return std::nullopt;
    const bool offset = range > 1 && row.lower;
    const double lower = row.lower.value_or(0.0);
    const Span span{{offset ? lower + LowerBoundOffset : lower, false, lower, !offset},
                    {*row.upper, false, *row.upper, true}};
    return isEmpty(span) ? std::nullopt : std::optional<Span>(span);
}

Shares sharesOf(const TableNumbers& numbers, int range)
{
    Shares shares;
    std::vector<Span> left;
    if (const auto own = held(numbers, range))
        left.push_back(*own);
    for (int earlier = 1; earlier < range; ++earlier) {
        const std::optional<Span> by = held(numbers, earlier);
        if (!by)
            continue;
        std::vector<Span> next;
        for (const Span& part : left) {
            const Span common{higherFrom(part.from, by->from), lowerTo(part.to, by->to)};
            if (!isEmpty(common))
                shares.byEarlier.push_back({earlier, common});
            addUnlessEmpty({part.from, lowerTo(part.to, beside(by->from))}, next);
            addUnlessEmpty({higherFrom(part.from, beside(by->to)), part.to}, next);
        }
        left = next;
    }
    shares.keepsAny = !left.empty();
    return shares;
}

} // namespace nominalsets
