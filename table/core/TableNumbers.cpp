#include "table/core/TableNumbers.h"

#include "table/core/TableCells.h"

TableNumbers readTableNumbers(const std::vector<std::string>& captions, const LocaleNumberReading& locale)
{
    TableNumbers numbers{};
    const auto& order = cells::labelOrder();
    for (std::size_t i = 0; i < order.size() && i < captions.size(); ++i) {
        const cells::Cell& cell = order[i];
        RangeNumbers& range = numbers[static_cast<std::size_t>(cell.range - 1)];
        const std::optional<double> number = readCaption(captions[i], locale).number;
        switch (cell.column) {
        case cells::Column::Lower:
            range.lower = number;
            break;
        case cells::Column::Upper:
            range.upper = number;
            break;
        case cells::Column::Plus:
            range.plus = number;
            break;
        case cells::Column::Minus:
            range.minus = number;
            break;
        }
    }
    return numbers;
}
