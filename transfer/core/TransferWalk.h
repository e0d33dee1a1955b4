#pragma once

#include "transfer/core/HostSession.h"
#include "transfer/core/TransferReport.h"

#include <functional>

class TransferPort;

// What the transfer, its preview and its undo share: the walk over the part
// program's commands and how a stopped run ends.
namespace korvant {

using CommandVisit = std::function<void(const Reference& command, std::size_t position)>;

// Visits every command of the collection in its order, positions from 1; the
// port hears of the progress before each command and once after the last.
// Keeps the count of commands and how many were visited in the report. False
// when the collection cannot be walked: nothing was visited.
bool walkCommands(Session& session, TransferPort& port, const Reference& commands, TransferReport& report,
                  const CommandVisit& visit);

// A run stopped by a lost connection or a busy host: the report says so, and
// the port shows the message of the report's kind.
void endStopped(const RunStopped& stopped, TransferPort& port, TransferReport* report,
                TransferReport::Kind kind);

} // namespace korvant
