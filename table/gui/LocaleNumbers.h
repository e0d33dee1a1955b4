#pragma once

#include "table/core/TableCheck.h"

#include <QLocale>

// How a locale reads a table's numbers, as the transfer and the table check
// read them: its decimal separator, no group separators (in a German locale
// "0.05" would read as 5 otherwise).
tablecheck::Locale numbersOf(const QLocale& locale = QLocale());
