#include "transfer/core/TransferWalk.h"

#include "transfer/core/TransferPort.h"
#include "transfer/core/TransferTexts.h"

namespace korvant {

bool walkCommands(Session& session, TransferPort& port, const Reference& commands, TransferReport& report,
                  const CommandVisit& visit)
{
    const std::unique_ptr<Enumerator> enumerator = commands.isEmpty() ? nullptr : session.enumerate(commands);
    if (!enumerator)
        return false;
    const std::optional<std::size_t> total = enumerator->count();
    report.commandCount = total;
    std::size_t& done = report.commandsVisited;
    port.reportProgress(done, total);
    while (const std::optional<Reference> command = session.next(*enumerator)) {
        visit(*command, done + 1);
        port.reportProgress(++done, total);
    }
    report.commandCount = done;
    return true;
}

void endStopped(const RunStopped& stopped, TransferPort& port, TransferReport* report,
                TransferReport::Kind kind)
{
    const bool busy = stopped.status == CallStatus::Busy;
    if (report)
        report->end = busy ? TransferReport::End::Busy : TransferReport::End::ConnectionLost;
    if (kind == TransferReport::Kind::Undo)
        port.showMessage(busy ? transfertexts::UndoBusy : transfertexts::UndoConnectionLost);
    else
        port.showMessage(busy ? transfertexts::Busy : transfertexts::ConnectionLost);
}

} // namespace korvant
