#include "transfer/TransferCommand.h"

#include "table/TableCells.h"
#include "transfer/HostSession.h"
#include "transfer/RangeSet.h"
#include "transfer/TransferWindow.h"

#include <cmath>

using namespace korvant;

namespace {

// One command of the part program, with its row in the report when its
// dimension flag reads true. Any read that fails skips the command: nothing
// read for another command may steer what is written here.
void visitCommand(Session& session, TransferWindow& window, const RangeSet& ranges, const Reference& command,
                  std::size_t position, TransferMode mode, TransferReport& report)
{
    const CommandReading reading = readCommand(session, command);
    if (!reading.isDimension)
        return;
    ReportRow& row = report.rows.emplace_back();
    row.position = position;
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
        report.oldVal = window.oldValSetting();
        if (report.oldVal != "0") {
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
    row.outcome = Outcome::Written;
    if (mode == TransferMode::Preview)
        return;
    const Reference& dimension = *reading.dimension;
    row.plusPutFailed = !session.write(dimension, Interface::Dimension, dispid::PlusTolerance, *row.plusNew);
    row.minusPutFailed =
        !session.write(dimension, Interface::Dimension, dispid::MinusTolerance, *row.minusNew);
    if (row.plusPutFailed || row.minusPutFailed)
        row.outcome = Outcome::WriteFailed;
}

// A part program whose commands cannot be read gets nothing, and the user is
// told so: a silent end would look like a transfer that succeeded.
void walkCommands(Session& session, TransferWindow& window, const RangeSet& ranges, const Reference& commands,
                  TransferMode mode, TransferReport& report)
{
    const std::unique_ptr<Enumerator> enumerator = commands.isEmpty() ? nullptr : session.enumerate(commands);
    if (!enumerator) {
        report.end = TransferReport::End::CommandsUnreadable;
        window.showMessage(transfertexts::CommandsUnreadable);
        return;
    }
    const std::optional<std::size_t> total = enumerator->count();
    report.commandCount = total;
    std::size_t& done = report.commandsVisited;
    window.reportProgress(done, total);
    while (const std::optional<Reference> command = session.next(*enumerator)) {
        visitCommand(session, window, ranges, *command, done + 1, mode, report);
        window.reportProgress(++done, total);
    }
    report.commandCount = done;
}

const char* stopMessage(CallStatus status)
{
    return status == CallStatus::Busy ? transfertexts::Busy : transfertexts::ConnectionLost;
}

// Everything between setting and restoring the pointer; shows at most one message.
std::optional<TransferReport> attachAndTransfer(TransferWindow& window, Host& host, TransferMode mode)
{
    if (window.tablePath() == cells::NoTableChosen) {
        window.showMessage(transfertexts::ChooseTable);
        return std::nullopt;
    }
    Session session(host);
    std::optional<TransferReport> report;
    try {
        const std::optional<Attachment> attached = attach(session, host, window);
        if (!attached)
            return std::nullopt;
        report.emplace();
        report->kind =
            mode == TransferMode::Preview ? TransferReport::Kind::Preview : TransferReport::Kind::Run;
        report->tablePath = window.tablePath();
        report->partProgram = attached->defaultValue;
        const Reference commands =
            session.readObject(attached->partProgram, Interface::PartProgram, dispid::Commands);
        const RangeSet ranges = RangeSet::fromCaptions(window.labelCaptions(), window);
        walkCommands(session, window, ranges, commands, mode, *report);
    } catch (const RunStopped& stopped) {
        // The references taken for the walk have been given up on the way here.
        if (report)
            report->end = stopped.status == CallStatus::Busy ? TransferReport::End::Busy
                                                             : TransferReport::End::ConnectionLost;
        window.showMessage(stopMessage(stopped.status));
    }
    return report;
}

} // namespace

std::optional<TransferReport> runTransfer(TransferWindow& window, Host& host, TransferMode mode)
{
    // The edit-mode test comes before every other test, and before the pointer changes.
    if (window.isEditMode()) {
        window.showMessage(cells::SaveFirst);
        window.restorePointer();
        return std::nullopt;
    }
    window.setWaitPointer();
    std::optional<TransferReport> report = attachAndTransfer(window, host, mode);
    host.endRun();
    window.restorePointer();
    return report;
}
