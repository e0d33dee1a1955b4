// Benchmark: transfers over D-Bus against a running korvant-sim, each followed
// by as many bare Get round trips as the transfer sent messages, in turns
// (transfer, bare, transfer, bare, ...), so that a busy machine slows both
// sides alike. Prints the median of the rounds' ratios; asserts nothing about
// time. Usage: bench_transfer PART_PROGRAM.json [ROUNDS]
#include "tests/transfer/BenchSupport.h"

#include "transfer/host/dbus/DBusHost.h"
#include "tests/support/PeakMemory.h"
#include "tests/support/StandInClient.h"
#include "korvant-sim/PartProgram.h"
#include "transfer/core/TransferCommand.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr,
                     "Aufruf: bench_transfer TEILEPROGRAMM.json [RUNDEN] (korvant-sim muss damit laufen)\n");
        return 2;
    }
    const int rounds = argc == 3 ? std::max(1, std::atoi(argv[2])) : 3;
    bench::Port window;
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
    // before the first transfer is timed.
    bareRoundTrips(2000);

    std::vector<double> transferMs, bareMs, ratios;
    std::uint64_t sent = 0;
    long transferPeakKiB = 0;
    std::size_t reportRows = 0;
    for (int round = 0; round < rounds; ++round) {
        DBusHost host(bus);
        clock.start();
        const std::optional<TransferReport> report = runTransfer(window, host);
        const qint64 transferNs = clock.nsecsElapsed();
        reportRows = report ? report->rows.size() : 0;
        if (round == 0)
            transferPeakKiB = peakMemoryKiB(); // the first transfer's peak alone
        sent = host.messagesSent();
        const qint64 bareNs = bareRoundTrips(sent);
        transferMs.push_back(transferNs / 1e6);
        bareMs.push_back(bareNs / 1e6);
        ratios.push_back(static_cast<double>(transferNs) / static_cast<double>(bareNs));
    }

    // Read only now, so the peak above is the transfer's alone.
    const sim::PartProgram program = sim::readPartProgram(argv[1]);
    const bench::Required required = bench::requiredOperations(program);

    std::printf("Befehle:                         %zu\n", program.commands.size());
    std::printf("zu tolerierende Maße:            %llu\n",
                static_cast<unsigned long long>(required.qualifying));
    std::printf("Runden (abwechselnd):            %d\n", rounds);
    std::printf("Übertragung, Median:             %.1f ms\n", median(transferMs));
    std::printf("gesendete D-Bus-Nachrichten:     %llu\n", static_cast<unsigned long long>(sent));
    std::printf("nötige Operationen:              %llu (+ 2 Nachfragen = %llu)\n",
                static_cast<unsigned long long>(required.operations),
                static_cast<unsigned long long>(required.operations + 2));
    std::printf("gleich viele bloße Get-Aufrufe:  %.1f ms (Median)\n", median(bareMs));
    std::printf("Verhältnis Übertragung/bloß:     %.3f (Median der Runden;", median(ratios));
    for (double ratio : ratios)
        std::printf(" %.3f", ratio);
    std::printf(")\n");
    std::printf("Zeilen im Bericht:               %zu\n", reportRows);
    std::printf("Spitzenspeicher der Übertragung: %ld KiB\n", transferPeakKiB);
    return sent == required.operations + 2 ? 0 : 1;
}
