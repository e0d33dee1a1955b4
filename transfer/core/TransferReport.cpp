#include "transfer/core/TransferReport.h"

#include "transfer/core/DecimalSum.h"
#include "transfer/core/TransferTexts.h"

#include <charconv>

using Kind = TransferReport::Kind;

bool wasWritten(const ReportRow& row)
{
    const auto mayHold = [](Put put) { return put == Put::Done || put == Put::Unanswered; };
    return mayHold(row.plusPut) || mayHold(row.minusPut);
}

Outcome writeOutcome(Put plus, Put minus)
{
    const auto holds = [](Put put) { return put == Put::Done || put == Put::NotNeeded; };
    if (holds(plus) && holds(minus))
        return Outcome::Written;
    return plus == Put::Done || minus == Put::Done ? Outcome::PartlyWritten : Outcome::WriteFailed;
}

UndoTally undoTally(const TransferReport& run)
{
    UndoTally tally;
    for (const ReportRow& row : run.rows) {
        if (!wasWritten(row))
            continue;
        ++tally.written;
        tally.restored += row.undo.state == RowUndo::State::Restored;
        tally.open += row.undo.state == RowUndo::State::Open;
    }
    return tally;
}

bool TransferReport::canBeUndone() const
{
    return kind == Kind::Run && ::undoTally(*this).open > 0;
}

std::array<std::size_t, OutcomeCount> TransferReport::counts() const
{
    std::array<std::size_t, OutcomeCount> counted{};
    for (const ReportRow& row : rows)
        ++counted[static_cast<std::size_t>(row.outcome)];
    return counted;
}

const char* outcomeText(Outcome outcome, Kind kind)
{
    using namespace transfertexts;
    const bool undo = kind == Kind::Undo;
    switch (outcome) {
    case Outcome::Written:
        return undo ? Restored : kind == Kind::Preview ? WillBeWritten : Written;
    case Outcome::PartlyWritten:
        return undo ? PartlyRestored : PartlyWritten;
    case Outcome::WriteFailed:
        return undo ? RestoreFailed : WriteFailed;
    case Outcome::KeepsOwnTolerances:
        return KeepsOwnTolerances;
    case Outcome::NoRange:
        return NoRange;
    case Outcome::AxisNotCovered:
        return AxisNotCovered;
    case Outcome::TypeNotCovered:
        return TypeNotCovered;
    case Outcome::ReadFailed:
        return ReadFailed;
    case Outcome::ChangedSince:
        return ChangedSince;
    case Outcome::NotReached:
        return NotReached;
    }
    return "";
}

namespace {

const char* putText(Put put, Kind kind)
{
    using namespace transfertexts;
    switch (put) {
    case Put::Done:
        return kind == Kind::Undo ? PutRestored : PutWritten;
    case Put::Failed:
        return PutRefused;
    case Put::Unanswered:
        return PutUnanswered;
    case Put::NotNeeded:
        return PutNotNeeded;
    case Put::NotTried:
        break;
    }
    return PutNotTried;
}

} // namespace

std::string outcomeDetail(const ReportRow& row, Kind kind)
{
    if (row.outcome != Outcome::PartlyWritten && row.outcome != Outcome::WriteFailed)
        return {};
    return std::string(transfertexts::PlusTolerance) + putText(row.plusPut, kind) + ", " +
           transfertexts::MinusTolerance + putText(row.minusPut, kind);
}

std::string stoppedAtText(const TransferReport& report)
{
    if (report.stoppedAt == 0)
        return transfertexts::StoppedBeforeFirst;
    std::string text = (report.stoppedAfter ? transfertexts::StoppedAfter : transfertexts::StoppedAt) +
                       std::to_string(report.stoppedAt);
    if (report.commandCount)
        text += transfertexts::Of + std::to_string(*report.commandCount);
    return text;
}

namespace {

// An outcome after its count in the summary: "7 behalten eigene Toleranzen".
std::string countedOutcome(Outcome outcome, Kind kind, std::size_t count)
{
    using namespace transfertexts;
    switch (outcome) {
    case Outcome::KeepsOwnTolerances:
        return count == 1 ? KeepsOwnTolerances : KeepOwnTolerances;
    case Outcome::AxisNotCovered:
        return WithAxisNotCovered;
    case Outcome::TypeNotCovered:
        return WithTypeNotCovered;
    default:
        return outcomeText(outcome, kind);
    }
}

// An undo that stopped tells how far it got, even where it put nothing back.
std::string undoProgressText(const UndoTally& tally, bool undoStopped)
{
    if (!tally.started() && !undoStopped)
        return {};
    const std::size_t changed = tally.written - tally.restored - tally.open;
    if (tally.open == 0 && changed == 0)
        return transfertexts::TransferUndone;
    if (tally.open == 0 && tally.restored == 0)
        return transfertexts::NothingUndone + std::to_string(changed) +
               (changed == 1 ? transfertexts::OneWasChanged : transfertexts::ManyWereChanged);
    if (tally.open == 0)
        return transfertexts::TransferUndoneBut + std::to_string(changed) +
               (changed == 1 ? transfertexts::OneChangedSince : transfertexts::ChangedSinceMany);
    return transfertexts::TransferPartlyUndone + std::to_string(tally.restored) + transfertexts::Of +
           std::to_string(tally.written) + ".";
}

} // namespace

std::string summary(const TransferReport& report)
{
    using namespace transfertexts;
    const auto counted = report.counts();
    std::string text =
        std::to_string(report.rows.size()) + (report.rows.size() == 1 ? OneDimension : Dimensions);
    const char* separator = ": ";
    for (std::size_t outcome = 0; outcome < OutcomeCount; ++outcome) {
        if (counted[outcome] == 0)
            continue;
        text += separator + std::to_string(counted[outcome]) + " " +
                countedOutcome(static_cast<Outcome>(outcome), report.kind, counted[outcome]);
        separator = ", ";
    }
    text += ".";

    const char* what = report.kind == Kind::Preview ? ThePreview
                       : report.kind == Kind::Undo  ? TheUndo
                                                    : TheTransfer;
    switch (report.end) {
    case TransferReport::End::Complete:
        break;
    case TransferReport::End::CommandsUnreadable:
        text += std::string(" ") + UnreadableSentence;
        break;
    case TransferReport::End::ConnectionLost:
        text += what + stoppedAtText(report) + ": " + LostSentence;
        break;
    case TransferReport::End::Busy:
        text += what + stoppedAtText(report) + ": " + BusySentence;
        break;
    case TransferReport::End::ListBroken:
        text += what + stoppedAtText(report) + ": " + ListBrokenSentence;
        break;
    case TransferReport::End::Cancelled:
        text += what + stoppedAtText(report) + SummaryCancelled;
        break;
    }
    if (report.kind == Kind::Run)
        text += undoProgressText(undoTally(report), false);
    else if (report.kind == Kind::Undo)
        text += undoProgressText(report.undoTally, report.end != TransferReport::End::Complete);
    return text;
}

std::string formatNumber(double value, char decimalSeparator)
{
    if (value == 0) // −0 shows no sign
        return "0";
    // Room for the largest double written out whole; to_chars follows no
    // locale, unlike printf, and in fixed form without a precision gives the
    // shortest digits that read back as the value.
    char buffer[384];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    std::string text(buffer, written.ptr);
    if (const std::size_t point = text.find('.'); point != std::string::npos)
        text[point] = decimalSeparator;
    return text;
}

std::string releaseText(const TransferReport& report)
{
    if (!report.release)
        return transfertexts::NotReleased;
    return "Stand " + report.release->version + ", " + report.release->releasedBy + ", " +
           release::shownDate(report.release->releasedAt);
}

namespace {

// The tolerance a dimension holds after the run: the one put where KORVANT
// took it (or, in a preview, would take it), the one from before where
// nothing was put, none where a put got no answer.
std::optional<double> toleranceAfter(const ReportRow& row, TransferReport::Kind kind, Put how,
                                     const std::optional<double>& before, const std::optional<double>& put)
{
    if (!row.nominal || !row.plusBefore || !row.minusBefore)
        return std::nullopt; // not read in full
    if (kind == TransferReport::Kind::Preview && row.outcome == Outcome::Written)
        return put;
    switch (how) {
    case Put::Done:
        return put;
    case Put::Unanswered:
        return std::nullopt;
    case Put::NotTried:
    case Put::Failed:
    case Put::NotNeeded:
        break;
    }
    return before;
}

std::string limitText(const std::optional<double>& nominal, const std::optional<double>& tolerance,
                      char decimalSeparator)
{
    if (!tolerance)
        return {};
    return decimalSum(formatNumber(*nominal, '.'), formatNumber(*tolerance, '.'), decimalSeparator);
}

} // namespace

std::string upperLimitText(const ReportRow& row, TransferReport::Kind kind, char decimalSeparator)
{
    return limitText(row.nominal, toleranceAfter(row, kind, row.plusPut, row.plusBefore, row.plusNew),
                     decimalSeparator);
}

std::string lowerLimitText(const ReportRow& row, TransferReport::Kind kind, char decimalSeparator)
{
    return limitText(row.nominal, toleranceAfter(row, kind, row.minusPut, row.minusBefore, row.minusNew),
                     decimalSeparator);
}

std::string cellText(const ReportRow& row, int column, Kind kind, char decimalSeparator)
{
    const auto number = [decimalSeparator](const std::optional<double>& value) {
        return value ? formatNumber(*value, decimalSeparator) : std::string();
    };
    switch (column) {
    case 0:
        return std::to_string(row.position);
    case 1:
        return row.typeCode ? std::to_string(*row.typeCode) : std::string();
    case AxisColumn:
        return row.axis.value_or(std::string());
    case 3:
        return number(row.nominal);
    case 4:
        return number(row.plusBefore);
    case 5:
        return number(row.minusBefore);
    case 6:
        return row.range ? std::to_string(*row.range) : std::string();
    case 7:
        return number(row.plusNew);
    case 8:
        return number(row.minusNew);
    case OutcomeColumn:
        return outcomeText(row.outcome, kind);
    }
    return {};
}
