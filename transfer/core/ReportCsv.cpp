#include "transfer/core/ReportCsv.h"

#include "transfer/core/TransferTexts.h"

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
    const auto& titles = transfertexts::ColumnTitles;
    for (std::size_t column = 0; column < titles.size(); ++column)
        csv += (column ? ";" : "") + csvField(titles[column]);
    csv += "\r\n";
    for (const ReportRow& row : report.rows) {
        for (int column = 0; column < transfertexts::ColumnCount; ++column) {
            const std::string text = cellText(row, column, report.kind, decimalSeparator);
            csv += (column ? ";" : "") + csvField(column == AxisColumn ? inertText(text) : text);
        }
        csv += "\r\n";
    }
    return csv;
}
