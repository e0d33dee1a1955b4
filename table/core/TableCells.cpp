#include "table/core/TableCells.h"

namespace cells {
namespace {

constexpr Column Columns[] = {Column::Lower, Column::Upper, Column::Plus, Column::Minus};

template <std::size_t N> std::array<Cell, N> columnMajor(int firstLowerRange)
{
    std::array<Cell, N> order{};
    std::size_t i = 0;
    for (Column column : Columns)
        for (int range = column == Column::Lower ? firstLowerRange : 1; range <= RangeCount; ++range)
            order[i++] = Cell{column, range};
    return order;
}

} // namespace

const std::array<Cell, ValueCount>& valueOrder()
{
    static const auto order = columnMajor<ValueCount>(2);
    return order;
}

const std::array<Cell, LabelCount>& labelOrder()
{
    static const auto order = columnMajor<LabelCount>(1);
    return order;
}

const std::array<Cell, ValueCount>& keyboardOrder()
{
    static const auto order = [] {
        std::array<Cell, ValueCount> result{};
        std::size_t i = 0;
        for (int range = 1; range <= RangeCount; ++range)
            for (Column column : Columns)
                if (!(column == Column::Lower && range == 1))
                    result[i++] = Cell{column, range};
        return result;
    }();
    return order;
}

std::size_t labelIndex(const Cell& cell)
{
    return static_cast<std::size_t>(cell.column) * RangeCount + static_cast<std::size_t>(cell.range - 1);
}

std::size_t valueIndex(const Cell& cell)
{
    return labelIndex(cell) - 1;
}

std::string columnPrefix(Column column)
{
    switch (column) {
    case Column::Lower:
        return "Über";
    case Column::Upper:
        return "Bis";
    case Column::Plus:
        return "PT";
    case Column::Minus:
        return "MT";
    }
    return {};
}

std::string columnCaption(Column column)
{
    switch (column) {
    case Column::Lower:
        return "über";
    case Column::Upper:
        return "bis";
    case Column::Plus:
        return "Plus Tol.";
    case Column::Minus:
        return "Minus Tol.";
    }
    return {};
}

std::string boxName(const Cell& cell)
{
    return columnPrefix(cell.column) + std::to_string(cell.range);
}

std::string labelName(const Cell& cell)
{
    return boxName(cell) + "_T";
}

} // namespace cells
