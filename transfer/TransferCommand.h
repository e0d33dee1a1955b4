#pragma once

#include "transfer/TransferReport.h"

#include <optional>

namespace korvant {
class Host;
}
class TransferWindow;

// The texts the transfer command can show (UTF-8).
namespace transfertexts {
inline const char* const ChooseTable = "Sie müssen erst eine Tabelle auswählen";
inline const char* const StartKorvant = "KORVANT muß gestartet werden";
inline const char* const NoPartProgram = "Teileprogramm muß aktiv sein";
inline const char* const ConnectionFailed = "Die Verbindung zu KORVANT ist fehlgeschlagen";
inline const char* const CommandsUnreadable =
    "Die Befehle des Teileprogramms konnten nicht gelesen werden. Es wurden keine Toleranzen übertragen.";
inline const char* const ConnectionLost =
    "Die Verbindung zu KORVANT wurde unterbrochen. Die Toleranzen wurden nicht vollständig übertragen.";
inline const char* const Busy =
    "KORVANT ist beschäftigt und nimmt keine Aufrufe an. Die Toleranzen wurden nicht vollständig übertragen.";
} // namespace transfertexts

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
std::optional<TransferReport> runTransfer(TransferWindow& window, korvant::Host& host,
                                          TransferMode mode = TransferMode::Write);
