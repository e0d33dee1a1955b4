#pragma once

#include <string>

// The exact sum of two numbers written plainly with a point ("3.00002",
// "-0.15"), with this decimal separator, without trailing zeros and without a
// sign on zero. A limit in the report is so what anyone adding the shown
// nominal and tolerance gets; a sum of the doubles would carry their binary
// error ("3.2000200000000003").
std::string decimalSum(const std::string& left, const std::string& right, char decimalSeparator);
