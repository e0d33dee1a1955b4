#include "transfer/core/TransferReport.h"

#include "transfer/core/TransferTexts.h"

#include <cmath>
#include <cstdio>

bool wasWritten(const ReportRow& row)
{
    return row.outcome == Outcome::Written ||
           (row.outcome == Outcome::WriteFailed && !(row.plusPutFailed && row.minusPutFailed));
}

bool TransferReport::wroteSomething() const
{
    for (const ReportRow& row : rows)
        if (wasWritten(row))
            return true;
    return false;
}

std::array<std::size_t, OutcomeCount> TransferReport::counts() const
{
    std::array<std::size_t, OutcomeCount> counted{};
    for (const ReportRow& row : rows)
        ++counted[static_cast<std::size_t>(row.outcome)];
    return counted;
}

const char* outcomeText(Outcome outcome, TransferReport::Kind kind)
{
    switch (outcome) {
    case Outcome::Written:
        return kind == TransferReport::Kind::Preview ? transfertexts::WillBeWritten : transfertexts::Written;
    case Outcome::KeepsOwnTolerances:
        return transfertexts::KeepsOwnTolerances;
    case Outcome::NoRange:
        return transfertexts::NoRange;
    case Outcome::AxisNotCovered:
        return transfertexts::AxisNotCovered;
    case Outcome::TypeNotCovered:
        return transfertexts::TypeNotCovered;
    case Outcome::ReadFailed:
        return transfertexts::ReadFailed;
    case Outcome::WriteFailed:
        return transfertexts::WriteFailed;
    case Outcome::ChangedSince:
        return transfertexts::ChangedSince;
    case Outcome::Restored:
        return transfertexts::Restored;
    }
    return "";
}

std::string writeFailureDetail(const ReportRow& row)
{
    if (row.outcome != Outcome::WriteFailed)
        return {};
    if (row.plusPutFailed && row.minusPutFailed)
        return transfertexts::BothPutsFailed;
    return row.plusPutFailed ? transfertexts::PlusPutFailed : transfertexts::MinusPutFailed;
}

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
                outcomeText(static_cast<Outcome>(outcome), report.kind);
        separator = ", ";
    }
    text += ".";

    const char* what = report.kind == TransferReport::Kind::Preview ? ThePreview
                       : report.kind == TransferReport::Kind::Undo  ? TheUndo
                                                                    : TheTransfer;
    const std::string stoppedAfter = std::string(" ") + what + StoppedAfter +
                                     std::to_string(report.commandsVisited) +
                                     (report.commandsVisited == 1 ? OneCommand : Commands) + Stopped;
    switch (report.end) {
    case TransferReport::End::Complete:
        break;
    case TransferReport::End::CommandsUnreadable:
        text += SummaryCommandsUnreadable;
        break;
    case TransferReport::End::ConnectionLost:
        text += stoppedAfter + SummaryConnectionLost;
        break;
    case TransferReport::End::Busy:
        text += stoppedAfter + SummaryBusy;
        break;
    }
    if (report.kind == TransferReport::Kind::Run && report.undone)
        text += TransferUndone;
    return text;
}

std::string formatNumber(double value, char decimalSeparator)
{
    // Room for the largest double written out whole, so that no value is cut.
    char buffer[384];
    std::snprintf(buffer, sizeof buffer, "%.6f", value);
    std::string text = buffer;
    const std::size_t point = text.find('.');
    if (point != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.')
            text.pop_back();
        else
            text[point] = decimalSeparator;
    }
    if (text == "-0") // a value that rounds to zero shows no sign
        text = "0";
    return text;
}

std::string cellText(const ReportRow& row, int column, TransferReport::Kind kind, char decimalSeparator)
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
    case 9:
        return outcomeText(row.outcome, kind);
    }
    return {};
}
