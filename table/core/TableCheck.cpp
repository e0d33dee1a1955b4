#include "table/core/TableCheck.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

namespace tablecheck {
namespace {

using cells::Column;

constexpr std::array<Column, 4> Columns = {Column::Lower, Column::Upper, Column::Plus, Column::Minus};

struct CellValue
{
    std::string text; // without surrounding blanks
    bool typed = false;
    std::optional<double> number;

    bool isBlank() const { return text.empty(); }
    bool isNumberOrBlank() const { return isBlank() || number; }
};

struct Row
{
    int range = 0;
    std::array<CellValue, 4> cells;
    bool used = false;

    const CellValue& at(Column column) const { return cells[static_cast<std::size_t>(column)]; }
    // A blank tolerance counts as 0, as the transfer writes it.
    double tolerance(Column column) const { return at(column).number.value_or(0.0); }
};

std::string trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

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

std::string signedShown(double value, char decimalSeparator)
{
    return (value > 0 ? "+" : "") + shown(value, decimalSeparator);
}

std::string quoted(const std::string& text)
{
    return "„" + text + "“";
}

// "1.000", "2,500", "-1.250": a point or a comma that reads as a decimal point
// here but as a thousands separator to many a German eye.
bool dependsOnSeparator(const std::string& text)
{
    std::size_t at = text[0] == '-' || text[0] == '+' ? 1 : 0;
    const std::size_t firstDigit = at;
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])))
        ++at;
    const std::size_t leading = at - firstDigit;
    if (leading < 1 || leading > 3 || at == text.size() || (text[at] != '.' && text[at] != ','))
        return false;
    const std::size_t fraction = text.size() - at - 1;
    if (fraction != 3)
        return false;
    for (std::size_t i = at + 1; i < text.size(); ++i)
        if (!std::isdigit(static_cast<unsigned char>(text[i])))
            return false;
    return true;
}

// Where the row starts for the transfer: range 1 at its fixed 0, a blank
// lower bound at 0 as well; nothing for one that is no number.
std::optional<double> lowerOf(const Row& row)
{
    const CellValue& lower = row.at(Column::Lower);
    return row.range == 1 || lower.isBlank() ? std::optional<double>(0.0) : lower.number;
}

class Checker
{
public:
    Checker(const Locale& locale, std::vector<Finding>& findings) : m_locale(locale), m_findings(findings) {}

    void checkRow(const Row& row, const Row* before)
    {
        checkCells(row);
        checkBounds(row, before);
        checkTolerances(row, before);
    }

private:
    void add(Kind kind, const Row& row, std::optional<Column> column, const std::string& sentence)
    {
        std::string where = "Bereich " + std::to_string(row.range);
        if (column)
            where += ", " + cells::columnCaption(*column);
        m_findings.push_back({kind, row.range, column, where + ": " + sentence});
    }

    std::string number(double value) const { return shown(value, m_locale.decimalSeparator); }

    // "Maße über 30 bis 120", "Maße von 0 bis 3" for range 1, whose lower bound is included.
    std::string sizes(const Row& row, double lower, double upper) const
    {
        return (row.range == 1 && lower == 0 ? "Maße von " : "Maße über ") + number(lower) + " bis " +
               number(upper);
    }

    void checkCells(const Row& row)
    {
        for (Column column : Columns) {
            const CellValue& cell = row.at(column);
            if (!cell.typed || cell.isBlank())
                continue;
            if (!cell.number)
                add(Kind::Error, row, column, quoted(cell.text) + " ist keine Zahl.");
            else if (dependsOnSeparator(cell.text))
                add(Kind::Note, row, column,
                    quoted(cell.text) + " wird als " + number(*cell.number) + " gelesen.");
        }
    }

    void checkBounds(const Row& row, const Row* before)
    {
        const CellValue& upperCell = row.at(Column::Upper);
        if (upperCell.isBlank()) {
            add(Kind::Error, row, Column::Upper,
                "Die Obergrenze fehlt; aus diesem Bereich erhält kein Maß eine Toleranz.");
            return;
        }
        if (row.range > 1 && row.at(Column::Lower).isBlank()) {
            add(Kind::Error, row, Column::Lower, "Die Untergrenze fehlt; der Bereich begänne so bei 0.");
            return;
        }
        const std::optional<double> lower = lowerOf(row);
        const std::optional<double> upper = upperCell.number;
        if (lower && upper && *upper < *lower)
            add(Kind::Error, row, Column::Upper,
                number(*upper) + " liegt unter „über“ (" + number(*lower) + ").");
        if (!before || !lower)
            return;
        const double beforeLower = *lowerOf(*before);
        const double beforeUpper = *before->at(Column::Upper).number;
        const std::string other = "Bereich " + std::to_string(before->range);
        if (*lower < beforeLower)
            add(Kind::Error, row, Column::Lower,
                number(*lower) + " liegt unter „über“ von " + other + " (" + number(beforeLower) +
                    "); die Bereiche müssen aufsteigen.");
        else if (*lower > beforeUpper)
            add(Kind::Note, row, Column::Lower,
                sizes(*before, beforeUpper, *lower) + " erhalten keine Toleranz.");
        else if (*lower < beforeUpper)
            add(Kind::Note, row, Column::Lower,
                sizes(row, *lower, upper ? std::min(*upper, beforeUpper) : beforeUpper) + " liegen auch in " +
                    other + "; dort gilt " + other + ".");
    }

    void checkTolerances(const Row& row, const Row* before)
    {
        if (!row.at(Column::Plus).isNumberOrBlank() || !row.at(Column::Minus).isNumberOrBlank())
            return;
        const double plus = row.tolerance(Column::Plus);
        const double minus = row.tolerance(Column::Minus);
        if (plus == 0 && minus == 0) {
            const std::optional<double> lower = lowerOf(row);
            const std::optional<double> upper = row.at(Column::Upper).number;
            const std::string which = lower && upper && *lower <= *upper
                                          ? sizes(row, *lower, *upper)
                                          : std::string("Maße dieses Bereichs");
            add(Kind::Note, row, std::nullopt,
                "Beide Toleranzen sind 0 oder leer; " + which + " erhalten keine Toleranz.");
            return;
        }
        // The zone written runs from minus the minus tolerance to the plus tolerance.
        if (plus + minus <= 0) {
            add(Kind::Error, row, Column::Minus,
                "Geschrieben würden Plus " + signedShown(plus, m_locale.decimalSeparator) + " und Minus " +
                    signedShown(0.0 - minus, m_locale.decimalSeparator) +
                    (plus + minus == 0 ? ", ein Toleranzfeld ohne Breite."
                                       : ", ein umgekehrtes Toleranzfeld.") +
                    " Minustoleranzen werden ohne Vorzeichen eingegeben.");
            return;
        }
        const std::string zone = " (" + signedShown(0.0 - minus, m_locale.decimalSeparator) + " bis " +
                                 signedShown(plus, m_locale.decimalSeparator) + ").";
        if (minus < 0)
            add(Kind::Note, row, Column::Minus,
                number(minus) + " ist negativ; das Toleranzfeld liegt ganz über dem Nennmaß" + zone);
        if (plus < 0)
            add(Kind::Note, row, Column::Plus,
                number(plus) + " ist negativ; das Toleranzfeld liegt ganz unter dem Nennmaß" + zone);
        if (!before)
            return;
        for (Column column : {Column::Plus, Column::Minus}) {
            const CellValue& earlier = before->at(column);
            if (earlier.number && row.tolerance(column) >= 0 && row.tolerance(column) < *earlier.number)
                add(Kind::Note, row, column,
                    number(row.tolerance(column)) + " ist kleiner als in Bereich " +
                        std::to_string(before->range) + " (" + number(*earlier.number) + ").");
        }
    }

    const Locale& m_locale;
    std::vector<Finding>& m_findings;
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
        value.text = trimmed(captions[i]);
        value.number = readCaptionNumber(captions[i], locale.read);
        row.used = row.used || (value.typed && !value.isBlank());
    }
    return rows;
}

// Whether the row holds sizes the transfer can find in it, so that the next
// row can be measured against it.
bool holdsSizes(const Row& row)
{
    const std::optional<double> start = lowerOf(row);
    const std::optional<double>& upper = row.at(Column::Upper).number;
    return start && upper && *start <= *upper;
}

} // namespace

std::vector<Finding> check(const std::vector<std::string>& captions, const Locale& locale,
                           const FileNotes& notes)
{
    std::vector<Finding> findings;
    Checker checker(locale, findings);
    const Row* before = nullptr;
    for (const Row& row : readRows(captions, locale)) {
        if (!row.used)
            continue;
        checker.checkRow(row, before);
        if (holdsSizes(row))
            before = &row;
    }
    if (notes.moreValues)
        findings.push_back({Kind::Note, 0, std::nullopt,
                            "Die Datei enthielt mehr als 71 Werte; die übrigen wurden nicht gelesen."});
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
