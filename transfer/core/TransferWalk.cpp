#include "transfer/core/TransferWalk.h"

#include "transfer/core/TransferPort.h"
#include "transfer/core/TransferTexts.h"

#include <algorithm>

namespace korvant {

WalkEnd walkCommands(Session& session, TransferPort& port, const Reference& commands, TransferReport& report,
                     const CommandVisit& visit)
{
    // A stop from here until the first command is fetched comes before it.
    report.stoppedAt = 0;
    const std::unique_ptr<Enumerator> enumerator = commands.isEmpty() ? nullptr : session.enumerate(commands);
    if (!enumerator)
        return WalkEnd::Unreadable;
    const std::optional<std::size_t> total = enumerator->count();
    report.commandCount = total;
    std::size_t& done = report.commandsVisited;
    port.reportProgress(done, total);
    for (;;) {
        // A stop on the step that fetches the next command, the one that finds
        // the end too, comes after the command before it.
        report.stoppedAt = done;
        report.stoppedAfter = true;
        // Past the last command "Abbrechen" comes too late to stop anything.
        std::optional<Session::Unbroken> toTheEnd;
        if (total && done == *total)
            toTheEnd.emplace(session);
        const std::optional<Reference> command = session.next(*enumerator);
        toTheEnd.reset();
        if (!command)
            break;
        report.stoppedAt = done + 1;
        report.stoppedAfter = false;
        if (!visit(*command, done + 1))
            return WalkEnd::Ended;
        const bool goOn = port.reportProgress(++done, total);
        if (!goOn && !(total && done == *total)) {
            report.stoppedAt = done;
            report.stoppedAfter = true;
            return WalkEnd::Cancelled;
        }
    }
    report.stoppedAt = 0;
    report.stoppedAfter = false;
    report.commandCount = done;
    return WalkEnd::Complete;
}

namespace {

// The stop's cause, and whether the command got anything written (put back) before it.
std::string stopMessage(StopCause cause, TransferReport::Kind kind, bool anythingDone)
{
    using namespace transfertexts;
    if (kind == TransferReport::Kind::Undo) {
        if (cause == StopCause::ListBroken)
            return UndoCommandsUnreadable;
        return stopText(cause == StopCause::Busy ? BusySentence : LostSentence,
                        anythingDone ? NotAllRestored : NoneRestored);
    }
    const char* what = cause == StopCause::ListBroken ? ListBrokenSentence
                       : cause == StopCause::Busy     ? BusySentence
                                                      : LostSentence;
    return stopText(what, anythingDone ? NotAllWritten : NoneWritten);
}

// "Die Übertragung wurde abgebrochen nach Befehl 3 von 24. …"; without a
// report, without the place.
std::string cancelMessage(TransferReport::Kind kind, const std::string& place, bool anythingDone)
{
    using namespace transfertexts;
    switch (kind) {
    case TransferReport::Kind::Preview:
        return PreviewCancelled + place + PreviewCancelledEnd;
    case TransferReport::Kind::Undo:
        return UndoCancelled + place + ". " + (anythingDone ? NotAllRestored : NoneRestored);
    case TransferReport::Kind::Run:
        break;
    }
    return RunCancelled + place + ". " + (anythingDone ? NotAllWritten : NoneWritten);
}

} // namespace

void putTolerance(Session& session, const Reference& dimension, int dispid, double value, Put& put)
{
    put = Put::Unanswered;
    try {
        put = session.write(dimension, Interface::Dimension, dispid, value) ? Put::Done : Put::Failed;
    } catch (const RunStopped& stopped) {
        // A busy host rejected the call: it was not carried out; "Abbrechen" came before it.
        if (stopped.cause == StopCause::Busy)
            put = Put::Failed;
        else if (stopped.cause == StopCause::Cancelled)
            put = Put::NotTried;
        throw;
    }
}

void putTolerances(Session& session, const Reference& dimension, double plus, double minus, Put& plusPut,
                   Put& minusPut)
{
    putTolerance(session, dimension, dispid::PlusTolerance, plus, plusPut);
    const Session::Unbroken together(session);
    putTolerance(session, dimension, dispid::MinusTolerance, minus, minusPut);
}

TransferReport::End endOf(const RunStopped& stopped)
{
    switch (stopped.cause) {
    case StopCause::Busy:
        return TransferReport::End::Busy;
    case StopCause::ListBroken:
        return TransferReport::End::ListBroken;
    case StopCause::Cancelled:
        return TransferReport::End::Cancelled;
    case StopCause::ConnectionLost:
        break;
    }
    return TransferReport::End::ConnectionLost;
}

void endStopped(TransferReport& report, TransferReport::End why, TransferPort& port)
{
    report.end = why;
    const bool undo = report.kind == TransferReport::Kind::Undo;
    const bool anythingDone = std::any_of(report.rows.begin(), report.rows.end(), wasWritten);
    switch (why) {
    case TransferReport::End::Complete:
        return;
    case TransferReport::End::CommandsUnreadable:
        port.showMessage(undo ? transfertexts::UndoCommandsUnreadable : transfertexts::CommandsUnreadable);
        return;
    case TransferReport::End::ConnectionLost:
        port.showMessage(stopMessage(StopCause::ConnectionLost, report.kind, anythingDone));
        return;
    case TransferReport::End::Busy:
        port.showMessage(stopMessage(StopCause::Busy, report.kind, anythingDone));
        return;
    case TransferReport::End::ListBroken:
        port.showMessage(stopMessage(StopCause::ListBroken, report.kind, anythingDone));
        return;
    case TransferReport::End::Cancelled:
        port.showMessage(cancelMessage(report.kind, stoppedAtText(report), anythingDone));
        return;
    }
}

void tellStopped(const RunStopped& stopped, TransferReport::Kind kind, TransferPort& port)
{
    if (stopped.cause == StopCause::Cancelled)
        port.showMessage(cancelMessage(kind, transfertexts::Cancelled, false));
    else
        port.showMessage(stopMessage(stopped.cause, kind, false));
}

} // namespace korvant
