#pragma once

#include "transfer/core/TransferReport.h"

#include <optional>

namespace korvant {
class Host;
}
class TransferPort;

enum class TransferMode
{
    Write,  // "Ausführen"
    Preview // the same reads, never a put
};

// "Ausführen": writes the shown table's tolerances into every qualifying
// dimension of KORVANT's active part program. Shows at most one message; the
// pointer is the default pointer again when it returns, whatever happened.
// The report of what it did (or in the preview would do) comes back once the
// part program was reached; a run refused before that gives none.
std::optional<TransferReport> runTransfer(TransferPort& port, korvant::Host& host,
                                          TransferMode mode = TransferMode::Write);
