#pragma once

#include <QByteArray>
#include <QFile>

// Peak resident memory of this process so far, in KiB (-1 where the system
// does not tell it). For the benchmarks and the soak.
inline long peakMemoryKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}
