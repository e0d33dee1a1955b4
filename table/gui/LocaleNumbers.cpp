#include "table/gui/LocaleNumbers.h"

tablecheck::Locale numbersOf(const QLocale& locale)
{
    QLocale strict = locale;
    strict.setNumberOptions(strict.numberOptions() | QLocale::RejectGroupSeparator);
    const QString point = strict.decimalPoint();
    // Every European separator is one byte; another reads as ".".
    const char separator =
        point.size() == 1 && point.at(0).unicode() < 0x80 ? char(point.at(0).unicode()) : '.';
    return {[strict](const std::string& text) -> std::optional<double> {
                bool ok = false;
                const double value = strict.toDouble(QString::fromStdString(text), &ok);
                return ok ? std::optional<double>(value) : std::nullopt;
            },
            separator};
}
