#include "transfer/core/ReportCsv.h"

#include "transfer/core/TransferTexts.h"

namespace {

// A text from outside (KORVANT, the file system) that a spreadsheet would
// take for a formula keeps a leading apostrophe, so that opening the record
// runs nothing.
std::string inertText(const std::string& text)
{
    return !text.empty() && std::string("=+-@\t\r").find(text.front()) != std::string::npos ? "'" + text
                                                                                            : text;
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

void addLine(std::string& csv, std::initializer_list<std::string> fields)
{
    const char* separator = "";
    for (const std::string& field : fields) {
        csv += separator + csvField(field);
        separator = ";";
    }
    csv += "\r\n";
}

} // namespace

std::string reportCsv(const TransferReport& report, char decimalSeparator)
{
    using namespace transfertexts;
    const auto number = [decimalSeparator](const std::optional<double>& value) {
        return value ? formatNumber(*value, decimalSeparator) : std::string();
    };

    std::string csv = "\xEF\xBB\xBF";
    addLine(csv, {CsvTable, inertText(report.tablePath)});
    addLine(csv, {CsvPartProgram, inertText(report.partProgram)});
    addLine(csv, {CsvTime, report.time});
    addLine(csv, {CsvOldVal, report.oldVal});
    addLine(csv, {CsvResult, summary(report)});
    if (report.kind == TransferReport::Kind::Undo)
        addLine(csv, {CsvUndoOf, report.undoOf});
    addLine(csv, {CsvFingerprint, report.fingerprint});
    if (report.release)
        addLine(csv, {CsvRelease, "Stand " + report.release->version, inertText(report.release->releasedBy),
                      report.release->releasedAt});
    else
        addLine(csv, {CsvRelease, NotReleased});
    addLine(csv, {CsvUser, inertText(report.user)});
    addLine(csv, {CsvComputer, inertText(report.computer)});
    addLine(csv, {CsvProgram, report.program});
    if (report.findings.empty())
        addLine(csv, {CsvCheck, CheckFoundNothing});
    for (const tablecheck::Finding& finding : report.findings)
        addLine(csv, {CsvCheck, tablecheck::kindName(finding.kind), finding.text});
    addLine(csv, {CsvRange, CsvLower, CsvUpper, CsvPlus, CsvMinus});
    for (std::size_t i = 0; i < report.ranges.size(); ++i) {
        const RangeNumbers& range = report.ranges[i];
        addLine(csv, {std::to_string(i + 1), number(range.lower), number(range.upper), number(range.plus),
                      number(range.minus)});
    }
    csv += "\r\n";

    const char* separator = "";
    for (const char* title : ColumnTitles) {
        csv += separator + csvField(title);
        separator = ";";
    }
    csv += std::string(";") + CsvUpperLimit + ";" + CsvLowerLimit + "\r\n";
    for (const ReportRow& row : report.rows) {
        for (int column = 0; column < ColumnCount; ++column) {
            std::string text = cellText(row, column, report.kind, decimalSeparator);
            if (column == AxisColumn)
                text = inertText(text);
            if (column == OutcomeColumn)
                if (const std::string detail = outcomeDetail(row, report.kind); !detail.empty())
                    text += " (" + detail + ")";
            csv += (column ? ";" : "") + csvField(text);
        }
        csv += ";" + upperLimitText(row, report.kind, decimalSeparator) + ";" +
               lowerLimitText(row, report.kind, decimalSeparator) + "\r\n";
    }
    return csv;
}
