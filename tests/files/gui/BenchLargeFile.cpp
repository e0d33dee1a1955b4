// Benchmark: 1 GiB files are dealt with at once, after reading their
// beginning only: one without a line end is refused; a table followed by
// blanks is loaded, the look for more values past it stopping after 64 KiB.
// Prints the time taken and the memory each cost.
#include "files/gui/TableFileIo.h"
#include "tests/support/PeakMemory.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr qint64 FileBytes = qint64(1) << 30;

// `start`, then `filler` up to 1 GiB: real bytes throughout (no holes).
bool writeFile(const QString& path, const QByteArray& start, char filler)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(start) != start.size())
        return false;
    const QByteArray block(1 << 20, filler);
    for (qint64 written = start.size(); written < FileBytes; written += block.size())
        if (file.write(block.constData(), qMin(qint64(block.size()), FileBytes - written)) < 0)
            return false;
    return true;
}

bool measure(const char* what, const QByteArray& start, char filler, tablefileio::LoadResult::Status expected)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("riesig.tabelle"));
    if (!writeFile(path, start, filler))
        return false;

    const long memoryBefore = peakMemoryKiB();
    QElapsedTimer timer;
    timer.start();
    const tablefileio::LoadResult result = tablefileio::loadTable(path);
    const qint64 elapsed = timer.nsecsElapsed();
    const long memoryAfter = peakMemoryKiB();

    std::printf("file: %lld bytes, %s\n", static_cast<long long>(QFile(path).size()), what);
    if (result.status == tablefileio::LoadResult::Status::Loaded)
        std::printf("loaded: %lld values, more values: %s\n", static_cast<long long>(result.values.size()),
                    result.moreValues ? "yes" : "no");
    else
        std::printf("refused: %s\n", qPrintable(result.reason));
    std::printf("time: %.3f ms\n", double(elapsed) / 1e6);
    std::printf("peak memory: %ld KiB before, %ld KiB after (+%ld KiB)\n", memoryBefore, memoryAfter,
                memoryAfter - memoryBefore);
    return result.status == expected;
}

} // namespace

int main()
{
    using Status = tablefileio::LoadResult::Status;
    const bool refused = measure("no line end", QByteArray(), 'x', Status::Refused);
    const bool loaded =
        measure("a table, then blanks", QByteArray("\"0.1\"\r\n").repeated(71), ' ', Status::Loaded);
    return refused && loaded ? 0 : 1;
}
