#include "transfer/core/TransferCommand.h"

#include "table/core/TableCells.h"
#include "transfer/core/HostSession.h"
#include "transfer/core/RangeSet.h"
#include "transfer/core/TransferPort.h"
#include "transfer/core/TransferTexts.h"
#include "transfer/core/TransferWalk.h"

#include <cmath>

using namespace korvant;

namespace {

// One command of the part program, with its row in the report unless its
// dimension flag reads false. Any read that fails skips the command: nothing
// read for another command may steer what is written here.
void visitCommand(Session& session, TransferPort& port, const RangeSet& ranges, const Reference& command,
                  std::size_t position, TransferMode mode, TransferReport& report)
{
    const CommandReading reading = readCommand(session, command);
    if (reading.flagRead && !reading.isDimension)
        return;
    ReportRow& row = report.rows.emplace_back();
    row.position = position;
    row.flagRead = reading.flagRead;
    row.typeCode = reading.typeCode;
    row.axis = reading.axis;
    row.nominal = reading.nominal;
    row.plusBefore = reading.plus;
    row.minusBefore = reading.minus;
    if (reading.typeCode && typeIsLeftOut(*reading.typeCode)) {
        row.outcome = Outcome::TypeNotCovered;
        return;
    }
    if (reading.readFailed) {
        row.outcome = Outcome::ReadFailed;
        return;
    }
    if (!qualifies(*reading.axis, *reading.typeCode)) {
        row.outcome = Outcome::AxisNotCovered;
        return;
    }

    // "OldVal" is read for each dimension that has a tolerance, never for the others.
    const bool hasTolerance = *reading.plus != 0 || *reading.minus != 0;
    if (hasTolerance) {
        const bool keep = port.keepExistingTolerances();
        report.oldVal = keep ? "1" : "0";
        if (keep) {
            row.outcome = Outcome::KeepsOwnTolerances;
            return;
        }
    }

    const auto found = ranges.lookUp(std::fabs(*reading.nominal));
    if (!found) {
        row.outcome = Outcome::NoRange;
        return;
    }
    row.range = found->range;
    row.plusNew = found->tolerances.plus;
    row.minusNew = found->tolerances.minus;
    if (mode == TransferMode::Preview) {
        row.outcome = Outcome::Written;
        return;
    }
    // Until both puts are answered the row says what is known; a stop between
    // them leaves it so.
    row.outcome = Outcome::WriteFailed;
    try {
        putTolerances(session, *reading.dimension, *row.plusNew, *row.minusNew, row.plusPut, row.minusPut);
    } catch (const RunStopped& stopped) {
        // "Abbrechen" before the first put leaves the command as if not reached.
        if (stopped.cause == StopCause::Cancelled)
            report.rows.pop_back();
        else
            row.outcome = writeOutcome(row.plusPut, row.minusPut);
        throw;
    }
    row.outcome = writeOutcome(row.plusPut, row.minusPut);
}

// Everything between setting and restoring the pointer; shows at most one message.
std::optional<TransferReport> attachAndTransfer(TransferPort& port, Host& host, TransferMode mode)
{
    const TableDocument& table = port.table();
    if (!table.hasPath()) {
        port.showMessage(transfertexts::ChooseTable);
        return std::nullopt;
    }
    // A table that cannot mean what it says is never written; the preview shows what it would write.
    const tablecheck::Locale locale = port.locale();
    const std::optional<std::string> fingerprint = table.fingerprint(locale.read, port.fingerprinting());
    std::vector<tablecheck::Finding> findings = table.checkWithRelease(locale, fingerprint);
    if (const tablecheck::Finding* error = tablecheck::firstError(findings);
        error && mode == TransferMode::Write) {
        port.showMessage(std::string(transfertexts::TableHasErrors) + "\n" + error->text);
        return std::nullopt;
    }
    const auto kind =
        mode == TransferMode::Preview ? TransferReport::Kind::Preview : TransferReport::Kind::Run;
    Session session(host, port);
    std::optional<TransferReport> report;
    try {
        const std::optional<Attachment> attached = attach(session, host, port);
        if (!attached)
            return std::nullopt;
        report.emplace();
        report->kind = kind;
        report->tablePath = *table.path();
        report->partProgram = attached->defaultValue;
        report->findings = std::move(findings);
        report->fingerprint = fingerprint.value_or(std::string());
        if (release::matches(table.release(), fingerprint))
            report->release = table.release().record;
        const Reference commands =
            session.readObject(attached->partProgram, Interface::PartProgram, dispid::Commands);
        report->ranges = table.numbers(locale.read);
        const RangeSet ranges = RangeSet::fromNumbers(report->ranges);
        const WalkEnd walked = walkCommands(
            session, port, commands, *report, [&](const Reference& command, std::size_t position) {
                visitCommand(session, port, ranges, command, position, mode, *report);
                return true;
            });
        // A part program whose commands cannot be read gets nothing, and the user is
        // told so: a silent end would look like a transfer that succeeded.
        if (walked == WalkEnd::Unreadable)
            endStopped(*report, TransferReport::End::CommandsUnreadable, port);
        else if (walked == WalkEnd::Cancelled)
            endStopped(*report, TransferReport::End::Cancelled, port);
    } catch (const RunStopped& stopped) {
        // The references taken for the walk have been given up on the way here.
        if (report)
            endStopped(*report, endOf(stopped), port);
        else
            tellStopped(stopped, kind, port);
    }
    return report;
}

} // namespace

std::optional<TransferReport> runTransfer(TransferPort& port, Host& host, TransferMode mode)
{
    // The edit-mode test comes before every other test, and before the pointer changes.
    if (port.table().isEditing()) {
        port.showMessage(cells::SaveFirst);
        port.restorePointer();
        return std::nullopt;
    }
    port.setWaitPointer();
    std::optional<TransferReport> report = attachAndTransfer(port, host, mode);
    host.endRun();
    port.restorePointer();
    return report;
}
