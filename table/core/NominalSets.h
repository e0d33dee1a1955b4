#pragma once

#include "table/core/TableNumbers.h"

#include <optional>
#include <vector>

// The exact sets of nominals the transfer gives a table's rows. A row holds
// lower <= nominal <= upper (rows 2 to 18 from their typed lower bound plus
// LowerBoundOffset; range 1 and a row without lower bound from 0; a row
// without upper bound nothing), and takes what it holds and no earlier row holds.
namespace nominalsets {

// One end of a span: where it lies exactly, whether that point is left out,
// and the typed number that names it ("über 30", "bis 60").
struct End
{
    double at;
    bool open;
    double shown;
    bool includesShown; // the shown number itself belongs to the span: "von 0", not "über 0"
};

struct Span
{
    End from;
    End to;
};

struct Taken
{
    int range; // the earlier row that takes the span
    Span span;
};

struct Shares
{
    std::vector<Taken> byEarlier; // the parts of a row's set that earlier rows take, row by row
    bool keepsAny = false;        // whether the row itself takes any nominal
};

// What the row (1 to 18) holds.
std::optional<Span> held(const TableNumbers& numbers, int range);
Shares sharesOf(const TableNumbers& numbers, int range);

} // namespace nominalsets
