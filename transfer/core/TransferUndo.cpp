#include "transfer/core/TransferUndo.h"

#include "transfer/core/HostSession.h"
#include "transfer/core/TransferPort.h"
#include "transfer/core/TransferTexts.h"
#include "transfer/core/TransferWalk.h"

#include <map>
#include <vector>

using namespace korvant;

namespace {

// Whether a tolerance can hold `now` with nothing but the run and the undos
// so far having touched it. A put that got no answer may or may not have
// been carried out: either value is the program's own.
bool mayHold(double now, double before, const std::optional<double>& put, Put runPut, Put back)
{
    if (back == Put::Done)
        return now == before;
    const bool beforeLeft = runPut != Put::Done || back == Put::Unanswered;
    const bool putLeft = put && (runPut == Put::Done || runPut == Put::Unanswered);
    return (beforeLeft && now == before) || (putLeft && now == *put);
}

// The command is still the one the run read there: what the run read of it
// (the dimension flag; the type; for a dimension read in full, axis and
// nominal) reads the same now, where both could read it.
bool sameCommand(const ReportRow* then, const CommandReading& now)
{
    if (!then)
        return !now.isDimension; // the run read the flag false
    if (!then->flagRead)
        return true;
    if (now.flagRead && !now.isDimension)
        return false;
    const auto differs = [](const auto& a, const auto& b) { return a && b && *a != *b; };
    if (differs(then->typeCode, now.typeCode))
        return false;
    const bool readInFull = then->axis && then->nominal;
    return !readInFull || (!differs(then->axis, now.axis) && !differs(then->nominal, now.nominal));
}

// A row of the run still to undo, found as the run left it.
struct Planned
{
    std::size_t runRow;
    std::size_t undoRow;
    Reference dimension;
    bool plusNeeded;
    bool minusNeeded;
};

// The first pass: every command read as the transfer reads it and compared with
// what the run read; each row still to undo checked. Nothing is put yet.
class Check
{
public:
    Check(const TransferReport& run, TransferReport& undo) : m_run(run), m_undo(undo)
    {
        for (std::size_t i = 0; i < run.rows.size(); ++i)
            m_rowAt[run.rows[i].position] = i;
        // A stopped run read the commands before its stop; of the one it
        // stopped at, all where it stopped after it, else what its row holds.
        m_readsToTheEnd = run.end == TransferReport::End::Complete;
        m_known = m_readsToTheEnd ? run.commandsVisited : run.stoppedAt;
        m_lastReadWhole = m_readsToTheEnd || run.stoppedAfter;
    }

    // False when the command is not the one the run read there, or when it
    // is the last one a stopped run read: the undo reads no further than its run.
    bool visit(Session& session, const Reference& command, std::size_t position)
    {
        m_reached = position;
        CommandReading now = readCommand(session, command);
        const auto found = m_rowAt.find(position);
        const ReportRow* then = found == m_rowAt.end() ? nullptr : &m_run.rows[found->second];
        const bool known = position < m_known || (position == m_known && (then || m_lastReadWhole));
        if (known && !sameCommand(then, now)) {
            m_changed = true;
            return false;
        }
        if (then && wasWritten(*then) && then->undo.state == RowUndo::State::Open)
            checkRow(found->second, now);
        return m_readsToTheEnd || position < m_known;
    }

    // The part program is the one the run wrote into: the same commands in
    // the same places as far as the run read, and as many as there were where
    // that is known (counted by a run that went to the end, or told by KORVANT).
    bool samePartProgram() const
    {
        if (m_changed)
            return false;
        if (m_readsToTheEnd || (m_run.commandCount && m_undo.commandCount))
            return m_undo.commandCount == m_run.commandCount && m_reached >= m_known;
        return m_reached == m_known;
    }

    std::vector<Planned>& planned() { return m_planned; }
    const std::vector<std::size_t>& changedRows() const { return m_changedRows; }

private:
    void checkRow(std::size_t runRow, CommandReading& now)
    {
        const ReportRow& then = m_run.rows[runRow];
        ReportRow& row = m_undo.rows.emplace_back(then);
        row.undo = {};
        row.plusBefore = now.plus;
        row.minusBefore = now.minus;
        row.plusNew = row.minusNew = std::nullopt;
        row.plusPut = row.minusPut = Put::NotTried;
        if (now.readFailed) {
            row.outcome = Outcome::ReadFailed;
            return;
        }
        if (!mayHold(*now.plus, *then.plusBefore, then.plusNew, then.plusPut, then.undo.plus) ||
            !mayHold(*now.minus, *then.minusBefore, then.minusNew, then.minusPut, then.undo.minus)) {
            row.outcome = Outcome::ChangedSince;
            m_changedRows.push_back(runRow);
            return;
        }
        row.outcome = Outcome::NotReached;
        row.plusNew = then.plusBefore;
        row.minusNew = then.minusBefore;
        m_planned.push_back({runRow, m_undo.rows.size() - 1, std::move(*now.dimension),
                             *now.plus != *then.plusBefore, *now.minus != *then.minusBefore});
    }

    const TransferReport& m_run;
    TransferReport& m_undo;
    std::map<std::size_t, std::size_t> m_rowAt; // command position -> row of the run
    std::size_t m_known = 0;                    // the last position the run read
    std::size_t m_reached = 0;                  // the last position this check read
    bool m_readsToTheEnd = false;               // the run went to the list's end
    bool m_lastReadWhole = false;
    bool m_changed = false;
    std::vector<Planned> m_planned;
    std::vector<std::size_t> m_changedRows;
};

// Puts one tolerance's value from before back where it needs it, and keeps
// with the run's row what became of it.
void restoreTolerance(Session& session, const Reference& dimension, int dispid, double before, bool needed,
                      Put& reported, Put& kept)
{
    if (!needed) {
        reported = Put::NotNeeded;
        kept = Put::Done;
        return;
    }
    try {
        putTolerance(session, dimension, dispid, before, reported);
    } catch (const RunStopped& stopped) {
        // A put "Abbrechen" came before tells nothing new of the tolerance.
        if (stopped.cause != StopCause::Cancelled)
            kept = reported;
        throw;
    }
    kept = reported;
}

// The second pass: the tolerances from before back into every row found as
// the run left it, row by row; "Abbrechen" stops before a row's puts, never between them.
void restore(Session& session, TransferPort& port, TransferReport& run, TransferReport& undo,
             std::vector<Planned>& planned)
{
    for (std::size_t i = 0; i < planned.size(); ++i) {
        Planned& each = planned[i];
        ReportRow& kept = run.rows[each.runRow];
        ReportRow& row = undo.rows[each.undoRow];
        undo.stoppedAt = row.position;
        undo.stoppedAfter = false;
        row.outcome = Outcome::WriteFailed;
        try {
            restoreTolerance(session, each.dimension, dispid::PlusTolerance, *kept.plusBefore,
                             each.plusNeeded, row.plusPut, kept.undo.plus);
            const Session::Unbroken together(session);
            restoreTolerance(session, each.dimension, dispid::MinusTolerance, *kept.minusBefore,
                             each.minusNeeded, row.minusPut, kept.undo.minus);
        } catch (const RunStopped& stopped) {
            // "Abbrechen" comes before a row's first put, never between its two.
            row.outcome = stopped.cause == StopCause::Cancelled ? Outcome::NotReached
                                                                : writeOutcome(row.plusPut, row.minusPut);
            throw;
        }
        row.outcome = writeOutcome(row.plusPut, row.minusPut);
        if (row.outcome == Outcome::Written)
            kept.undo.state = RowUndo::State::Restored;
        const bool last = i + 1 == planned.size();
        if (!port.reportProgress(row.position, undo.commandCount) && !last) {
            undo.stoppedAfter = true;
            endStopped(undo, TransferReport::End::Cancelled, port);
            return;
        }
    }
    undo.stoppedAt = 0;
}

// The undo's report, as the run's, without rows yet.
TransferReport undoReport(const TransferReport& run)
{
    TransferReport undo;
    undo.kind = TransferReport::Kind::Undo;
    undo.tablePath = run.tablePath;
    undo.partProgram = run.partProgram;
    undo.oldVal = run.oldVal;
    undo.undoOf = run.time;
    undo.ranges = run.ranges;
    undo.findings = run.findings;
    return undo;
}

// Both passes over the attached part program; the undo's report once the
// first pass found the part program as the run left it.
std::optional<TransferReport> undoInto(Session& session, TransferPort& port, const Attachment& attached,
                                       TransferReport& run)
{
    if (attached.defaultValue != run.partProgram) {
        port.showMessage(transfertexts::ProgramChanged);
        return std::nullopt;
    }
    TransferReport checked = undoReport(run);
    Check check(run, checked);
    const Reference commands =
        session.readObject(attached.partProgram, Interface::PartProgram, dispid::Commands);
    const WalkEnd walked =
        walkCommands(session, port, commands, checked, [&](const Reference& command, std::size_t position) {
            return check.visit(session, command, position);
        });
    if (walked == WalkEnd::Unreadable) {
        port.showMessage(transfertexts::UndoCommandsUnreadable);
        return std::nullopt;
    }
    if (walked == WalkEnd::Cancelled) {
        port.showMessage(transfertexts::UndoCancelledBeforePuts);
        return std::nullopt;
    }
    if (!check.samePartProgram()) {
        port.showMessage(transfertexts::ProgramChanged);
        return std::nullopt;
    }
    // From here on the report stands, whatever stops the second pass.
    std::optional<TransferReport> undo(std::move(checked));
    undo->commandsVisited = 0;
    for (std::size_t runRow : check.changedRows())
        run.rows[runRow].undo.state = RowUndo::State::ChangedSince;
    try {
        restore(session, port, run, *undo, check.planned());
    } catch (const RunStopped& stopped) {
        endStopped(*undo, endOf(stopped), port);
    }
    undo->undoTally = undoTally(run);
    return undo;
}

} // namespace

std::optional<TransferReport> undoTransfer(TransferPort& port, Host& host, TransferReport& run)
{
    port.setWaitPointer();
    Session session(host, port);
    std::optional<TransferReport> undo;
    try {
        if (const std::optional<Attachment> attached = attach(session, host, port))
            undo = undoInto(session, port, *attached, run);
    } catch (const RunStopped& stopped) {
        tellStopped(stopped, TransferReport::Kind::Undo, port);
    }
    host.endRun();
    port.restorePointer();
    return undo;
}
