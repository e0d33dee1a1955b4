#include "transfer/core/TransferWalk.h"

#include "transfer/core/TransferPort.h"
#include "transfer/core/TransferTexts.h"

namespace korvant {

WalkEnd walkCommands(Session& session, TransferPort& port, const Reference& commands, TransferReport& report,
                     const CommandVisit& visit)
{
    const std::unique_ptr<Enumerator> enumerator = commands.isEmpty() ? nullptr : session.enumerate(commands);
    if (!enumerator)
        return WalkEnd::Unreadable;
    const std::optional<std::size_t> total = enumerator->count();
    report.commandCount = total;
    std::size_t& done = report.commandsVisited;
    port.reportProgress(done, total);
    for (;;) {
        report.stoppedAt = done + 1;
        const std::optional<Reference> command = session.next(*enumerator);
        if (!command)
            break;
        if (!visit(*command, done + 1))
            return WalkEnd::Ended;
        const bool goOn = port.reportProgress(++done, total);
        // A stop asked for after the last command comes too late to stop anything.
        if (!goOn && !(total && done == *total)) {
            report.stoppedAt = done;
            return WalkEnd::Cancelled;
        }
    }
    report.stoppedAt = 0;
    report.commandCount = done;
    return WalkEnd::Complete;
}

namespace {

const char* lostMessage(CallStatus status, TransferReport::Kind kind)
{
    const bool busy = status == CallStatus::Busy;
    if (kind == TransferReport::Kind::Undo)
        return busy ? transfertexts::UndoBusy : transfertexts::UndoConnectionLost;
    return busy ? transfertexts::Busy : transfertexts::ConnectionLost;
}

std::string cancelMessage(const TransferReport& report)
{
    using namespace transfertexts;
    switch (report.kind) {
    case TransferReport::Kind::Preview:
        return PreviewCancelled + stoppedAtText(report) + PreviewCancelledEnd;
    case TransferReport::Kind::Undo:
        return UndoCancelled + stoppedAtText(report) + UndoCancelledEnd;
    case TransferReport::Kind::Run:
        break;
    }
    return RunCancelled + stoppedAtText(report) + RunCancelledEnd;
}

} // namespace

void putTolerance(Session& session, const Reference& dimension, int dispid, double value, Put& put)
{
    put = Put::Unanswered;
    try {
        put = session.write(dimension, Interface::Dimension, dispid, value) ? Put::Done : Put::Failed;
    } catch (const RunStopped& stopped) {
        // A busy host rejected the call: it was not carried out.
        if (stopped.status == CallStatus::Busy)
            put = Put::Failed;
        throw;
    }
}

void putTolerances(Session& session, const Reference& dimension, double plus, double minus, Put& plusPut,
                   Put& minusPut)
{
    putTolerance(session, dimension, dispid::PlusTolerance, plus, plusPut);
    putTolerance(session, dimension, dispid::MinusTolerance, minus, minusPut);
}

void endStopped(TransferReport& report, TransferReport::End why, TransferPort& port)
{
    report.end = why;
    const bool undo = report.kind == TransferReport::Kind::Undo;
    switch (why) {
    case TransferReport::End::Complete:
        return;
    case TransferReport::End::CommandsUnreadable:
        port.showMessage(undo ? transfertexts::UndoCommandsUnreadable : transfertexts::CommandsUnreadable);
        return;
    case TransferReport::End::ConnectionLost:
    case TransferReport::End::Busy:
        port.showMessage(lostMessage(
            why == TransferReport::End::Busy ? CallStatus::Busy : CallStatus::ConnectionLost, report.kind));
        return;
    case TransferReport::End::Cancelled:
        port.showMessage(cancelMessage(report));
        return;
    }
}

void tellStopped(const RunStopped& stopped, TransferReport::Kind kind, TransferPort& port)
{
    port.showMessage(lostMessage(stopped.status, kind));
}

} // namespace korvant
