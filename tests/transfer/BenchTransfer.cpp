// Benchmark: one transfer over D-Bus against a running korvant-sim, then as
// many bare Get round trips as the transfer sent messages. Prints its figures;
// asserts nothing about time. Usage: bench_transfer PART_PROGRAM.json
#include "transfer/DBusHost.h"
#include "tests/support/PeakMemory.h"
#include "tests/support/StandInClient.h"
#include "korvant-sim/PartProgram.h"
#include "table/TableCells.h"
#include "transfer/RangeSet.h"
#include "transfer/TransferCommand.h"
#include "transfer/TransferWindow.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QFile>

#include <cmath>
#include <cstdio>

namespace {

// ISO 2768-m up to 1000: every generated nominal (0 to 500) finds a row.
std::vector<std::string> benchCaptions()
{
    std::vector<std::string> captions(72, "");
    const char* lower[] = {"0", "3", "6", "30", "120", "400"};
    const char* upper[] = {"3", "6", "30", "120", "400", "1000"};
    const char* tolerance[] = {"0.1", "0.1", "0.2", "0.3", "0.5", "0.8"};
    using cells::Column;
    for (int row = 0; row < 6; ++row) {
        const int range = row + 1;
        captions[cells::labelIndex({Column::Lower, range})] = lower[row];
        captions[cells::labelIndex({Column::Upper, range})] = upper[row];
        captions[cells::labelIndex({Column::Plus, range})] = tolerance[row];
        captions[cells::labelIndex({Column::Minus, range})] = tolerance[row];
    }
    return captions;
}

class BenchWindow : public TransferWindow
{
public:
    bool isEditMode() const override { return false; }
    std::string tablePath() const override { return "bench.tabelle"; }
    std::vector<std::string> labelCaptions() const override { return benchCaptions(); }
    std::optional<double> readLocaleNumber(const std::string&) const override { return std::nullopt; }
    std::string oldValSetting() const override { return "1"; }
    void showMessage(const std::string& text) override { std::printf("message: %s\n", text.c_str()); }
    void setWaitPointer() override {}
    void restorePointer() override {}
    void reportProgress(std::size_t, std::optional<std::size_t>) override {}
};

// The host operations a transfer of this part program needs, counted from the
// part program itself: four to reach the commands, then per command its reads and puts.
struct Required
{
    std::uint64_t operations = 4;
    std::uint64_t qualifying = 0;
};

Required requiredOperations(const sim::PartProgram& program, const RangeSet& ranges)
{
    static const std::string Axes[] = {"X", "Y", "Z", "D", "R", "L", "PR", "H"};
    Required required;
    for (const sim::Command& command : program.commands) {
        required.operations += 1;
        if (!command.isDimension)
            continue;
        required.operations += 2;
        if (command.typeCode == 1000 || command.typeCode == 1200)
            continue;
        required.operations += 4;
        const bool axisQualifies =
            std::find(std::begin(Axes), std::end(Axes), command.axis) != std::end(Axes);
        if (!axisQualifies && command.typeCode != 1106 && command.typeCode != 1107)
            continue;
        ++required.qualifying;
        if ((command.plus == 0 && command.minus == 0) && ranges.lookUp(std::fabs(command.nominal)))
            required.operations += 2;
    }
    return required;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "Aufruf: bench_transfer TEILEPROGRAMM.json (korvant-sim muss damit laufen)\n");
        return 2;
    }
    BenchWindow window;
    QDBusConnection bus = QDBusConnection::sessionBus();
    standin::waitOnBus();

    QDBusMessage bareGet =
        QDBusMessage::createMethodCall(QStringLiteral("KVTLRN.Application"), QStringLiteral("/Command/1"),
                                       QStringLiteral("KVTLRN.Command"), QStringLiteral("Get"));
    bareGet << 17;
    QElapsedTimer clock;
    auto bareRoundTrips = [&](std::uint64_t count) {
        clock.start();
        for (std::uint64_t i = 0; i < count; ++i)
            bus.call(bareGet, QDBus::Block, DBusHost::DefaultTimeoutMs);
        return clock.nsecsElapsed();
    };

    // Both sides run warm: the connection and the stand-in have answered calls
    // before the transfer is timed, as they have before the bare round trips.
    bareRoundTrips(2000);

    DBusHost host(bus);
    clock.start();
    const std::optional<TransferReport> report = runTransfer(window, host);
    const qint64 transferNs = clock.nsecsElapsed();
    const long peakKiB = peakMemoryKiB();
    const std::uint64_t sent = host.messagesSent();
    // As many bare round trips as the transfer sent messages, on the same connection.
    const qint64 bareNs = bareRoundTrips(sent);

    // Read only now, so the peak above is the transfer's alone.
    const sim::PartProgram program = sim::readPartProgram(argv[1]);
    const Required required = requiredOperations(program, RangeSet::fromCaptions(benchCaptions(), window));

    std::printf("Befehle:                         %zu\n", program.commands.size());
    std::printf("zu tolerierende Maße:            %llu\n",
                static_cast<unsigned long long>(required.qualifying));
    std::printf("Gesamtzeit der Übertragung:      %.1f ms\n", transferNs / 1e6);
    std::printf("gesendete D-Bus-Nachrichten:     %llu\n", static_cast<unsigned long long>(sent));
    std::printf("nötige Operationen:              %llu (+ 2 Nachfragen = %llu)\n",
                static_cast<unsigned long long>(required.operations),
                static_cast<unsigned long long>(required.operations + 2));
    std::printf("gleich viele bloße Get-Aufrufe:  %.1f ms\n", bareNs / 1e6);
    std::printf("Verhältnis Übertragung/bloß:     %.3f\n",
                static_cast<double>(transferNs) / static_cast<double>(bareNs));
    std::printf("Zeilen im Bericht:               %zu\n", report ? report->rows.size() : 0);
    std::printf("Spitzenspeicher der Übertragung: %ld KiB\n", peakKiB);
    return sent == required.operations + 2 ? 0 : 1;
}
