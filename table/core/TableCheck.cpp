#include "table/core/TableCheck.h"

#include "table/core/NominalSets.h"
#include "table/core/PlainNumber.h"
#include "table/core/TableNumbers.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>

namespace tablecheck {
namespace {

using cells::Column;

constexpr std::array<Column, 4> Columns = {Column::Lower, Column::Upper, Column::Plus, Column::Minus};

struct CellValue
{
    CaptionReading reading;
    bool typed = false;

    const std::string& text() const { return reading.text; }
    bool isBlank() const { return reading.text.empty(); }
    bool isNumberOrBlank() const { return isBlank() || reading.number; }
};

struct Row
{
    int range = 0;
    std::array<CellValue, 4> cells;
    bool used = false;

    const CellValue& at(Column column) const { return cells[static_cast<std::size_t>(column)]; }
    const std::optional<double>& number(Column column) const { return at(column).reading.number; }
    // A blank tolerance counts as 0, as the transfer writes it.
    double tolerance(Column column) const { return number(column).value_or(0.0); }
};

std::string shown(double value, char decimalSeparator)
{
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, written.ptr);
    for (char& c : text)
        if (c == '.')
            c = decimalSeparator;
    return text;
}

std::string quoted(const std::string& text)
{
    return "„" + text + "“";
}

std::string codePoint(char32_t c)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(c));
    return buffer;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// "1.000", "2,500", "-1.250": one separator after a whole part of one to three
// digits, not zero, and exactly three digits after it read as 1, 2,5 and
// -1,25 here, but as thousands to many an eye. The text with the separator
// left out, where it is such a number.
std::optional<std::string> asThousands(const std::string& text)
{
    const std::size_t start = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    const std::size_t separator = text.find_first_of(".,");
    if (separator == std::string::npos || separator == start || separator - start > 3 ||
        text.size() != separator + 4)
        return std::nullopt;
    const std::string digits = text.substr(start, separator - start) + text.substr(separator + 1);
    if (!std::all_of(digits.begin(), digits.end(), isDigit) ||
        text.find_first_not_of('0', start) == separator)
        return std::nullopt;
    return text.substr(0, separator) + text.substr(separator + 1);
}

// "005": a zero before a digit, which the reading drops.
bool hasLeadingZero(const std::string& text)
{
    const std::size_t start = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    return text.size() > start + 1 && text[start] == '0' && isDigit(text[start + 1]);
}

// Where the row starts for the transfer: range 1 at its fixed 0, a blank
// lower bound at 0 as well; nothing for one that is no number.
std::optional<double> lowerOf(const Row& row)
{
    return row.range == 1 || row.at(Column::Lower).isBlank() ? std::optional<double>(0.0)
                                                             : row.number(Column::Lower);
}

// Whether the row holds sizes the transfer can find in it, so that the next
// row can be measured against it.
bool holdsSizes(const Row& row)
{
    const std::optional<double> start = lowerOf(row);
    const std::optional<double>& upper = row.number(Column::Upper);
    return start && upper && *start <= *upper;
}

class Checker
{
public:
    Checker(const Locale& locale, const TableNumbers& numbers, std::vector<Finding>& findings)
        : m_locale(locale), m_numbers(numbers), m_findings(findings)
    {
    }

    void checkRow(const Row& row)
    {
        checkCells(row);
        if (row.at(Column::Upper).isBlank() && (row.range == 1 || row.at(Column::Lower).isBlank())) {
            add(Kind::Note, row, std::nullopt,
                "Toleranzen ohne „über“ und „bis“; aus diesem Bereich wird keine Toleranz geschrieben.");
            return;
        }
        const bool soundBounds = checkBounds(row);
        if (soundBounds)
            checkShares(row);
        checkTolerances(row);
        // A row whose bounds are wrong is no measure for the next one, but what
        // it holds is no gap.
        if (soundBounds)
            m_before = &row;
        if (holdsSizes(row))
            m_reach = std::max(m_reach.value_or(*row.number(Column::Upper)), *row.number(Column::Upper));
    }

private:
    void push(Kind kind, const Row& row, std::optional<Column> column, const std::string& text)
    {
        m_findings.push_back({kind, row.range, column, text});
    }

    // "Bereich 5, Plus Tol.: …"; "Bereich 5: …" for the range as a whole and
    // where the sentence names the cells itself.
    void add(Kind kind, const Row& row, std::optional<Column> column, const std::string& sentence,
             bool namesColumn = true)
    {
        push(kind, row, column,
             "Bereich " + std::to_string(row.range) +
                 (column && namesColumn ? ", " + cells::columnCaption(*column) : "") + ": " + sentence);
    }

    std::string number(double value) const { return shown(value, m_locale.decimalSeparator); }

    std::string span(const nominalsets::Span& span) const
    {
        return (span.from.includesShown ? "von " : "über ") + number(span.from.shown) + " bis " +
               number(span.to.shown);
    }

    void checkCells(const Row& row)
    {
        for (Column column : Columns) {
            const CellValue& cell = row.at(column);
            if (!cell.typed || cell.isBlank())
                continue;
            const std::optional<double>& value = cell.reading.number;
            if (cell.reading.invisible)
                add(value ? Kind::Note : Kind::Error, row, column,
                    quoted(cell.text()) + " enthält das unsichtbare Zeichen " + codePoint(*cell.reading.invisible) +
                        ".");
            else if (!value)
                add(Kind::Error, row, column,
                    quoted(cell.text()) + (cell.reading.tooLarge ? " ist zu groß." : " ist keine Zahl."));
            else if (const auto thousands = asThousands(cell.text()))
                add(Kind::Error, row, column, ambiguity(cell.text(), *value, *readPlainNumber(*thousands)));
            else if (hasLeadingZero(cell.text()))
                add(Kind::Note, row, column, quoted(cell.text()) + " wird als " + number(*value) + " gelesen.");
        }
    }

    // "„1.000“ ist mehrdeutig (1 oder 1000): 1000 oder 1,0 schreiben."
    std::string ambiguity(const std::string& text, double decimal, double thousands) const
    {
        std::string unambiguous = number(decimal);
        if (unambiguous.find(m_locale.decimalSeparator) == std::string::npos)
            unambiguous += std::string(1, m_locale.decimalSeparator) + "0";
        return quoted(text) + " ist mehrdeutig (" + number(decimal) + " oder " + number(thousands) +
               "): " + number(thousands) + " oder " + unambiguous + " schreiben.";
    }

    // The bounds of the row alone and against the row before; whether they
    // are sound, so that the row's nominals can be weighed against the others'.
    bool checkBounds(const Row& row)
    {
        const std::optional<double>& upper = row.number(Column::Upper);
        if (row.at(Column::Upper).isBlank()) {
            add(Kind::Error, row, Column::Upper,
                "Die Obergrenze fehlt; aus diesem Bereich erhält kein Maß eine Toleranz.");
            return false;
        }
        if (row.range > 1 && row.at(Column::Lower).isBlank()) {
            if (upper)
                add(Kind::Error, row, Column::Lower, "Die Untergrenze fehlt; der Bereich begänne so bei 0.");
            return false;
        }
        const std::optional<double> lower = lowerOf(row);
        if (!lower || !upper)
            return false;
        if (*upper < *lower) {
            add(Kind::Error, row, Column::Upper,
                number(*upper) + " liegt unter „über“ (" + number(*lower) + ").");
            return false;
        }
        if (row.range > 1 && *upper <= *lower + LowerBoundOffset) {
            add(Kind::Error, row, Column::Upper,
                "über " + number(*lower) + " bis " + number(*upper) + " enthält kein Maß.", false);
            return false;
        }
        if (!m_before)
            return true;
        const double beforeLower = *lowerOf(*m_before);
        if (*lower < beforeLower) {
            add(Kind::Error, row, Column::Lower,
                number(*lower) + " liegt unter „über“ von Bereich " + std::to_string(m_before->range) + " (" +
                    number(beforeLower) + "); die Bereiche müssen aufsteigen.");
            return false;
        }
        if (*lower > *m_reach)
            add(Kind::Note, row, Column::Lower,
                "Maße über " + number(*m_reach) + " bis " + number(*lower) + " erhalten keine Toleranz.");
        return true;
    }

    // The transfer takes the first row that holds a nominal: what earlier rows
    // hold never gets this row's tolerances.
    void checkShares(const Row& row)
    {
        const nominalsets::Shares shares = nominalsets::sharesOf(m_numbers, row.range);
        if (shares.keepsAny) {
            for (const nominalsets::Taken& taken : shares.byEarlier)
                add(Kind::Note, row, Column::Lower,
                    "Maße " + span(taken.span) + " erhalten die Toleranz von Bereich " +
                        std::to_string(taken.range) + ", nicht von Bereich " + std::to_string(row.range) + ".");
            return;
        }
        std::vector<int> ranges;
        double reach = 0;
        for (const nominalsets::Taken& taken : shares.byEarlier) {
            if (std::find(ranges.begin(), ranges.end(), taken.range) == ranges.end())
                ranges.push_back(taken.range);
            reach = std::max(reach, *m_numbers[static_cast<std::size_t>(taken.range - 1)].upper);
        }
        std::string names = std::to_string(ranges.front());
        for (std::size_t i = 1; i < ranges.size(); ++i)
            names += (i + 1 == ranges.size() ? " und " : ", ") + std::to_string(ranges[i]);
        push(Kind::Error, row, Column::Lower,
             "Bereich " + std::to_string(row.range) + " (über " + number(*lowerOf(row)) + " bis " +
                 number(*row.number(Column::Upper)) + ") wird nie angewandt: " +
                 (ranges.size() == 1 ? "Bereich " + names + " reicht" : "Bereiche " + names + " reichen") +
                 " bis " + number(reach) + ".");
    }

    void checkTolerances(const Row& row)
    {
        if (!row.at(Column::Plus).isNumberOrBlank() || !row.at(Column::Minus).isNumberOrBlank())
            return;
        const double plus = row.tolerance(Column::Plus);
        const double minus = row.tolerance(Column::Minus);
        // The transfer writes the plus tolerance and the minus tolerance with
        // its sign changed: a negative one puts the zone beside the nominal.
        if (plus < 0)
            add(Kind::Error, row, Column::Plus, "Plustoleranzen werden ohne Minuszeichen eingegeben.");
        if (minus < 0)
            add(Kind::Error, row, Column::Minus, "Minustoleranzen werden ohne Vorzeichen eingegeben.");
        if (plus < 0 || minus < 0)
            return;
        if (plus == 0 && minus == 0) {
            const std::optional<double> lower = lowerOf(row);
            const std::optional<double>& upper = row.number(Column::Upper);
            const std::string which =
                lower && upper && *lower <= *upper
                    ? (row.range == 1 ? "Maße von " : "Maße über ") + number(*lower) + " bis " + number(*upper)
                    : std::string("Maße dieses Bereichs");
            add(Kind::Note, row, std::nullopt,
                "Beide Toleranzen sind 0 oder leer; " + which + " erhalten keine Toleranz.");
            return;
        }
        if (!m_before)
            return;
        for (Column column : {Column::Plus, Column::Minus}) {
            const std::optional<double>& earlier = m_before->number(column);
            if (earlier && row.tolerance(column) < *earlier)
                add(Kind::Note, row, column,
                    number(row.tolerance(column)) + " ist kleiner als in Bereich " +
                        std::to_string(m_before->range) + " (" + number(*earlier) + ").");
        }
    }

    const Locale& m_locale;
    const TableNumbers& m_numbers;
    std::vector<Finding>& m_findings;
    const Row* m_before = nullptr;  // the last row in use with sound bounds
    std::optional<double> m_reach; // the highest "bis" of the rows in use that hold sizes
};

std::array<Row, cells::RangeCount> readRows(const std::vector<std::string>& captions, const Locale& locale)
{
    std::array<Row, cells::RangeCount> rows;
    for (int range = 1; range <= cells::RangeCount; ++range)
        rows[static_cast<std::size_t>(range - 1)].range = range;
    const auto& order = cells::labelOrder();
    for (std::size_t i = 0; i < order.size() && i < captions.size(); ++i) {
        const cells::Cell& cell = order[i];
        Row& row = rows[static_cast<std::size_t>(cell.range - 1)];
        CellValue& value = row.cells[static_cast<std::size_t>(cell.column)];
        // Range 1's lower bound is fixed: the user types nothing there.
        value.typed = !(cell.range == 1 && cell.column == Column::Lower);
        value.reading = readCaption(captions[i], locale.read);
        row.used = row.used || (value.typed && !value.isBlank());
    }
    return rows;
}

} // namespace

std::vector<Finding> check(const std::vector<std::string>& captions, const Locale& locale,
                           const FileNotes& notes)
{
    std::vector<Finding> findings;
    const TableNumbers numbers = readTableNumbers(captions, locale.read);
    Checker checker(locale, numbers, findings);
    const std::array<Row, cells::RangeCount> rows = readRows(captions, locale);
    for (const Row& row : rows)
        if (row.used)
            checker.checkRow(row);
    if (notes.moreValues)
        findings.push_back({Kind::Error, 0, std::nullopt,
                            "Die Datei enthält mehr als die 71 Werte einer Tabelle; ab einer zusätzlichen Zeile "
                            "wären alle folgenden Werte verschoben."});
    if (notes.byteOrderMark)
        findings.push_back(
            {Kind::Note, 0, std::nullopt,
             "Die Datei begann mit einer Byte-Reihenfolge-Markierung (BOM); sie wurde übersprungen."});
    return findings;
}

bool hasError(const std::vector<Finding>& findings)
{
    return firstError(findings) != nullptr;
}

const Finding* firstError(const std::vector<Finding>& findings)
{
    for (const Finding& finding : findings)
        if (finding.kind == Kind::Error)
            return &finding;
    return nullptr;
}

const char* kindName(Kind kind)
{
    return kind == Kind::Error ? "Fehler" : "Hinweis";
}

std::string countsText(const std::vector<Finding>& findings)
{
    if (findings.empty())
        return "Tabelle geprüft: keine Auffälligkeiten";
    std::size_t errors = 0;
    for (const Finding& finding : findings)
        errors += finding.kind == Kind::Error;
    const std::size_t notes = findings.size() - errors;
    return std::to_string(errors) + " Fehler, " + std::to_string(notes) +
           (notes == 1 ? " Hinweis" : " Hinweise");
}

std::string summaryLine(const std::vector<Finding>& findings)
{
    return findings.empty() ? countsText(findings) : countsText(findings) + " – F8 zeigt sie";
}

} // namespace tablecheck
