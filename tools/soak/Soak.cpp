// Soak: transfer runs in a row through the main window's "Ausführen" glue
// against a running korvant-sim, each followed by a few save-and-open cycles
// of the shown table, all in one process. Before each run every dimension's tolerances are set to 0 in
// the stand-in, so each run writes them all anew; after it they are read
// back and compared with the first run's. Prints the figures; exits non-zero
// when a run differs, a message was shown or a cycle lost a value.
//
// Usage: dalmerin-soak TABLE_FILE COMMAND_COUNT RUNS CYCLES WORK_FOLDER
#include "tests/support/MessageRecorder.h"
#include "base/MessageBox.h"
#include "files/gui/TableFileIo.h"
#include "table/gui/CheckedTable.h"
#include "table/gui/ToleranceTable.h"
#include "transfer/host/PlatformHost.h"
#include "transfer/gui/TransferController.h"

#include "tests/support/PeakMemory.h"
#include "tests/support/StandInClient.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDir>
#include <QFile>
#include <QSettings>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

// The sanitizer's count of the bytes the program holds at this moment. Unlike
// the resident memory it leaves out the sanitizer's own bookkeeping
// (quarantine, shadow memory, recorded allocation stacks), which grows with
// every allocation ever made and would hide the program's own trend.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();

namespace {

// The most the program has held at any sample so far, in KiB.
class HeapPeak
{
public:
    void sample() { m_peakKiB = std::max(m_peakKiB, long(__sanitizer_get_current_allocated_bytes() / 1024)); }
    long kiB() const { return m_peakKiB; }

private:
    long m_peakKiB = 0;
};

constexpr int PlusTolerance = 15;
constexpr int MinusTolerance = 14;

using Tolerances = std::vector<std::optional<double>>; // plus, minus of each command

Tolerances readAll(std::size_t commands)
{
    Tolerances values;
    for (std::size_t command = 1; command <= commands; ++command) {
        values.push_back(standin::readNumber(command, PlusTolerance));
        values.push_back(standin::readNumber(command, MinusTolerance));
    }
    return values;
}

void zeroAll(const Tolerances& shape)
{
    for (std::size_t i = 0; i < shape.size(); ++i)
        if (shape[i])
            standin::putNumber(i / 2 + 1, i % 2 == 0 ? PlusTolerance : MinusTolerance, 0);
}

std::size_t countWritten(const Tolerances& values)
{
    std::size_t written = 0;
    for (const std::optional<double>& value : values)
        written += value && *value != 0;
    return written;
}

// Saves the shown table and opens it again: true when the same 71 values come
// back, which the table then shows.
bool savesAndOpensAgain(ToleranceTable& shown, const QString& path, const QStringList& values)
{
    const bool saved = !tablefileio::writeTable(path, shown.labelCaptions().mid(1));
    CheckedTable& table = shown.table();
    const tablefileio::LoadResult loaded = tablefileio::loadTable(path);
    const bool same =
        saved && loaded.status == tablefileio::LoadResult::Status::Loaded && loaded.values == values;
    if (same)
        table.showFileValues(loaded.values);
    return same;
}

// The command line: TABLE_FILE COMMAND_COUNT RUNS CYCLES WORK_FOLDER.
struct Options
{
    QString tableFile;
    std::size_t commands = 0;
    int runs = 0;
    int cycles = 0;
    QDir work;
};

std::optional<Options> parseOptions(const QStringList& arguments)
{
    if (arguments.size() != 6)
        return std::nullopt;
    Options options;
    options.tableFile = arguments[1];
    options.commands = arguments[2].toULong();
    options.runs = arguments[3].toInt();
    options.cycles = arguments[4].toInt();
    options.work.setPath(arguments[5]);
    return options;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const std::optional<Options> options = parseOptions(QCoreApplication::arguments());
    if (!options) {
        std::fprintf(stderr, "Aufruf: dalmerin-soak TABELLE BEFEHLE LÄUFE ZYKLEN ARBEITSORDNER\n");
        return 2;
    }
    const auto& [tableFile, commands, runs, cycles, work] = *options;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       work.filePath(QStringLiteral("settings")));

    const tablefileio::LoadResult table = tablefileio::loadTable(tableFile);
    if (table.status != tablefileio::LoadResult::Status::Loaded || !standin::waitOnBus()) {
        std::fprintf(stderr, "Tabelle nicht lesbar oder korvant-sim nicht erreichbar\n");
        return 2;
    }

    QWidget window;
    auto* checked = new CheckedTable(&window);
    auto* shown = new ToleranceTable(*checked, &window);
    checked->showFileValues(table.values);
    checked->setPath(tableFile);
    window.show();

    Tolerances first = readAll(commands);
    const QString path = work.filePath(QStringLiteral("Dauertest.tabelle"));
    const int cyclesPerRun = runs > 0 ? (cycles + runs - 1) / runs : 0;
    HeapPeak heap;
    long heapAfter20 = -1;
    long residentAfter20 = -1;
    int differingRuns = 0;
    int messages = 0;
    int cyclesDone = 0;
    int lostCycles = 0;
    TransferController transfer(*checked, &window, createPlatformHost);
    for (int run = 1; run <= runs; ++run) {
        zeroAll(first);
        messages::clearRecord();
        messages::setNextAnswer(MessageBox::Answer::Ok);
        transfer.run();
        heap.sample();
        messages += int(messages::shownTexts().size());
        const Tolerances written = readAll(commands);
        if (run == 1) {
            first = written;
            std::printf("Lauf 1: %zu Toleranzen geschrieben\n", countWritten(written));
        } else if (written != first) {
            ++differingRuns;
        }

        for (int cycle = 0; cycle < cyclesPerRun && cyclesDone < cycles; ++cycle, ++cyclesDone) {
            lostCycles += !savesAndOpensAgain(*shown, path, table.values);
            heap.sample();
        }

        if (run == std::min(20, runs)) {
            heapAfter20 = heap.kiB();
            residentAfter20 = peakMemoryKiB();
        }
        if (run % 20 == 0)
            std::printf("Lauf %d: Spitze des Programms %ld KiB, Spitze resident %ld KiB\n", run, heap.kiB(),
                        peakMemoryKiB());
        std::fflush(stdout);
    }

    std::printf("Übertragungen: %d, davon abweichend: %d, Meldungen: %d\n", runs, differingRuns, messages);
    std::printf("Speichern und Öffnen: %d Zyklen, davon fehlerhaft: %d\n", cyclesDone, lostCycles);
    std::printf("Spitze des Programms (Heap laut Sanitizer): nach 20 Läufen %ld KiB, am Ende %ld KiB\n",
                heapAfter20, heap.kiB());
    std::printf(
        "Spitze resident (mit der Buchführung des Sanitizers): nach 20 Läufen %ld KiB, am Ende %ld KiB\n",
        residentAfter20, peakMemoryKiB());
    const long growth = heap.kiB() - heapAfter20;
    std::printf("Zuwachs des Programms nach den ersten 20 Läufen: %ld KiB (Grenze 1024 KiB)\n", growth);
    return differingRuns == 0 && messages == 0 && lostCycles == 0 && growth <= 1024 ? 0 : 1;
}
