#pragma once

#include "transfer/TransferReport.h"

#include <functional>
#include <memory>
#include <optional>

class QWidget;
class ToleranceTable;

namespace korvant {
class Host;
}

// When a long run shows its progress window, and how often it is brought up to date.
struct ProgressTiming
{
    int delayMs = 500; // a run shorter than this shows no progress window
    int intervalMs = 100;
};

// "Ausführen": writes the shown table's tolerances into the dimensions of the
// part program open in the KORVANT that `host` reaches (createPlatformHost()
// for the program). `window` gets the wait pointer while it runs and owns the
// progress window of a long run. The report of a run that reached a part
// program replaces the last one; true then.
bool transferTolerances(ToleranceTable& table, QWidget* window, korvant::Host& host,
                        ProgressTiming timing = {});

// The report of the program's last "Ausführen" that reached a part program;
// kept in memory only, until the program ends.
std::optional<TransferReport>& lastTransferReport();

// A connection to KORVANT for each command run from the report window.
using HostFactory = std::function<std::unique_ptr<korvant::Host>()>;

// "Vorschau…": the transfer's reads without a put, then the report window
// with what each dimension would get.
void previewTransfer(ToleranceTable& table, QWidget* window, const HostFactory& hosts,
                     ProgressTiming timing = {});
// "Letzte Übertragung…": the report window with the last run's report, or the
// message that there is none yet.
void showLastTransfer(ToleranceTable& table, QWidget* window, const HostFactory& hosts,
                      ProgressTiming timing = {});

// "Rückgängig" of the last run, with `window` as the transfer's window; the undo's report.
std::optional<TransferReport> undoLastTransfer(ToleranceTable& table, QWidget* window, korvant::Host& host,
                                               ProgressTiming timing = {});
