#include "transfer/core/TransferUndo.h"

#include "transfer/core/HostSession.h"
#include "transfer/core/TransferPort.h"
#include "transfer/core/TransferTexts.h"
#include "transfer/core/TransferWalk.h"

#include <map>
#include <vector>

using namespace korvant;

namespace {

// The command still is the one the run wrote into and holds what the run left there.
bool unchangedSince(const ReportRow& written, const CommandReading& now)
{
    const double plusLeft = written.plusPutFailed ? *written.plusBefore : *written.plusNew;
    const double minusLeft = written.minusPutFailed ? *written.minusBefore : *written.minusNew;
    return !now.readFailed && now.typeCode == written.typeCode && now.axis == written.axis &&
           now.nominal == written.nominal && now.plus == plusLeft && now.minus == minusLeft;
}

struct Restoring
{
    std::size_t reportRow; // in the undo's report
    std::size_t runRow;
    Reference dimension;
};

// The first pass: every command read as the transfer reads it, each written row checked.
// False when the part program's commands cannot be walked or their number differs.
bool checkCommands(Session& session, TransferPort& port, const Reference& commands, const TransferReport& run,
                   TransferReport& undo, std::vector<Restoring>& restoring)
{
    std::map<std::size_t, std::size_t> writtenAt; // command position -> row of the run
    for (std::size_t i = 0; i < run.rows.size(); ++i)
        if (wasWritten(run.rows[i]))
            writtenAt[run.rows[i].position] = i;

    const bool walked =
        walkCommands(session, port, commands, undo, [&](const Reference& command, std::size_t position) {
            CommandReading reading = readCommand(session, command);
            const auto found = writtenAt.find(position);
            if (found == writtenAt.end())
                return;
            const ReportRow& written = run.rows[found->second];
            ReportRow& row = undo.rows.emplace_back(written);
            row.plusBefore = reading.plus;
            row.minusBefore = reading.minus;
            row.plusNew = row.minusNew = std::nullopt;
            row.plusPutFailed = row.minusPutFailed = false;
            if (unchangedSince(written, reading))
                restoring.push_back({undo.rows.size() - 1, found->second, std::move(*reading.dimension)});
            else
                row.outcome = reading.readFailed ? Outcome::ReadFailed : Outcome::ChangedSince;
        });
    if (!walked) {
        port.showMessage(transfertexts::UndoCommandsUnreadable);
        return false;
    }
    if (run.commandCount && undo.commandCount != run.commandCount) {
        port.showMessage(transfertexts::ProgramChanged);
        return false;
    }
    return true;
}

// The second pass: the old tolerances back into every dimension found unchanged.
// A stop leaves the report with the rows up to the one being written.
void restore(Session& session, TransferPort& port, TransferReport& run, TransferReport& undo,
             const std::vector<Restoring>& restoring)
{
    std::size_t done = 0;
    for (const Restoring& each : restoring) {
        const ReportRow& written = run.rows[each.runRow];
        ReportRow& row = undo.rows[each.reportRow];
        row.plusNew = written.plusBefore;
        row.minusNew = written.minusBefore;
        row.outcome = Outcome::WriteFailed;
        row.plusPutFailed = row.minusPutFailed = true; // until each put has gone through
        run.undone = true;
        try {
            row.plusPutFailed = !session.write(each.dimension, Interface::Dimension, dispid::PlusTolerance,
                                               *written.plusBefore);
            row.minusPutFailed = !session.write(each.dimension, Interface::Dimension, dispid::MinusTolerance,
                                                *written.minusBefore);
        } catch (const RunStopped&) {
            undo.rows.resize(each.reportRow + 1);
            throw;
        }
        if (!row.plusPutFailed && !row.minusPutFailed)
            row.outcome = Outcome::Restored;
        port.reportProgress(++done, restoring.size());
    }
}

// The undo's report, as the run's, without rows yet.
TransferReport undoReport(const TransferReport& run)
{
    TransferReport undo;
    undo.kind = TransferReport::Kind::Undo;
    undo.tablePath = run.tablePath;
    undo.partProgram = run.partProgram;
    undo.oldVal = run.oldVal;
    undo.commandCount = run.commandCount;
    return undo;
}

} // namespace

std::optional<TransferReport> undoTransfer(TransferPort& port, Host& host, TransferReport& run)
{
    port.setWaitPointer();
    Session session(host);
    std::optional<TransferReport> undo;
    try {
        const std::optional<Attachment> attached = attach(session, host, port);
        if (attached && attached->defaultValue != run.partProgram) {
            port.showMessage(transfertexts::ProgramChanged);
        } else if (attached) {
            TransferReport checked = undoReport(run);
            std::vector<Restoring> restoring;
            const Reference commands =
                session.readObject(attached->partProgram, Interface::PartProgram, dispid::Commands);
            if (checkCommands(session, port, commands, run, checked, restoring)) {
                // From here on the report stands, whatever stops the second pass.
                undo.emplace(std::move(checked));
                restore(session, port, run, *undo, restoring);
            }
        }
    } catch (const RunStopped& stopped) {
        endStopped(stopped, port, undo ? &*undo : nullptr, TransferReport::Kind::Undo);
    }
    host.endRun();
    port.restorePointer();
    return undo;
}
