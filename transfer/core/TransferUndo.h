#pragma once

#include "transfer/core/TransferReport.h"

#include <optional>

namespace korvant {
class Host;
}
class TransferPort;

// "Rückgängig": gives the dimensions the last run wrote the tolerances they had
// before it, but only where nothing has changed since. It attaches as the
// transfer does; a first pass makes the transfer's reads for every command and
// checks each written row (same type, axis and nominal, still exactly the
// tolerances the run put); only then a second pass puts the old tolerances
// back. A part program with another default value text or another number of
// commands gets nothing. Shows at most one message; gives the undo's own
// report once the part program was reached and checked, and marks `run` undone
// when it wrote something.
std::optional<TransferReport> undoTransfer(TransferPort& port, korvant::Host& host, TransferReport& run);
