#pragma once

#include "transfer/core/TransferReport.h"

#include <string>

// The rows as a CSV file for a spreadsheet: UTF-8 with a byte-order mark, ";"
// between fields, CRLF line ends, the column titles first.
std::string reportCsv(const TransferReport& report, char decimalSeparator);
