// The report of a transfer, its preview and its undo against the stand-in's objects in-process.
#include "tests/transfer/FakeHost.h"
#include "tests/transfer/FakePort.h"
#include "tests/transfer/TransferCases.h"
#include "transfer/core/TransferCommand.h"
#include "transfer/core/ReportCsv.h"
#include "transfer/core/TransferTexts.h"
#include "transfer/core/TransferUndo.h"

#include <QTest>

#include <algorithm>

namespace {

// The outcome of each case (command i is case i), with "OldVal" "1" and "0";
// '-' for the command without dimension, which gets no row.
// W written, K keeps its tolerances, N no range, A axis, T type.
constexpr char OutcomesKeeping[] = "WWNWWWWWWNWWNNAAAWWTT-KKKW";
constexpr char OutcomesOverwriting[] = "WWNWWWWWWNWWNNAAAWWTT-WWNW";

Outcome outcomeOf(char letter)
{
    switch (letter) {
    case 'W':
        return Outcome::Written;
    case 'K':
        return Outcome::KeepsOwnTolerances;
    case 'N':
        return Outcome::NoRange;
    case 'A':
        return Outcome::AxisNotCovered;
    default:
        return Outcome::TypeNotCovered;
    }
}

std::size_t count(const Strings& calls, const std::string& prefix)
{
    return std::size_t(std::count_if(calls.begin(), calls.end(), [&prefix](const std::string& call) {
        return call.rfind(prefix, 0) == 0;
    }));
}

// Sets a tolerance in the stand-in as a user of KORVANT would.
void change(sim::SimHost& objects, std::size_t command, int dispid, double value)
{
    objects.put({sim::ObjectKind::Command, command - 1}, "KVTLRN.Dimension", dispid, value);
}

struct Run
{
    sim::SimHost objects{transfercases::partProgram(), sim::PartProgramState::Active, {}};
    FakePort window;
    std::optional<TransferReport> report;

    explicit Run(sim::FaultPlan faults = {})
        : objects(transfercases::partProgram(), sim::PartProgramState::Active, std::move(faults))
    {
        FakeHost host(objects);
        report = runTransfer(window, host);
    }
};

} // namespace

class TestTransferReport : public QObject
{
    Q_OBJECT

private slots:
    void oneRowPerDimensionWithItsOutcome_data();
    void oneRowPerDimensionWithItsOutcome();
    void failedReadsAndPutsShowInTheirRows();
    void stoppedRunKeepsTheRowsUpToTheStop();

    void undoRestoresOnlyWhatIsUnchanged();
    void undoRestoresAPartlyWrittenDimension();
    void undoRefusesAnotherPartProgram_data();
    void undoRefusesAnotherPartProgram();
    void undoStopsAsTheTransferDoes_data();
    void undoStopsAsTheTransferDoes();

    void numbersAndCsv();
};

void TestTransferReport::oneRowPerDimensionWithItsOutcome_data()
{
    QTest::addColumn<bool>("keep");
    QTest::newRow("OldVal 1") << true;
    QTest::newRow("OldVal 0") << false;
}

void TestTransferReport::oneRowPerDimensionWithItsOutcome()
{
    QFETCH(bool, keep);
    sim::SimHost objects(transfercases::partProgram(), sim::PartProgramState::Active, {});
    const sim::PartProgram before = objects.program();
    FakeHost host(objects);
    FakePort window;
    window.keepTolerances = keep;
    const auto report = runTransfer(window, host);

    QVERIFY(report);
    QCOMPARE(report->kind, TransferReport::Kind::Run);
    QCOMPARE(report->end, TransferReport::End::Complete);
    QCOMPARE(report->tablePath, window.path);
    QCOMPARE(report->partProgram, std::string("Grenzfälle Übertragung"));
    QCOMPARE(report->oldVal, std::string(keep ? "1" : "0"));
    QCOMPARE(report->commandCount, std::optional<std::size_t>(26));
    const char* outcomes = keep ? OutcomesKeeping : OutcomesOverwriting;
    QCOMPARE(report->rows.size(), std::size_t(25));
    std::size_t r = 0;
    for (std::size_t i = 0; i < before.commands.size(); ++i) {
        if (outcomes[i] == '-')
            continue;
        const ReportRow& row = report->rows[r++];
        const sim::Command& was = before.commands[i];
        const sim::Command& now = objects.program().commands[i];
        const char* what = transfercases::cases()[i].what;
        QVERIFY2(row.position == i + 1, what);
        QVERIFY2(row.outcome == outcomeOf(outcomes[i]), what);
        QVERIFY2(row.typeCode == was.typeCode, what);
        // The values as read; for the types left out they are not read at all.
        const bool valuesRead = outcomes[i] != 'T';
        QVERIFY2(row.nominal == (valuesRead ? std::optional<double>(was.nominal) : std::nullopt), what);
        QVERIFY2(row.plusBefore == (valuesRead ? std::optional<double>(was.plus) : std::nullopt), what);
        QVERIFY2(row.minusBefore == (valuesRead ? std::optional<double>(was.minus) : std::nullopt), what);
        QVERIFY2(row.axis == (valuesRead ? std::optional<std::string>(was.axis) : std::nullopt), what);
        // What the host holds after the run is what the row says was put, or what it had.
        const bool written = row.outcome == Outcome::Written;
        QVERIFY2(row.range.has_value() == written && row.plusNew.has_value() == written, what);
        QVERIFY2(now.plus == (written ? *row.plusNew : was.plus), what);
        QVERIFY2(now.minus == (written ? *row.minusNew : was.minus), what);
    }
    QCOMPARE(report->rows[0].range, std::optional<int>(1));
    QCOMPARE(report->rows[8].range, std::optional<int>(4));
    QCOMPARE(report->rows[10].range, std::optional<int>(18));
    QVERIFY(report->canBeUndone());
    const std::string text = summary(*report);
    QCOMPARE(text, !keep ? std::string("25 Maße: 15 geschrieben, 5 kein Bereich, 3 Achse nicht erfasst, "
                                       "2 Typ nicht erfasst.")
                         : std::string("25 Maße: 13 geschrieben, 3 behält eigene Toleranzen, 4 kein "
                                       "Bereich, 3 Achse nicht erfasst, 2 Typ nicht erfasst."));
}

void TestTransferReport::failedReadsAndPutsShowInTheirRows()
{
    sim::FaultPlan faults;
    faults.failingGets.push_back({14, {2}}); // the minus tolerance of command 2
    faults.failingPuts.push_back({15, {1}});
    faults.failingPuts.push_back({14, {4}});
    faults.failingPuts.push_back({15, {5}});
    faults.failingPuts.push_back({14, {5}});
    const Run run(faults);
    const auto& rows = run.report->rows;

    QCOMPARE(rows[1].outcome, Outcome::ReadFailed);
    QCOMPARE(rows[1].nominal, std::optional<double>(3.00002)); // what was read is kept
    QCOMPARE(rows[1].plusBefore, std::optional<double>(0));
    QVERIFY(!rows[1].minusBefore && !rows[1].axis && !rows[1].plusNew);

    QCOMPARE(rows[0].outcome, Outcome::WriteFailed);
    QCOMPARE(writeFailureDetail(rows[0]), "Die Plustoleranz konnte nicht geschrieben werden.");
    QCOMPARE(writeFailureDetail(rows[3]), "Die Minustoleranz konnte nicht geschrieben werden.");
    QCOMPARE(writeFailureDetail(rows[4]), "Plus- und Minustoleranz konnten nicht geschrieben werden.");
    QCOMPARE(rows[5].outcome, Outcome::Written);
    QVERIFY(run.report->wroteSomething());
}

void TestTransferReport::stoppedRunKeepsTheRowsUpToTheStop()
{
    for (const bool busy : {false, true}) {
        sim::SimHost objects(transfercases::partProgram(), sim::PartProgramState::Active, {});
        FakeHost host(objects);
        host.loseAfterCalls = 3 + 9 + 9 + 4; // amid the reads of command 3
        host.lostAs = busy ? korvant::CallStatus::Busy : korvant::CallStatus::ConnectionLost;
        FakePort window;
        const auto report = runTransfer(window, host);
        QVERIFY(report);
        QCOMPARE(report->end, busy ? TransferReport::End::Busy : TransferReport::End::ConnectionLost);
        QCOMPARE(report->rows.size(), std::size_t(2));
        QCOMPARE(report->commandsVisited, std::size_t(2));
        QCOMPARE(window.events.at(1),
                 messageEvent(busy ? transfertexts::Busy : transfertexts::ConnectionLost));
        QCOMPARE(
            summary(*report),
            busy ? std::string("2 Maße: 2 geschrieben. Die Übertragung wurde nach 2 Befehlen abgebrochen: "
                               "KORVANT ist beschäftigt und nimmt keine Aufrufe an.")
                 : std::string("2 Maße: 2 geschrieben. Die Übertragung wurde nach 2 Befehlen abgebrochen: "
                               "Die Verbindung zu KORVANT wurde unterbrochen."));
    }
}

void TestTransferReport::undoRestoresOnlyWhatIsUnchanged()
{
    sim::SimHost objects(transfercases::partProgram(), sim::PartProgramState::Active, {});
    const sim::PartProgram before = objects.program();
    FakePort window;
    FakeHost runHost(objects);
    auto run = runTransfer(window, runHost);
    change(objects, 1, 15, 0.5);   // written by the run, changed since
    change(objects, 3, 15, 0.25);  // not written by the run: the undo does not touch it
    change(objects, 2, 14, -0.15); // changed to what it was: still the run's value

    FakeHost host(objects);
    const auto undo = undoTransfer(window, host, *run);
    QVERIFY(undo);
    QCOMPARE(undo->kind, TransferReport::Kind::Undo);
    QCOMPARE(undo->rows.size(), std::size_t(13));
    QCOMPARE(undo->rows[0].outcome, Outcome::ChangedSince);
    QCOMPARE(undo->rows[0].plusBefore, std::optional<double>(0.5));
    for (std::size_t i = 1; i < undo->rows.size(); ++i)
        QCOMPARE(undo->rows[i].outcome, Outcome::Restored);
    for (std::size_t i = 0; i < before.commands.size(); ++i) {
        const sim::Command& now = objects.program().commands[i];
        const double plus = i == 0 ? 0.5 : i == 2 ? 0.25 : before.commands[i].plus;
        QVERIFY2(now.plus == plus && now.minus == (i == 0 ? -0.1 : before.commands[i].minus),
                 transfercases::cases()[i].what);
    }
    // Every read of the first pass comes before the first put of the second.
    const Strings& calls = host.calls();
    const auto firstPut = std::find_if(calls.begin(), calls.end(),
                                       [](const std::string& call) { return call.rfind("put", 0) == 0; });
    QCOMPARE(
        std::count_if(firstPut, calls.end(), [](const std::string& c) { return c.rfind("get", 0) == 0; }),
        0L);
    QCOMPARE(count(calls, "get 17"), std::size_t(26));
    QCOMPARE(count(calls, "put"), std::size_t(24));
    QCOMPARE(host.liveReferences(), std::size_t(0));
    QCOMPARE(host.endedRuns(), 1);
    QCOMPARE(summary(*undo), "13 Maße: 1 seit der Übertragung geändert, 12 zurückgesetzt.");

    // An undone run cannot be undone again.
    QVERIFY(run->undone && !run->canBeUndone());
}

void TestTransferReport::undoRestoresAPartlyWrittenDimension()
{
    sim::FaultPlan faults;
    faults.failingPuts.push_back({14, {1}});
    Run run(faults);
    QCOMPARE(run.report->rows[0].outcome, Outcome::WriteFailed);
    sim::SimHost& objects = run.objects;
    FakeHost host(objects);
    const auto undo = undoTransfer(run.window, host, *run.report);
    QVERIFY(undo);
    QCOMPARE(undo->rows[0].outcome, Outcome::WriteFailed); // its minus put fails again
    QCOMPARE(objects.program().commands[0].plus, 0.0);
    QCOMPARE(objects.program().commands[1].plus, 0.0);
}

void TestTransferReport::undoRefusesAnotherPartProgram_data()
{
    QTest::addColumn<bool>("renamed");
    QTest::newRow("another default value text") << true;
    QTest::newRow("a command added") << false;
}

void TestTransferReport::undoRefusesAnotherPartProgram()
{
    QFETCH(bool, renamed);
    Run run;
    sim::PartProgram changed = run.objects.program();
    if (renamed)
        changed.name = "Lagerdeckel";
    else
        changed.commands.push_back(changed.commands.front());
    sim::SimHost objects(changed, sim::PartProgramState::Active, {});
    FakeHost host(objects);
    FakePort window;
    QVERIFY(!undoTransfer(window, host, *run.report));
    QCOMPARE(window.events, (Strings{"wait", messageEvent(transfertexts::ProgramChanged), "restore"}));
    QCOMPARE(count(host.calls(), "put"), std::size_t(0));
    QVERIFY(run.report->canBeUndone());
    QCOMPARE(host.liveReferences(), std::size_t(0));
}

void TestTransferReport::undoStopsAsTheTransferDoes_data()
{
    QTest::addColumn<long>("callsAnswered");
    QTest::addColumn<bool>("busy");
    QTest::addColumn<int>("rowsShown"); // -1: no report, nothing written
    QTest::newRow("lost at the part program") << 0L << false << -1;
    QTest::newRow("lost in the first pass") << 40L << false << -1;
    QTest::newRow("busy in the first pass") << 40L << true << -1;
    // The part program's three reads, the enumeration, the first pass's 168
    // reads and the first five puts are answered.
    QTest::newRow("lost at the third row's minus put") << 3L + 1 + 168 + 5 << false << 3;
}

void TestTransferReport::undoStopsAsTheTransferDoes()
{
    QFETCH(long, callsAnswered);
    QFETCH(bool, busy);
    QFETCH(int, rowsShown);
    Run run;
    FakeHost host(run.objects);
    host.loseAfterCalls = callsAnswered;
    host.lostAs = busy ? korvant::CallStatus::Busy : korvant::CallStatus::ConnectionLost;
    FakePort window;
    const auto undo = undoTransfer(window, host, *run.report);
    QCOMPARE(
        window.events,
        (Strings{"wait", messageEvent(busy ? transfertexts::UndoBusy : transfertexts::UndoConnectionLost),
                 "restore"}));
    QCOMPARE(host.liveReferences(), std::size_t(0));
    QCOMPARE(host.endedRuns(), 1);
    if (rowsShown < 0) {
        QVERIFY(!undo);
        QCOMPARE(count(host.calls(), "put"), std::size_t(0));
        QVERIFY(run.report->canBeUndone()); // nothing written: it can be tried again
        return;
    }
    QVERIFY(undo && run.report->undone);
    QCOMPARE(undo->end, TransferReport::End::ConnectionLost);
    QCOMPARE(undo->rows.size(), std::size_t(rowsShown));
    QCOMPARE(undo->rows[1].outcome, Outcome::Restored);
    QCOMPARE(undo->rows[2].outcome, Outcome::WriteFailed);
    QVERIFY(!undo->rows[2].plusPutFailed && undo->rows[2].minusPutFailed);
}

void TestTransferReport::numbersAndCsv()
{
    QCOMPARE(formatNumber(0.1, ','), "0,1");
    QCOMPARE(formatNumber(-0.15, '.'), "-0.15");
    QCOMPARE(formatNumber(3.00002, ','), "3,00002");
    QCOMPARE(formatNumber(3.0000004, ','), "3");
    QCOMPARE(formatNumber(1.23456789, ','), "1,234568");
    QCOMPARE(formatNumber(-0.0000001, ','), "0");
    QCOMPARE(formatNumber(600, ','), "600");
    QCOMPARE(formatNumber(-1e-6, ','), "-0,000001");
    QCOMPARE(formatNumber(-1e100, '.') + ".000000", std::to_string(-1e100)); // never cut short

    TransferReport report;
    ReportRow written;
    written.position = 1;
    written.typeCode = 1101;
    written.axis = "X";
    written.nominal = 3.5;
    written.plusBefore = 0;
    written.minusBefore = 0;
    written.range = 2;
    written.plusNew = 0.1;
    written.minusNew = -0.1;
    written.outcome = Outcome::Written;
    ReportRow odd;
    odd.position = 12;
    odd.typeCode = 1101;
    odd.axis = "a;\"b\"";
    odd.outcome = Outcome::ReadFailed;
    ReportRow formula = odd;
    formula.position = 13;
    formula.axis = "=1+2";
    report.rows = {written, odd, formula};
    QCOMPARE(
        reportCsv(report, ','),
        std::string("\xEF\xBB\xBFNr.;Typ;Achse;Nennmaß;Plus vorher;Minus vorher;Bereich;Plus neu;Minus neu;"
                    "Ergebnis\r\n"
                    "1;1101;X;3,5;0;0;2;0,1;-0,1;geschrieben\r\n"
                    "12;1101;\"a;\"\"b\"\"\";;;;;;;Lesen fehlgeschlagen\r\n"
                    "13;1101;'=1+2;;;;;;;Lesen fehlgeschlagen\r\n"));
}

QTEST_APPLESS_MAIN(TestTransferReport)
#include "TestTransferReport.moc"
