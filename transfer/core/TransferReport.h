#pragma once

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
    Written,
    KeepsOwnTolerances,
    NoRange,
    AxisNotCovered,
    TypeNotCovered,
    ReadFailed,
    WriteFailed,
    ChangedSince, // undo: the dimension is no longer as the run left it
    Restored      // undo
};
constexpr std::size_t OutcomeCount = 9;

struct ReportRow
{
    std::size_t position = 0; // the command's position in the part program, from 1
    std::optional<std::int32_t> typeCode;
    std::optional<std::string> axis;
    std::optional<double> nominal;
    std::optional<double> plusBefore;
    std::optional<double> minusBefore; // as KORVANT holds it
    std::optional<int> range;          // 1 to 18
    std::optional<double> plusNew;
    std::optional<double> minusNew; // as put
    Outcome outcome = Outcome::ReadFailed;
    bool plusPutFailed = false;
    bool minusPutFailed = false;
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
        Busy
    };

    Kind kind = Kind::Run;
    End end = End::Complete;
    std::string tablePath;
    std::string partProgram; // its default value text
    std::string time;        // local time of the run, "yyyy-mm-dd hh:mm:ss"
    std::string oldVal;      // the setting "OldVal" as the run used it
    // How many commands the part program had: told by the host in advance or
    // counted by a walk that went to the end; unknown for a stopped run of a host that does not tell.
    std::optional<std::size_t> commandCount;
    std::size_t commandsVisited = 0; // where a stopped walk stopped
    std::vector<ReportRow> rows;     // one per command whose dimension flag read true, in program order
    bool undone = false;             // a run whose undo has written: it cannot be undone again

    bool wroteSomething() const;
    // Only a real run that wrote something, and that was not undone yet.
    bool canBeUndone() const { return kind == Kind::Run && !undone && wroteSomething(); }
    std::array<std::size_t, OutcomeCount> counts() const;
};

// A row whose dimension got at least one of its two tolerances.
bool wasWritten(const ReportRow& row);

// A row's outcome as the report names it.
const char* outcomeText(Outcome outcome, TransferReport::Kind kind);
// Which put failed, for a row that says "Schreiben fehlgeschlagen".
std::string writeFailureDetail(const ReportRow& row);
// The counts of each outcome that occurs, and how a stopped walk ended.
std::string summary(const TransferReport& report);

// A number with up to 6 decimals and no trailing zeros, with this decimal separator.
std::string formatNumber(double value, char decimalSeparator);
// The text of one cell (column 0 to 9) of a row.
constexpr int AxisColumn = 2; // the one text that comes from KORVANT as it stands
std::string cellText(const ReportRow& row, int column, TransferReport::Kind kind, char decimalSeparator);
