// Benchmark: a 1 GiB file without a line end is refused after reading its
// beginning only. Prints the time taken and the memory it cost.
#include "files/TableFileIo.h"
#include "tests/support/PeakMemory.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

int main()
{
    constexpr qint64 FileBytes = qint64(1) << 30;
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("riesig.tabelle"));
    {
        // Real bytes throughout (no holes): "x" with no line end and no comma.
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        const QByteArray block(1 << 20, 'x');
        for (qint64 written = 0; written < FileBytes; written += block.size())
            file.write(block);
    }

    const long memoryBefore = peakMemoryKiB();
    QElapsedTimer timer;
    timer.start();
    const tablefileio::LoadResult result = tablefileio::loadTable(path);
    const qint64 elapsed = timer.nsecsElapsed();
    const long memoryAfter = peakMemoryKiB();

    std::printf("file: %lld bytes, no line end\n", static_cast<long long>(QFile(path).size()));
    std::printf("refused: %s (%s)\n",
                result.status == tablefileio::LoadResult::Status::Refused ? "yes" : "no",
                qPrintable(result.reason));
    std::printf("time: %.3f ms\n", double(elapsed) / 1e6);
    std::printf("peak memory: %ld KiB before, %ld KiB after (+%ld KiB)\n", memoryBefore, memoryAfter,
                memoryAfter - memoryBefore);
    return result.status == tablefileio::LoadResult::Status::Refused ? 0 : 1;
}
