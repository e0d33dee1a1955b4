#pragma once

#include "korvant-sim/PartProgram.h"

#include <string>
#include <vector>

// One table of transfer cases, plain C++, driven through every transport
// (the fake host, D-Bus, COM). The table's rows: 0 bis 3, über 3 bis 6,
// über 6 bis 10, an overlapping über 8 bis 12,
// rows 5 to 17 blank and row 18 über 500 bis 600.
namespace transfercases {

struct Tolerances
{
    double plus;
    double minus; // as KORVANT holds it
};

struct TransferCase
{
    const char* what;
    sim::Command before;
    Tolerances afterKeeping;     // "OldVal" "1": tolerances a dimension has are kept
    Tolerances afterOverwriting; // "OldVal" "0"
};

// The 71 table values in value order, and the 72 captions (range 1's lower bound "0" first).
std::vector<std::string> tableValues();
std::vector<std::string> tableCaptions();

const std::vector<TransferCase>& cases();

// The cases as one part program, command i being case i.
sim::PartProgram partProgram();
// What of a part program read back after an undo does not hold the tolerances
// from before the run: the first such case, or nullptr when every case does.
const char* firstCaseNotAsBefore(const sim::PartProgram& program);

} // namespace transfercases
