#pragma once

#include "transfer/core/TransferReport.h"

#include <optional>

namespace korvant {
class Host;
}
class TransferPort;

// "Rückgängig": gives the dimensions the run wrote into the tolerances they had
// before it, but only where nothing has changed since. It attaches as the
// transfer does; a first pass makes the transfer's reads of every command the
// run read, and of none after them, and compares them with what the run read
// (dimension flag, type, and for a dimension read in full its axis and
// nominal): a part program with another default value text, other commands
// or commands in other places gets nothing.
// The first pass also checks each row still to undo: it must hold what the
// run (and any undo before) left there. Only then a second pass puts back,
// row by row, what each row needs. Each of the run's rows keeps how far its
// undo has got, so that an undo that stopped can be finished by the next.
// Shows at most one message; gives the undo's own report once the second
// pass could begin.
std::optional<TransferReport> undoTransfer(TransferPort& port, korvant::Host& host, TransferReport& run);
