#pragma once

#include "table/core/TableCheck.h"
#include "table/core/TableRelease.h"
#include "transfer/core/RangeSet.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What a transfer did (or, in its preview, would do) to each dimension of the
// part program, and what an undo of it did. Values are kept as read, not rounded.
enum class Outcome
{
    Written,       // both puts answered as done (an undo's: both tolerances back)
    PartlyWritten, // one of the two
    WriteFailed,   // neither
    KeepsOwnTolerances,
    NoRange,
    AxisNotCovered,
    TypeNotCovered,
    ReadFailed,
    ChangedSince, // undo: the dimension is no longer as the run left it
    NotReached    // undo: stopped before this row's puts
};
constexpr std::size_t OutcomeCount = 10;

// What became of one put.
enum class Put
{
    NotTried,
    Done,       // answered as done
    Failed,     // answered as refused, or rejected by a busy host: not carried out
    Unanswered, // the connection was lost on the way: it may or may not have been carried out
    NotNeeded   // undo: the tolerance held its value from before already
};

// How far undoing a run's row has got, over every undo so far.
struct RowUndo
{
    enum class State
    {
        Open,
        Restored,
        ChangedSince
    };
    State state = State::Open;
    Put plus = Put::NotTried; // Done once the tolerance is known to hold its value from before
    Put minus = Put::NotTried;
};

struct ReportRow
{
    std::size_t position = 0; // the command's position in the part program, from 1
    bool flagRead = true;     // false: the dimension flag read as no Boolean
    std::optional<std::int32_t> typeCode;
    std::optional<std::string> axis;
    std::optional<double> nominal;
    std::optional<double> plusBefore;
    std::optional<double> minusBefore; // as KORVANT holds it
    std::optional<int> range;          // 1 to 18
    std::optional<double> plusNew;
    std::optional<double> minusNew; // as put
    Outcome outcome = Outcome::ReadFailed;
    Put plusPut = Put::NotTried;
    Put minusPut = Put::NotTried;
    RowUndo undo; // a run's row only
};

// How far the undo of a run has got.
struct UndoTally
{
    std::size_t written = 0;  // rows the run wrote into
    std::size_t restored = 0; // of those, back as they were
    std::size_t open = 0;     // of those, still to do
    bool started() const { return open < written; }
};

struct TransferReport
{
    enum class Kind
    {
        Preview,
        Run,
        Undo
    };
    // How the walk ended: after the last command, or stopped on the way.
    enum class End
    {
        Complete,
        CommandsUnreadable,
        ConnectionLost,
        Busy,
        ListBroken, // a step of the command list failed
        Cancelled
    };

    Kind kind = Kind::Run;
    End end = End::Complete;
    std::string tablePath;
    std::string partProgram;                   // its default value text
    std::string time;                          // local time of the run, "2026-12-09T14:30:05+01:00"
    std::string oldVal;                        // the setting "OldVal" as the run used it
    std::string undoOf;                        // an undo's: the time of the run it undid
    TableNumbers ranges{};                     // the table as the run read it
    std::vector<tablecheck::Finding> findings; // the table check's, as the run began
    std::string fingerprint;                   // the table's "Prüfsumme", 64 hex digits
    std::optional<ReleaseRecord> release;      // the table's record where it matched the table
    std::string user;                          // the login name the run was made under
    std::string computer;                      // the computer's name
    std::string program;                       // "Dalmerin 1.2.1"
    // How many commands the part program had: told by the host in advance or
    // counted by a walk that went to the end; unknown for a stopped run of a host that does not tell.
    std::optional<std::size_t> commandCount;
    std::size_t commandsVisited = 0; // commands the walk has finished
    std::size_t stoppedAt = 0;       // the command a stopped walk stopped at; 0: before the first
    bool stoppedAfter = false;       // the stop came after command stoppedAt was done with
    std::vector<ReportRow> rows; // one per command whose dimension flag did not read false, in program order
    UndoTally undoTally;         // an undo's: how far the run's undo has got with it

    // A real run with a row left to undo.
    bool canBeUndone() const;
    std::array<std::size_t, OutcomeCount> counts() const;
};

// A row whose dimension may hold a tolerance the run put.
bool wasWritten(const ReportRow& row);
// The outcome of a row from its two puts.
Outcome writeOutcome(Put plus, Put minus);
UndoTally undoTally(const TransferReport& run);

// A row's outcome as the report names it.
const char* outcomeText(Outcome outcome, TransferReport::Kind kind);
// Which of the puts of a row not written whole went through, and what became
// of the other ("Plustoleranz geschrieben, Minustoleranz ohne Antwort von
// KORVANT"); empty for every other row.
std::string outcomeDetail(const ReportRow& row, TransferReport::Kind kind);
// The counts of each outcome that occurs, how a stopped walk ended, and how
// far the undo of a run has got.
std::string summary(const TransferReport& report);
// "abgebrochen bei Befehl 3 von 24" (within command 3), "… nach Befehl 3 von
// 24" (after it), without "von" where the count is unknown; "abgebrochen vor
// dem ersten Befehl".
std::string stoppedAtText(const TransferReport& report);

// "Stand 3, M. Muster, 09.12.2026" or "nicht freigegeben".
std::string releaseText(const TransferReport& report);
// The limits a dimension carries after the run ("Höchstmaß", "Mindestmaß"):
// its nominal plus each tolerance it holds then, added exactly as shown;
// empty for a dimension not read in full or a tolerance whose put got no answer.
std::string upperLimitText(const ReportRow& row, TransferReport::Kind kind, char decimalSeparator);
std::string lowerLimitText(const ReportRow& row, TransferReport::Kind kind, char decimalSeparator);

// The shortest text that reads back as the same value, written out without an
// exponent, with this decimal separator, whatever the process's C locale;
// −0 shows no sign.
std::string formatNumber(double value, char decimalSeparator);
// The text of one cell (column 0 to 9) of a row.
constexpr int AxisColumn = 2; // the one text that comes from KORVANT as it stands
constexpr int OutcomeColumn = 9;
std::string cellText(const ReportRow& row, int column, TransferReport::Kind kind, char decimalSeparator);
