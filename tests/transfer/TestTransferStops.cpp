// Where a run stops, and the undo after it, against the stand-in's objects
// in-process: the command list enumerated with a count in advance (as over
// D-Bus) and without (as over COM, where each step is a call and the one after
// the last finds the end).
#include "tests/transfer/ReportTestSupport.h"
#include "transfer/core/TransferTexts.h"
#include "transfer/core/TransferUndo.h"

#include <QTest>

#include <regex>

using namespace reporttest;
using korvant::CallStatus;

namespace {

// Five commands: written, no dimension, written, a type left out, written.
sim::PartProgram smallProgram()
{
    sim::PartProgram program;
    program.name = "Fünf Befehle";
    for (std::size_t i : {0, 21, 4, 19, 7})
        program.commands.push_back(transfercases::cases()[i].before);
    return program;
}
constexpr std::size_t SmallCount = 5;
// Its run's calls: the way to the commands, then 9 + 1 + 9 + 3 + 9; without a count also 6 steps.
constexpr long RunCalls = 4 + 31;
constexpr long Steps = SmallCount + 1;

enum class Stop
{
    Lost,
    Busy,
    Cancel
};

// Every "Befehl N" in the text, with N within the part program.
bool namesOnlyCommandsOfTheProgram(const std::string& text, std::size_t count)
{
    static const std::regex command("Befehl (\\d+)");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), command); it != std::sregex_iterator(); ++it) {
        const std::size_t n = std::stoul((*it)[1]);
        if (n == 0 || n > count)
            return false;
    }
    return true;
}

// The tolerances of every command as before; else the first that differs, from 1.
std::size_t firstChanged(const sim::PartProgram& now, const sim::PartProgram& before)
{
    for (std::size_t i = 0; i < before.commands.size(); ++i)
        if (now.commands[i].plus != before.commands[i].plus || now.commands[i].minus != before.commands[i].minus)
            return i + 1;
    return 0;
}

} // namespace

class TestTransferStops : public QObject
{
    Q_OBJECT

private slots:
    void stopAtEveryCallThenUndo_data();
    void stopAtEveryCallThenUndo();
    void stopOnTheStepThatFindsTheEnd_data();
    void stopOnTheStepThatFindsTheEnd();
    void failedStepIsAStop_data();
    void failedStepIsAStop();
    void stopBeforeTheFirstCommand_data();
    void stopBeforeTheFirstCommand();
    void undoStoppedBeforeItPutAnything_data();
    void undoStoppedBeforeItPutAnything();
    void undoOfDimensionsAllChangedSincePutsNothingBack();
    void undoReadsNoFurtherThanItsRun_data();
    void undoReadsNoFurtherThanItsRun();
};

void TestTransferStops::stopAtEveryCallThenUndo_data()
{
    QTest::addColumn<bool>("tellsCount");
    QTest::addColumn<Stop>("stop");
    QTest::addColumn<long>("callsAnswered");
    for (const bool tellsCount : {true, false})
        for (const Stop stop : {Stop::Lost, Stop::Busy, Stop::Cancel})
            // "Abbrechen" is asked before every step too; the call after the last commits nothing.
            for (long answered = 0; answered <= RunCalls + (tellsCount && stop != Stop::Cancel ? 0 : Steps);
                 ++answered)
                QTest::addRow("%s, %s at call %ld", tellsCount ? "count" : "no count",
                              stop == Stop::Lost   ? "lost"
                              : stop == Stop::Busy ? "busy"
                                                   : "Abbrechen",
                              answered + 1)
                    << tellsCount << stop << answered;
}

// Whatever call the run stops at, nothing it tells names a command beyond
// the part program, and "Rückgängig" puts the part program back as it was.
void TestTransferStops::stopAtEveryCallThenUndo()
{
    QFETCH(bool, tellsCount);
    QFETCH(Stop, stop);
    QFETCH(long, callsAnswered);
    const sim::PartProgram before = smallProgram();
    sim::SimHost objects(before, sim::PartProgramState::Active, {});
    FakePort window;
    std::optional<TransferReport> run;
    {
        FakeHost host(objects);
        host.tellsCount = tellsCount;
        if (stop == Stop::Cancel)
            window.cancelAtCheck = std::size_t(callsAnswered) + 1;
        else
            host.loseAfterCalls = callsAnswered;
        host.lostAs = stop == Stop::Busy ? CallStatus::Busy : CallStatus::ConnectionLost;
        run = runTransfer(window, host);
        QCOMPARE(host.liveReferences(), std::size_t(0));
    }
    for (const std::string& event : window.events)
        QVERIFY2(namesOnlyCommandsOfTheProgram(event, SmallCount), event.c_str());
    if (!run) {
        QCOMPARE(firstChanged(objects.program(), before), std::size_t(0));
        return;
    }
    QVERIFY2(namesOnlyCommandsOfTheProgram(summary(*run), SmallCount), summary(*run).c_str());
    if (!run->canBeUndone()) {
        QCOMPARE(firstChanged(objects.program(), before), std::size_t(0));
        return;
    }
    FakeHost host(objects);
    host.tellsCount = tellsCount;
    FakePort undoWindow;
    const auto undo = undoTransfer(undoWindow, host, *run);
    QCOMPARE(undoWindow.events, (Strings{"wait", "restore"}));
    QVERIFY(undo && !run->canBeUndone());
    QCOMPARE(firstChanged(objects.program(), before), std::size_t(0));
}

void TestTransferStops::stopOnTheStepThatFindsTheEnd_data()
{
    QTest::addColumn<CallStatus>("lostAs");
    QTest::addColumn<QString>("cause");
    QTest::newRow("lost") << CallStatus::ConnectionLost
                          << QStringLiteral(": ") + QString::fromUtf8(transfertexts::LostSentence);
    QTest::newRow("busy") << CallStatus::Busy << QStringLiteral(": ") + QString::fromUtf8(transfertexts::BusySentence);
}

// Without a count the step after the last command is a call: a stop there
// comes after command 5, every row stays, and the undo puts everything back.
void TestTransferStops::stopOnTheStepThatFindsTheEnd()
{
    QFETCH(CallStatus, lostAs);
    QFETCH(QString, cause);
    const sim::PartProgram before = smallProgram();
    sim::SimHost objects(before, sim::PartProgramState::Active, {});
    FakePort window;
    FakeHost host(objects);
    host.tellsCount = false;
    host.loseAfterCalls = RunCalls + Steps - 1;
    host.lostAs = lostAs;
    auto run = runTransfer(window, host);
    QVERIFY(run);
    QCOMPARE(host.calls().back(), std::string("next"));
    QCOMPARE(run->rows.size(), std::size_t(4));
    QCOMPARE(summary(*run), "4 Maße: 3 geschrieben, 1 mit nicht erfasstem Typ. Übertragung abgebrochen nach Befehl 5" +
                                cause.toStdString());

    FakeHost undoHost(objects);
    undoHost.tellsCount = false;
    const auto undo = undoTransfer(window, undoHost, *run);
    QVERIFY(undo);
    QCOMPARE(summary(*undo), std::string("3 Maße: 3 zurückgesetzt. Die Übertragung wurde zurückgesetzt."));
    QCOMPARE(firstChanged(objects.program(), before), std::size_t(0));
}

void TestTransferStops::failedStepIsAStop_data()
{
    QTest::addColumn<bool>("tellsCount");
    QTest::addColumn<std::size_t>("step");
    QTest::addColumn<QString>("summary");
    QTest::addColumn<QString>("message");
    const QString broken = QStringLiteral(": ") + QString::fromUtf8(transfertexts::ListBrokenSentence);
    const QString written = QString::fromUtf8(transfertexts::ListBroken);
    const QString nothing = QString::fromUtf8(transfertexts::ListBrokenNothingWritten);
    for (const bool tellsCount : {true, false}) {
        const char* mode = tellsCount ? "count" : "no count";
        QTest::addRow("%s, the first step", mode)
            << tellsCount << std::size_t(1)
            << "0 Maße. Übertragung abgebrochen vor dem ersten Befehl" + broken << nothing;
        QTest::addRow("%s, the third step", mode)
            << tellsCount << std::size_t(3)
            << "1 Maß: 1 geschrieben. Übertragung abgebrochen nach Befehl 2" + QString(tellsCount ? " von 5" : "") +
                   broken
            << written;
    }
    QTest::newRow("no count, the step that finds the end")
        << false << std::size_t(6)
        << "4 Maße: 3 geschrieben, 1 mit nicht erfasstem Typ. Übertragung abgebrochen nach Befehl 5" + broken << written;
}

// A step of the list that fails ends the walk as a stop, not as the list's end.
void TestTransferStops::failedStepIsAStop()
{
    QFETCH(bool, tellsCount);
    QFETCH(std::size_t, step);
    QFETCH(QString, summary);
    QFETCH(QString, message);
    const sim::PartProgram before = smallProgram();
    sim::SimHost objects(before, sim::PartProgramState::Active, {});
    FakePort window;
    FakeHost host(objects);
    host.tellsCount = tellsCount;
    host.failingStep = {step, CallStatus::Failed};
    auto run = runTransfer(window, host);
    QVERIFY(run);
    QCOMPARE(run->end, TransferReport::End::ListBroken);
    QCOMPARE(QString::fromStdString(::summary(*run)), summary);
    QCOMPARE(window.events, (Strings{"wait", "message: " + message.toStdString(), "restore"}));
    if (!run->canBeUndone())
        return;
    FakeHost undoHost(objects);
    undoHost.tellsCount = tellsCount;
    FakePort undoWindow;
    QVERIFY(undoTransfer(undoWindow, undoHost, *run));
    QCOMPARE(undoWindow.events, (Strings{"wait", "restore"}));
    QCOMPARE(firstChanged(objects.program(), before), std::size_t(0));
}

void TestTransferStops::stopBeforeTheFirstCommand_data()
{
    QTest::addColumn<bool>("tellsCount");
    QTest::addColumn<long>("callsAnswered");
    QTest::newRow("at the command collection") << true << 2L;
    QTest::newRow("at the enumeration") << true << 3L;
    QTest::newRow("at the first step") << false << 4L;
}

// Between the part program and the first command: nothing was transferred, and that is said.
void TestTransferStops::stopBeforeTheFirstCommand()
{
    QFETCH(bool, tellsCount);
    QFETCH(long, callsAnswered);
    sim::SimHost objects(smallProgram(), sim::PartProgramState::Active, {});
    FakePort window;
    FakeHost host(objects);
    host.tellsCount = tellsCount;
    host.loseAfterCalls = callsAnswered;
    const auto run = runTransfer(window, host);
    QVERIFY(run);
    QCOMPARE(summary(*run), std::string("0 Maße. Übertragung abgebrochen vor dem ersten Befehl: Die Verbindung zu "
                                        "KORVANT wurde unterbrochen."));
    QCOMPARE(window.events,
             (Strings{"wait", messageEvent(transfertexts::ConnectionLostNothingWritten), "restore"}));
}

void TestTransferStops::undoStoppedBeforeItPutAnything_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<int>("changed");
    QTest::addColumn<QString>("line");
    QTest::newRow("lost at the first put") << false << 0 << "teilweise zurückgesetzt: 0 von 13.";
    QTest::newRow("Abbrechen before the first put") << true << 0 << "teilweise zurückgesetzt: 0 von 13.";
    QTest::newRow("two changed since, lost at the first put")
        << false << 2 << "teilweise zurückgesetzt: 0 von 13.";
}

// An undo that put nothing back says so in its report, with "0 von".
void TestTransferStops::undoStoppedBeforeItPutAnything()
{
    QFETCH(bool, cancel);
    QFETCH(int, changed);
    QFETCH(QString, line);
    Run run;
    for (int i = 0; i < changed; ++i)
        change(run.objects, writtenPositions()[std::size_t(i)], 15, 0.5);
    FakeHost host(run.objects);
    FakePort window;
    constexpr long FirstPassCalls = 3 + 1 + 168;
    if (cancel)
        host.onCall = [&window](long call) { // pressed during the first pass's last read
            if (call == FirstPassCalls)
                window.cancelAtCheck = window.stopChecks + 1;
        };
    else
        host.loseAfterCalls = FirstPassCalls;
    const auto undo = undoTransfer(window, host, *run.report);
    QVERIFY(undo);
    QCOMPARE(count(host.calls(), "put"), std::size_t(cancel ? 0 : 1));
    const std::string told = summary(*undo);
    QVERIFY2(told.find(" Die Übertragung wurde " + line.toStdString()) != std::string::npos, told.c_str());
    const std::string message = cancel ? "Das Zurücksetzen wurde abgebrochen bei Befehl " +
                                             std::to_string(writtenPositions()[std::size_t(changed)]) +
                                             " von 26. Es wurde nichts zurückgesetzt."
                                       : transfertexts::UndoConnectionLost;
    QCOMPARE(window.events.at(1), "message: " + message);
    QVERIFY(run.report->canBeUndone());
}

// Every dimension the run wrote into was changed since: the undo says it put
// nothing back, not that it undid the run "bis auf" them.
void TestTransferStops::undoOfDimensionsAllChangedSincePutsNothingBack()
{
    Run run;
    for (const std::size_t position : writtenPositions())
        change(run.objects, position, 14, -0.5);
    FakeHost host(run.objects);
    FakePort window;
    const auto undo = undoTransfer(window, host, *run.report);
    QVERIFY(undo);
    QCOMPARE(count(host.calls(), "put"), std::size_t(0));
    const std::string nothing = " Es wurde nichts zurückgesetzt: 13 Maße wurden seit der Übertragung geändert.";
    QCOMPARE(summary(*undo), "13 Maße: 13 seit der Übertragung geändert." + nothing);
    const std::string told = summary(*run.report);
    QVERIFY2(told.size() > nothing.size() && told.compare(told.size() - nothing.size(), nothing.size(), nothing) == 0,
             told.c_str());
    QVERIFY(!run.report->canBeUndone());
}

void TestTransferStops::undoReadsNoFurtherThanItsRun_data()
{
    QTest::addColumn<bool>("tellsCount");
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("refused");
    for (const bool tellsCount : {true, false}) {
        const char* mode = tellsCount ? "count" : "no count";
        QTest::addRow("%s, unchanged", mode) << tellsCount << "" << false;
        QTest::addRow("%s, a command removed before the stop", mode) << tellsCount << "removed" << true;
        QTest::addRow("%s, a command added before the stop", mode) << tellsCount << "added" << true;
    }
    // Only a count told in advance shows a command added beyond what the run read.
    QTest::newRow("count, a command added at the end") << true << "appended" << true;
    QTest::newRow("no count, a command added at the end") << false << "appended" << false;
}

// A run stopped after command 4 of 26: its undo compares commands 1 to 4 and
// reads none after them.
void TestTransferStops::undoReadsNoFurtherThanItsRun()
{
    QFETCH(bool, tellsCount);
    QFETCH(QString, change);
    QFETCH(bool, refused);
    sim::SimHost objects(transfercases::partProgram(), sim::PartProgramState::Active, {});
    FakePort window;
    window.cancelAtReport = 5; // after command 4
    std::optional<TransferReport> run;
    {
        FakeHost host(objects);
        host.tellsCount = tellsCount;
        run = runTransfer(window, host);
    }
    QVERIFY(run && run->canBeUndone());
    sim::PartProgram changed = objects.program();
    if (change == "removed")
        changed.commands.erase(changed.commands.begin() + 2);
    else if (change == "added")
        changed.commands.insert(changed.commands.begin() + 2, changed.commands[20]);
    else if (change == "appended")
        changed.commands.push_back(changed.commands[20]);
    sim::SimHost undone(changed, sim::PartProgramState::Active, {});
    FakeHost host(undone);
    host.tellsCount = tellsCount;
    FakePort undoWindow;
    const auto undo = undoTransfer(undoWindow, host, *run);
    QCOMPARE(!undo, refused);
    for (std::size_t command = 5; command <= changed.commands.size(); ++command)
        QVERIFY2(host.callsOn(command).empty(), qPrintable(QString::number(command)));
    // A change at command 3 ends the comparison there.
    QCOMPARE(count(host.calls(), "next"), std::size_t(tellsCount ? 0 : change.isEmpty() || !refused ? 4 : 3));
    if (refused) {
        QCOMPARE(undoWindow.events, (Strings{"wait", messageEvent(transfertexts::ProgramChanged), "restore"}));
        return;
    }
    QCOMPARE(summary(*undo), std::string("3 Maße: 3 zurückgesetzt. Die Übertragung wurde zurückgesetzt."));
    for (std::size_t i = 0; i < 4; ++i)
        QCOMPARE(undone.program().commands[i].plus, transfercases::cases()[i].before.plus);
}

QTEST_APPLESS_MAIN(TestTransferStops)
#include "TestTransferStops.moc"
