// Benchmark: the report window with 10,000 rows, from the command to its rows
// painted, and how much more peak memory that takes. Prints its figures;
// asserts nothing about time. Usage: bench_report_window [ROWS]
#include "tests/support/PeakMemory.h"
#include "transfer/gui/ReportWindow.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QTableView>

#include <cstdio>
#include <cstdlib>

namespace {

TransferReport reportOf(std::size_t rows)
{
    TransferReport report;
    report.tablePath = "/tabellen/ISO 2768-m.tabelle";
    report.partProgram = "Gehäuse";
    report.time = "2026-12-09 03:10:00";
    report.oldVal = "1";
    report.commandCount = rows * 2;
    for (std::size_t i = 0; i < rows; ++i) {
        ReportRow row;
        row.position = 2 * i + 1;
        row.typeCode = 1101;
        row.axis = "X";
        row.nominal = 0.137 * double(i % 3000);
        row.plusBefore = 0;
        row.minusBefore = 0;
        row.range = 4;
        row.plusNew = 0.3;
        row.minusNew = -0.3;
        row.outcome = i % 7 ? Outcome::Written : Outcome::KeepsOwnTolerances;
        report.rows.push_back(row);
    }
    return report;
}

// Opens the window and returns once its rows have been painted.
double showMs(QWidget* parent, TransferReport report)
{
    struct PaintSeen : QObject
    {
        bool painted = false;
        bool eventFilter(QObject*, QEvent* event) override
        {
            painted = painted || event->type() == QEvent::Paint;
            return false;
        }
    } paintSeen;
    QElapsedTimer clock;
    clock.start();
    auto* window = new ReportWindow(parent);
    window->show();
    window->showReport(std::move(report), false, false);
    window->findChild<QTableView*>()->viewport()->installEventFilter(&paintSeen);
    while (!paintSeen.painted)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const double ms = clock.nsecsElapsed() / 1e6;
    window->findChild<QTableView*>()->viewport()->removeEventFilter(&paintSeen);
    window->close();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return ms;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const std::size_t rows = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 10000;
    QWidget main;
    main.show();

    // Fonts, style and platform window made once, as in the running program.
    const double firstMs = showMs(&main, reportOf(1));
    // Kept as the last run's report is; the window gets its own copy, as "Letzte Übertragung…" gives it.
    const TransferReport report = reportOf(rows);
    const long beforeKiB = peakMemoryKiB();
    const double ms = showMs(&main, report);
    const long afterKiB = peakMemoryKiB();

    std::printf("Plattform:                          %s\n", qPrintable(QGuiApplication::platformName()));
    std::printf("Berichtsfenster mit 1 Zeile:         %.1f ms (erstes Fenster)\n", firstMs);
    std::printf("Berichtsfenster mit %zu Zeilen:   %.1f ms bis gezeigt\n", rows, ms);
    std::printf("Spitzenspeicher davor / danach:      %ld / %ld KiB\n", beforeKiB, afterKiB);
    std::printf("mehr Spitzenspeicher:                %ld KiB\n", afterKiB - beforeKiB);
    return 0;
}
