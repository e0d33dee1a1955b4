#pragma once

#include "table/core/NumberReading.h"
#include "table/core/TableCells.h"

#include <optional>
#include <string>
#include <vector>

// The check of a tolerance table: what the transfer would write that the
// table cannot mean (a "Fehler"; the transfer refuses the table), and what
// transfers but deserves a careful look (a "Hinweis"). Every cell is read as
// the transfer reads it. Texts are UTF-8 and German.
namespace tablecheck {

enum class Kind
{
    Error, // "Fehler"
    Note   // "Hinweis"
};

struct Finding
{
    Kind kind;
    int range = 0;                       // 1 to 18; 0 for the table file as a whole
    std::optional<cells::Column> column; // the cell, where the finding has one
    std::string text;                    // the sentence, "Bereich 5, Plus Tol.: „0,1 mm“ ist keine Zahl."
};

// What the reader saw of the table's file, when it was opened from one.
struct FileNotes
{
    bool moreValues = false;    // the file held more than 71 values: the rest was not read
    bool byteOrderMark = false; // the file began with a UTF-8 byte-order mark, which was skipped
};

// How the user's locale reads and writes a number.
struct Locale
{
    LocaleNumberReading read;
    char decimalSeparator = '.';
};

// Checks the 72 captions (labelOrder(), range 1's fixed lower bound first).
// Findings come range by range; within a range, cell by cell.
std::vector<Finding> check(const std::vector<std::string>& captions, const Locale& locale,
                           const FileNotes& notes = {});

bool hasError(const std::vector<Finding>& findings);
const Finding* firstError(const std::vector<Finding>& findings);
// "Fehler" or "Hinweis".
const char* kindName(Kind kind);
// "Tabelle geprüft: keine Auffälligkeiten" or "2 Fehler, 1 Hinweis".
std::string countsText(const std::vector<Finding>& findings);
// The line below the table: "Tabelle geprüft: keine Auffälligkeiten" or
// "2 Fehler, 1 Hinweis – F8 zeigt sie".
std::string summaryLine(const std::vector<Finding>& findings);

} // namespace tablecheck
