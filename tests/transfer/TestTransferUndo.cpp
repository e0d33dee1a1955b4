// "Rückgängig" against the stand-in's objects in-process: what it puts back
// and where it refuses, and an undo that stops and is finished by the next.
#include "tests/transfer/ReportTestSupport.h"
#include "transfer/core/ReportCsv.h"
#include "transfer/core/TransferTexts.h"
#include "transfer/core/TransferUndo.h"

#include <QTest>

using namespace reporttest;

namespace {

// The calls of the first pass: the way to the commands and every command's reads.
constexpr long FirstPassCalls = 3 + 1 + 168;

std::string undoLine(const char* state)
{
    return std::string(" Die Übertragung wurde ") + state;
}

} // namespace

class TestTransferUndo : public QObject
{
    Q_OBJECT

private slots:
    void restoresOnlyWhatIsUnchanged();
    void restoresWhatAStoppedRunWrote_data();
    void restoresWhatAStoppedRunWrote();
    void refusesAnotherPartProgram_data();
    void refusesAnotherPartProgram();
    void stopsBeforeItPutsAnything_data();
    void stopsBeforeItPutsAnything();
    void stoppedUndoIsFinishedByTheNext_data();
    void stoppedUndoIsFinishedByTheNext();
};

void TestTransferUndo::restoresOnlyWhatIsUnchanged()
{
    Run run;
    const sim::PartProgram before = transfercases::partProgram();
    change(run.objects, 1, 15, 0.5);   // written by the run, changed since
    change(run.objects, 3, 15, 0.25);  // not written by the run: the undo does not touch it
    change(run.objects, 2, 14, -0.15); // changed to what it was: still the run's value

    FakeHost host(run.objects);
    const auto undo = undoTransfer(run.window, host, *run.report);
    QVERIFY(undo);
    QCOMPARE(undo->kind, TransferReport::Kind::Undo);
    QCOMPARE(undo->undoOf, std::string("2026-12-09 14:30:05"));
    QCOMPARE(undo->rows.size(), std::size_t(13));
    QCOMPARE(undo->rows[0].outcome, Outcome::ChangedSince);
    QCOMPARE(undo->rows[0].plusBefore, std::optional<double>(0.5));
    for (std::size_t i = 1; i < undo->rows.size(); ++i)
        QCOMPARE(undo->rows[i].outcome, Outcome::Written);
    for (std::size_t i = 0; i < before.commands.size(); ++i) {
        const sim::Command& now = run.objects.program().commands[i];
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
    QCOMPARE(summary(*undo),
             "13 Maße: 12 zurückgesetzt, 1 seit der Übertragung geändert." +
                 undoLine("zurückgesetzt, bis auf 1 Maß, das seit der Übertragung geändert wurde."));
    QVERIFY(reportCsv(*undo, ',').find("\r\nRückgängig von;2026-12-09 14:30:05\r\n") != std::string::npos);

    // Nothing is left to undo, and the run's report says so, naming the dimension that keeps its change.
    QVERIFY(!run.report->canBeUndone());
    QVERIFY(summary(*run.report).find(undoLine("zurückgesetzt, bis auf 1 Maß")) != std::string::npos);
}

void TestTransferUndo::restoresWhatAStoppedRunWrote_data()
{
    QTest::addColumn<long>("callsAnswered");
    QTest::addColumn<bool>("carriedOut");
    QTest::addColumn<korvant::CallStatus>("lostAs");
    QTest::addColumn<Strings>("puts");
    const long minusPutOfCommand1 = 4 + 7 + 1;
    QTest::newRow("lost at the minus put")
        << minusPutOfCommand1 << false << korvant::CallStatus::ConnectionLost << Strings{"put 15"};
    QTest::newRow("lost at the minus put, which was carried out")
        << minusPutOfCommand1 << true << korvant::CallStatus::ConnectionLost << Strings{"put 15", "put 14"};
    QTest::newRow("busy at the minus put")
        << minusPutOfCommand1 << false << korvant::CallStatus::Busy << Strings{"put 15"};
    QTest::newRow("a put refused") << -1L << false << korvant::CallStatus::ConnectionLost
                                   << Strings{"put 15"};
}

// A dimension the run wrote half into gets back the one tolerance it got.
void TestTransferUndo::restoresWhatAStoppedRunWrote()
{
    QFETCH(long, callsAnswered);
    QFETCH(bool, carriedOut);
    QFETCH(korvant::CallStatus, lostAs);
    QFETCH(Strings, puts);
    sim::FaultPlan faults;
    if (callsAnswered < 0)
        faults.failingPuts.push_back({14, {1}});
    sim::SimHost objects(transfercases::partProgram(), sim::PartProgramState::Active, faults);
    FakePort window;
    std::optional<TransferReport> run;
    {
        FakeHost host(objects);
        if (callsAnswered >= 0)
            host.loseAfterCalls = callsAnswered;
        host.lostAs = lostAs;
        host.carriesOutLostPut = carriedOut;
        run = runTransfer(window, host);
    }
    QVERIFY(run && run->canBeUndone());
    QCOMPARE(run->rows[0].outcome, Outcome::PartlyWritten);

    FakeHost host(objects);
    const auto undo = undoTransfer(window, host, *run);
    QVERIFY(undo);
    QCOMPARE(host.callsOn(1).size(), 7 + puts.size());
    Strings putsMade;
    for (const std::string& call : host.callsOn(1))
        if (call.rfind("put", 0) == 0)
            putsMade.push_back(call);
    QCOMPARE(putsMade, puts);
    QCOMPARE(undo->rows[0].outcome, Outcome::Written);
    const char* notAsBefore = transfercases::firstCaseNotAsBefore(objects.program());
    if (callsAnswered >= 0)
        QVERIFY2(!notAsBefore, notAsBefore);
    QCOMPARE(objects.program().commands[0].plus, 0.0);
    QCOMPARE(objects.program().commands[0].minus, 0.0);
    QVERIFY(!run->canBeUndone());
}

void TestTransferUndo::refusesAnotherPartProgram_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("another default value text") << "renamed";
    QTest::newRow("a command added") << "added";
    QTest::newRow("a command removed") << "removed";
    QTest::newRow("two commands the run did not write swapped") << "swapped";
    QTest::newRow("a command without dimension moved to the front") << "moved";
    QTest::newRow("a written dimension's nominal changed") << "nominal";
    QTest::newRow("a type changed") << "type";
}

// What the run read of every command, written into or not, must read the
// same: commands moved, added or removed leave everything as it is.
void TestTransferUndo::refusesAnotherPartProgram()
{
    QFETCH(QString, change);
    Run run;
    sim::PartProgram changed = run.objects.program();
    auto& commands = changed.commands;
    if (change == "renamed")
        changed.name = "Lagerdeckel";
    else if (change == "added")
        commands.push_back(commands.front());
    else if (change == "removed")
        commands.erase(commands.begin() + 9);
    else if (change == "swapped")
        std::swap(commands[14], commands[15]);
    else if (change == "moved")
        std::rotate(commands.begin(), commands.begin() + 21, commands.begin() + 22);
    else if (change == "nominal")
        commands[0].nominal = 4;
    else
        commands[20].typeCode = 1000;
    sim::SimHost objects(changed, sim::PartProgramState::Active, {});
    FakeHost host(objects);
    FakePort window;
    QVERIFY(!undoTransfer(window, host, *run.report));
    QCOMPARE(window.events, (Strings{"wait", messageEvent(transfertexts::ProgramChanged), "restore"}));
    QCOMPARE(count(host.calls(), "put"), std::size_t(0));
    QVERIFY(run.report->canBeUndone());
    QCOMPARE(host.liveReferences(), std::size_t(0));
}

void TestTransferUndo::stopsBeforeItPutsAnything_data()
{
    QTest::addColumn<long>("callsAnswered");
    QTest::addColumn<bool>("busy");
    QTest::addColumn<std::size_t>("cancelAtReport");
    QTest::newRow("lost at the part program") << 0L << false << std::size_t(0);
    QTest::newRow("lost in the first pass") << 40L << false << std::size_t(0);
    QTest::newRow("busy in the first pass") << 40L << true << std::size_t(0);
    QTest::newRow("cancelled in the first pass") << -1L << false << std::size_t(5);
}

void TestTransferUndo::stopsBeforeItPutsAnything()
{
    QFETCH(long, callsAnswered);
    QFETCH(bool, busy);
    QFETCH(std::size_t, cancelAtReport);
    Run run;
    FakeHost host(run.objects);
    if (callsAnswered >= 0)
        host.loseAfterCalls = callsAnswered;
    host.lostAs = busy ? korvant::CallStatus::Busy : korvant::CallStatus::ConnectionLost;
    FakePort window;
    if (cancelAtReport)
        window.cancelAtReport = cancelAtReport;
    QVERIFY(!undoTransfer(window, host, *run.report));
    const std::string message = cancelAtReport ? transfertexts::UndoCancelledBeforePuts
                          : busy         ? transfertexts::UndoBusyNothingRestored
                                         : transfertexts::UndoConnectionLostNothingRestored;
    QCOMPARE(window.events, (Strings{"wait", messageEvent(message), "restore"}));
    QCOMPARE(count(host.calls(), "put"), std::size_t(0));
    QCOMPARE(host.liveReferences(), std::size_t(0));
    QCOMPARE(host.endedRuns(), 1);
    QVERIFY(run.report->canBeUndone());
    QVERIFY(summary(*run.report).find("zurückgesetzt") == std::string::npos);
}

void TestTransferUndo::stoppedUndoIsFinishedByTheNext_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<bool>("carriedOut");
    QTest::newRow("lost at the third row's minus put") << false << false;
    QTest::newRow("lost at the third row's minus put, which was carried out") << false << true;
    QTest::newRow("cancelled after the third row") << true << false;
}

// Each row keeps how far its undo got, down to which of its two puts was
// answered: the next undo finishes the rest with the same guards, and the
// part program ends as it was before the run.
void TestTransferUndo::stoppedUndoIsFinishedByTheNext()
{
    QFETCH(bool, cancel);
    QFETCH(bool, carriedOut);
    Run run;
    TransferReport& report = *run.report;
    std::optional<TransferReport> first;
    {
        FakeHost host(run.objects);
        FakePort window;
        if (cancel) {
            window.cancelAtReport = 27 + 3; // the first pass's reports, then one per row
        } else {
            host.loseAfterCalls = FirstPassCalls + 5; // two rows and the third row's plus put
            host.carriesOutLostPut = carriedOut;
        }
        first = undoTransfer(window, host, report);
        QCOMPARE(window.events.at(1),
                 cancel
                     ? messageEvent("Das Zurücksetzen wurde abgebrochen nach Befehl 4 von 26. Die Toleranzen "
                                    "wurden nicht vollständig zurückgesetzt.")
                     : messageEvent(transfertexts::UndoConnectionLost));
    }
    QVERIFY(first);
    QCOMPARE(first->rows.size(), std::size_t(13));
    const Outcome third = cancel ? Outcome::Written : Outcome::PartlyWritten;
    QCOMPARE(first->rows[2].outcome, third);
    for (std::size_t i = 3; i < first->rows.size(); ++i)
        QCOMPARE(first->rows[i].outcome, Outcome::NotReached);
    const std::string restored = cancel ? "3 zurückgesetzt" : "2 zurückgesetzt, 1 teilweise zurückgesetzt";
    const std::string stop = cancel ? " mit „Abbrechen“." : ": Die Verbindung zu KORVANT wurde unterbrochen.";
    const std::string partly =
        undoLine(cancel ? "teilweise zurückgesetzt: 3 von 13." : "teilweise zurückgesetzt: 2 von 13.");
    // Lost within the row of command 4, cancelled after it.
    QCOMPARE(summary(*first), "13 Maße: " + restored + ", 10 nicht zurückgesetzt. Zurücksetzen abgebrochen " +
                                  (cancel ? "nach" : "bei") + " Befehl 4 von 26" + stop + partly);
    QVERIFY(report.canBeUndone());
    QVERIFY(summary(report).find(partly) != std::string::npos);

    FakeHost host(run.objects);
    FakePort window;
    const auto second = undoTransfer(window, host, report);
    QCOMPARE(window.events, (Strings{"wait", "restore"}));
    QVERIFY(second);
    QCOMPARE(second->rows.size(), std::size_t(cancel ? 10 : 11));
    for (const ReportRow& row : second->rows)
        QCOMPARE(row.outcome, Outcome::Written);
    if (!cancel) {
        QCOMPARE(second->rows[0].plusPut, Put::NotNeeded); // put back by the first undo
        QCOMPARE(second->rows[0].minusPut, carriedOut ? Put::NotNeeded : Put::Done);
    }
    const std::string done = summary(*second);
    const std::string undone = undoLine("zurückgesetzt.");
    QVERIFY2(done.size() > undone.size() &&
                 done.compare(done.size() - undone.size(), undone.size(), undone) == 0,
             done.c_str());
    QVERIFY(!report.canBeUndone());
    const char* notAsBefore = transfercases::firstCaseNotAsBefore(run.objects.program());
    QVERIFY2(!notAsBefore, notAsBefore);
}

QTEST_APPLESS_MAIN(TestTransferUndo)
#include "TestTransferUndo.moc"
