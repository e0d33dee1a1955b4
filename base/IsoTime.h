#pragma once

#include <QDateTime>
#include <QString>

#include <cstdlib>

// "2026-12-09T14:30:05+01:00": the local time with its offset from UTC, so
// that a record read elsewhere tells the moment.
inline QString isoTimeWithOffset(const QDateTime& time)
{
    const int offset = time.offsetFromUtc();
    const int minutes = std::abs(offset) / 60;
    return time.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss")) + QLatin1Char(offset < 0 ? '-' : '+') +
           QStringLiteral("%1:%2").arg(minutes / 60, 2, 10, QLatin1Char('0')).arg(minutes % 60, 2, 10, QLatin1Char('0'));
}
