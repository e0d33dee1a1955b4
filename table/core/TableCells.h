#pragma once

#include <array>
#include <cstddef>
#include <string>

// The tolerance table's cells: 18 nominal-size ranges of four cells each.
// Names are UTF-8 and are the object names of the table's controls.
namespace cells {

enum class Column
{
    Lower,
    Upper,
    Plus,
    Minus
};

struct Cell
{
    Column column;
    int range; // 1 to 18

    bool operator==(const Cell& other) const { return column == other.column && range == other.range; }
};

constexpr int RangeCount = 18;
// Range 1's lower bound is fixed at "0" and has no text box.
constexpr int ValueCount = 4 * RangeCount - 1;
constexpr int LabelCount = 4 * RangeCount;

// The caption of the table-name label while no table file is chosen.
inline const char* const NoTableChosen = "keine Tabelle gewählt";
// The refusal of every command that needs display mode while the table is being edited.
inline const char* const SaveFirst = "Sie müssen die aktuellen Tabellenwerte zuerst speichern";
// The fixed caption of range 1's lower bound.
inline const char* const FirstLowerBound = "0";

// The 71 editable cells in value order: lower bounds 2..18, upper bounds 1..18,
// plus tolerances 1..18, minus tolerances 1..18. Every operation over all cells
// and the table file use this order.
const std::array<Cell, ValueCount>& valueOrder();

// The 72 labels in value order with range 1's lower bound first; index i is
// column i / 18, range i % 18 + 1.
const std::array<Cell, LabelCount>& labelOrder();

// The order in which Tab moves through the 71 text boxes: range by range, and
// within a range lower bound, upper bound, plus, minus.
const std::array<Cell, ValueCount>& keyboardOrder();

// Where a cell stands in labelOrder() and in valueOrder() (range 1's lower
// bound, which is no value, has no value index).
std::size_t labelIndex(const Cell& cell);
std::size_t valueIndex(const Cell& cell);

std::string columnPrefix(Column column);  // "Über", "Bis", "PT", "MT"
std::string columnCaption(Column column); // the column's heading: "über", "bis", "Plus Tol.", "Minus Tol."
std::string boxName(const Cell& cell);    // "Über2"
std::string labelName(const Cell& cell);  // "Über2_T"

} // namespace cells
