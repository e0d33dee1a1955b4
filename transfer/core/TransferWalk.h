#pragma once

#include "transfer/core/HostSession.h"
#include "transfer/core/TransferReport.h"

#include <functional>

class TransferPort;

// What the transfer, its preview and its undo share: the walk over the part
// program's commands, the puts of a dimension's two tolerances, and how a
// stopped walk is told.
namespace korvant {

// Visits one command (positions from 1); false ends the walk there.
using CommandVisit = std::function<bool(const Reference& command, std::size_t position)>;

enum class WalkEnd
{
    Complete,
    Unreadable, // the collection cannot be walked: nothing was visited
    Cancelled,  // "Abbrechen" after the command the report's stoppedAt names
    Ended       // the visit ended it
};

// Visits every command of the collection in its order; the port hears of the
// progress before the first command and after each, and may ask to stop
// there. Keeps in the report how many commands there are, how many were
// visited and where a stop (thrown as RunStopped) falls: within the command
// visited, or after the last one visited while the next is fetched.
WalkEnd walkCommands(Session& session, TransferPort& port, const Reference& commands, TransferReport& report,
                     const CommandVisit& visit);

// Puts one tolerance and records what became of it; a lost connection or a
// busy host still ends the run.
void putTolerance(Session& session, const Reference& dimension, int dispid, double value, Put& put);

// Puts a dimension's plus and then its minus tolerance, each on its own, and
// records what became of each; a lost connection or a busy host still ends
// the run, between the two puts too, "Abbrechen" only before the first.
void putTolerances(Session& session, const Reference& dimension, double plus, double minus, Put& plusPut,
                   Put& minusPut);

// The walk stopped at report.stoppedAt: the report says why, and the port
// shows the message of the report's kind.
void endStopped(TransferReport& report, TransferReport::End why, TransferPort& port);

// How a walk stopped by a lost connection, a busy host, a broken command
// list or "Abbrechen" ends.
TransferReport::End endOf(const RunStopped& stopped);

// A stop before there was a report to keep it.
void tellStopped(const RunStopped& stopped, TransferReport::Kind kind, TransferPort& port);

} // namespace korvant
