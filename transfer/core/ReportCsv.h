#pragma once

#include "transfer/core/TransferReport.h"

#include <string>

// A report as a CSV file for a spreadsheet and the quality records: UTF-8
// with a byte-order mark, ";" between fields, CRLF line ends. First the
// header block ("Tabelle", "Teileprogramm", "Zeit", "OldVal", "Ergebnis",
// for an undo "Rückgängig von", then "Prüfsumme", "Freigabe", "Benutzer",
// "Rechner" and "Programm"), a line for each finding of the table check
// ("Prüfung"), the 18 ranges as the run read them and a blank line; then the
// column titles and the rows, a row's outcome with what became of each put
// where it was not written whole, and the limits the dimension carries after
// the run ("Höchstmaß", "Mindestmaß").
// Numbers carry `decimalSeparator`, whatever the process's locale.
std::string reportCsv(const TransferReport& report, char decimalSeparator);
