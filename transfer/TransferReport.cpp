#include "transfer/TransferReport.h"

#include <cmath>
#include <cstdio>

bool TransferReport::wroteSomething() const
{
    for (const ReportRow& row : rows)
        if (row.outcome == Outcome::Written ||
            (row.outcome == Outcome::WriteFailed && !(row.plusPutFailed && row.minusPutFailed)))
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

namespace reporttexts {

const std::vector<const char*>& columnTitles()
{
    static const std::vector<const char*> titles = {"Nr.",         "Typ",          "Achse",   "Nennmaß",
                                                    "Plus vorher", "Minus vorher", "Bereich", "Plus neu",
                                                    "Minus neu",   "Ergebnis"};
    return titles;
}

const char* outcomeText(Outcome outcome, TransferReport::Kind kind)
{
    switch (outcome) {
    case Outcome::Written:
        return kind == TransferReport::Kind::Preview ? "wird geschrieben" : "geschrieben";
    case Outcome::KeepsOwnTolerances:
        return "behält eigene Toleranzen";
    case Outcome::NoRange:
        return "kein Bereich";
    case Outcome::AxisNotCovered:
        return "Achse nicht erfasst";
    case Outcome::TypeNotCovered:
        return "Typ nicht erfasst";
    case Outcome::ReadFailed:
        return "Lesen fehlgeschlagen";
    case Outcome::WriteFailed:
        return "Schreiben fehlgeschlagen";
    case Outcome::ChangedSince:
        return "seit der Übertragung geändert";
    case Outcome::Restored:
        return "zurückgesetzt";
    }
    return "";
}

std::string writeFailureDetail(const ReportRow& row)
{
    if (row.outcome != Outcome::WriteFailed)
        return {};
    if (row.plusPutFailed && row.minusPutFailed)
        return "Plus- und Minustoleranz konnten nicht geschrieben werden.";
    return row.plusPutFailed ? "Die Plustoleranz konnte nicht geschrieben werden."
                             : "Die Minustoleranz konnte nicht geschrieben werden.";
}

std::string summary(const TransferReport& report)
{
    const auto counted = report.counts();
    std::string text = std::to_string(report.rows.size()) + (report.rows.size() == 1 ? " Maß" : " Maße");
    const char* separator = ": ";
    for (std::size_t outcome = 0; outcome < OutcomeCount; ++outcome) {
        if (counted[outcome] == 0)
            continue;
        text += separator + std::to_string(counted[outcome]) + " " +
                outcomeText(static_cast<Outcome>(outcome), report.kind);
        separator = ", ";
    }
    text += ".";

    const char* what = report.kind == TransferReport::Kind::Preview ? "Die Vorschau"
                       : report.kind == TransferReport::Kind::Undo  ? "Das Zurücksetzen"
                                                                    : "Die Übertragung";
    const std::string stoppedAfter = std::string(" ") + what + " wurde nach " +
                                     std::to_string(report.commandsVisited) +
                                     (report.commandsVisited == 1 ? " Befehl" : " Befehlen") + " abgebrochen: ";
    switch (report.end) {
    case TransferReport::End::Complete:
        break;
    case TransferReport::End::CommandsUnreadable:
        text += " Die Befehle des Teileprogramms konnten nicht gelesen werden.";
        break;
    case TransferReport::End::ConnectionLost:
        text += stoppedAfter + "Die Verbindung zu KORVANT wurde unterbrochen.";
        break;
    case TransferReport::End::Busy:
        text += stoppedAfter + "KORVANT ist beschäftigt und nimmt keine Aufrufe an.";
        break;
    }
    return text;
}

} // namespace reporttexts

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

namespace {
constexpr int AxisColumn = 2; // the one text that comes from KORVANT as it stands
} // namespace

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
        return reporttexts::outcomeText(row.outcome, kind);
    }
    return {};
}

namespace {

// A text that a spreadsheet would take for a formula keeps a leading
// apostrophe, so that opening the record runs nothing.
std::string inertText(const std::string& text)
{
    return !text.empty() && std::string("=+-@").find(text.front()) != std::string::npos ? "'" + text : text;
}

// A field with a separator, a quote or a line end in it is quoted, its quotes doubled.
std::string csvField(const std::string& text)
{
    if (text.find_first_of(";\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

} // namespace

std::string reportCsv(const TransferReport& report, char decimalSeparator)
{
    std::string csv = "\xEF\xBB\xBF";
    const auto& titles = reporttexts::columnTitles();
    for (std::size_t column = 0; column < titles.size(); ++column)
        csv += (column ? ";" : "") + csvField(titles[column]);
    csv += "\r\n";
    for (const ReportRow& row : report.rows) {
        for (int column = 0; column < reporttexts::ColumnCount; ++column) {
            const std::string text = cellText(row, column, report.kind, decimalSeparator);
            csv += (column ? ";" : "") + csvField(column == AxisColumn ? inertText(text) : text);
        }
        csv += "\r\n";
    }
    return csv;
}
