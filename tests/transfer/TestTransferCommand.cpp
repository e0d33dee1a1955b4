// The transfer command against the stand-in's objects in-process: no window, no bus.
#include "tests/transfer/FakeHost.h"
#include "tests/transfer/FakePort.h"
#include "table/core/NumberReading.h"
#include "transfer/core/RangeSet.h"
#include "table/core/TableCells.h"
#include "tests/transfer/TransferCases.h"
#include "transfer/core/TransferCommand.h"
#include "transfer/core/TransferPort.h"
#include "transfer/core/TransferTexts.h"

#include <QTest>

namespace {

const Strings ReadAndWrite = {"get 17", "get 8",  "get 6",  "get 10", "get 15",
                              "get 14", "get 29", "put 15", "put 14"};

} // namespace

class TestTransferCommand : public QObject
{
    Q_OBJECT

private slots:
    void readsCaptionNumbers_data();
    void readsCaptionNumbers();
    void localeReadingComesFirst();
    void rangeLookUp();

    void transfersEveryCase_data();
    void transfersEveryCase();
    void callsInTheOrderOfTheWalk();
    void readsOldValOnlyForDimensionsWithTolerance();
    void secondRunKeepsWhatTheFirstWrote();
    void reportsProgressPerCommand();

    void refusals_data();
    void refusals();
    void editModeIsTestedFirst();
    void previewShowsWhatATableWithAFehlerWouldWrite();

    void failingReadSkipsExactlyThatCommand_data();
    void failingReadSkipsExactlyThatCommand();
    void failingPutsEachOnTheirOwn();
    void missingCollectionWritesNothingAndSaysSo();
    void lostConnectionEndsTheRun_data();
    void lostConnectionEndsTheRun();
};

void TestTransferCommand::readsCaptionNumbers_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("isNumber");
    QTest::addColumn<double>("number");
    QTest::newRow("decimal point") << "0.05" << true << 0.05;
    QTest::newRow("decimal comma") << "0,05" << true << 0.05;
    QTest::newRow("surrounding blanks") << "  1.5\t" << true << 1.5;
    QTest::newRow("sign and exponent") << "-2.5e1" << true << -25.0;
    QTest::newRow("plus sign") << "+3" << true << 3.0;
    QTest::newRow("no digits after the point") << "4." << true << 4.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("single blank") << " " << false << 0.0;
    QTest::newRow("text") << "abc" << false << 0.0;
    QTest::newRow("trailing text") << "0.5mm" << false << 0.0;
    QTest::newRow("blank inside") << "1 000" << false << 0.0;
    QTest::newRow("point and comma") << "1.000,5" << false << 0.0;
    QTest::newRow("two commas") << "1,2,3" << false << 0.0;
    QTest::newRow("infinity") << "inf" << false << 0.0;
    QTest::newRow("not a number") << "nan" << false << 0.0;
    QTest::newRow("hexadecimal") << "0x10" << false << 0.0;
    QTest::newRow("too large") << "1e999" << false << 0.0;
    QTest::newRow("lone point") << "." << false << 0.0;
}

void TestTransferCommand::readsCaptionNumbers()
{
    QFETCH(QString, caption);
    QFETCH(bool, isNumber);
    QFETCH(double, number);
    const FakePort window;
    const auto value = readCaptionNumber(caption.toStdString(), window.localeReading);
    QCOMPARE(value.has_value(), isNumber);
    if (isNumber)
        QCOMPARE(*value, number);
}

void TestTransferCommand::localeReadingComesFirst()
{
    FakePort window;
    window.localeReading = [](const std::string& text) -> std::optional<double> {
        if (text == "1.000")
            return 1000.0; // a locale with "." as group separator and no rejection
        return std::nullopt;
    };
    QCOMPARE(readCaptionNumber(" 1.000 ", window.localeReading), std::optional<double>(1000.0));
    QCOMPARE(readCaptionNumber("0,25", window.localeReading), std::optional<double>(0.25));
}

void TestTransferCommand::rangeLookUp()
{
    const FakePort window;
    Strings captions(cells::LabelCount, "");
    captions[0] = "0";
    auto set = [&captions](cells::Column column, int range, const char* text) {
        captions[cells::labelIndex({column, range})] = text;
    };
    set(cells::Column::Upper, 1, "3"); // row 1: bounds only, tolerances blank
    set(cells::Column::Lower, 2, "3");
    set(cells::Column::Upper, 2, "6");
    set(cells::Column::Plus, 2, "abc"); // no number: written as 0
    set(cells::Column::Minus, 2, "-0.02");
    const RangeSet ranges = RangeSet::fromCaptions(captions, window.localeReading);

    QCOMPARE(ranges.row(2).lower.value(), 3.00001);
    QVERIFY(!ranges.row(5).lower && !ranges.row(5).upper);

    const auto row1 = ranges.lookUp(0);
    QVERIFY(row1);
    QCOMPARE(row1->tolerances.plus, 0.0);
    QVERIFY(!std::signbit(row1->tolerances.minus)); // an unset minus tolerance is written as 0, not -0

    const auto row2 = ranges.lookUp(4);
    QVERIFY(row2);
    QCOMPARE(row2->tolerances.plus, 0.0);
    QCOMPARE(row2->tolerances.minus, 0.02); // the table's -0.02 with its sign changed

    QVERIFY(!ranges.lookUp(6.5)); // blank rows take nothing
    QVERIFY(!ranges.lookUp(3.000005));

    // A table left blank entirely takes not even a nominal of 0.
    Strings blank(cells::LabelCount, " ");
    blank[0] = "0";
    QVERIFY(!RangeSet::fromCaptions(blank, window.localeReading).lookUp(0));
}

void TestTransferCommand::transfersEveryCase_data()
{
    QTest::addColumn<bool>("keep");
    QTest::newRow("OldVal 1") << true;
    QTest::newRow("OldVal 0") << false;
}

void TestTransferCommand::transfersEveryCase()
{
    QFETCH(bool, keep);
    sim::SimHost objects(transfercases::partProgram(), sim::PartProgramState::Active, {});
    FakeHost host(objects);
    FakePort window;
    window.keepTolerances = keep;

    runTransfer(window, host);

    QCOMPARE(window.events, (Strings{"wait", "restore"}));
    QCOMPARE(host.liveReferences(), std::size_t(0));
    QCOMPARE(host.endedRuns(), 1);
    const auto& cases = transfercases::cases();
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const auto& expected = keep ? cases[i].afterKeeping : cases[i].afterOverwriting;
        const sim::Command& after = objects.program().commands[i];
        if (after.plus != expected.plus || after.minus != expected.minus)
            QFAIL(qPrintable(QStringLiteral("%1: plus %2 minus %3, expected %4 and %5")
                                 .arg(cases[i].what)
                                 .arg(after.plus)
                                 .arg(after.minus)
                                 .arg(expected.plus)
                                 .arg(expected.minus)));
    }
}

void TestTransferCommand::callsInTheOrderOfTheWalk()
{
    sim::SimHost objects(transfercases::partProgram(), sim::PartProgramState::Active, {});
    FakeHost host(objects);
    FakePort window;
    runTransfer(window, host);

    const Strings attach(host.calls().begin(), host.calls().begin() + 6);
    QCOMPARE(attach, (Strings{"find", "create", "get 2", "get 0", "get 11", "enumerate"}));
    QCOMPARE(host.callsOn(1), ReadAndWrite);                                          // takes a row
    QCOMPARE(host.callsOn(3), Strings(ReadAndWrite.begin(), ReadAndWrite.end() - 2)); // no row
    QCOMPARE(host.callsOn(20), (Strings{"get 17", "get 8", "get 6"})); // type 1000: values not read
    QCOMPARE(host.callsOn(22), (Strings{"get 17"}));                   // no dimension
}

void TestTransferCommand::readsOldValOnlyForDimensionsWithTolerance()
{
    sim::SimHost objects(transfercases::partProgram(), sim::PartProgramState::Active, {});
    FakeHost host(objects);
    FakePort window;
    runTransfer(window, host);
    QCOMPARE(window.oldValReads, 3); // the three cases with a tolerance
}

void TestTransferCommand::secondRunKeepsWhatTheFirstWrote()
{
    sim::SimHost objects(transfercases::partProgram(), sim::PartProgramState::Active, {});
    FakeHost host(objects);
    FakePort window;
    runTransfer(window, host);

    // A second table with other tolerances and row 18 reaching to 1000.
    for (std::string& caption : window.captions)
        if (caption == "0.1" || caption == "0.2" || caption == "0.9")
            caption = "0.7";
    window.captions[cells::labelIndex({cells::Column::Upper, 18})] = "1000";
    runTransfer(window, host);

    const auto& cases = transfercases::cases();
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const sim::Command& after = objects.program().commands[i];
        const bool gotRow18Now = i == 13; // nominal 700, untouched by the first run
        if (gotRow18Now) {
            QCOMPARE(after.plus, 0.7);
            QCOMPARE(after.minus, -0.8);
        } else {
            QCOMPARE(after.plus, cases[i].afterKeeping.plus);
            QCOMPARE(after.minus, cases[i].afterKeeping.minus);
        }
    }
    QCOMPARE(host.liveReferences(), std::size_t(0));
}

void TestTransferCommand::reportsProgressPerCommand()
{
    sim::SimHost objects(transfercases::partProgram(), sim::PartProgramState::Active, {});
    FakeHost host(objects);
    FakePort window;
    runTransfer(window, host);
    const std::size_t count = transfercases::cases().size();
    QCOMPARE(window.progress.size(), count + 1);
    QCOMPARE(window.progress.front(), std::make_pair(std::size_t(0), std::optional<std::size_t>(count)));
    QCOMPARE(window.progress.back(), std::make_pair(count, std::optional<std::size_t>(count)));
}

void TestTransferCommand::refusals_data()
{
    QTest::addColumn<QString>("situation");
    QTest::addColumn<QString>("message");
    QTest::newRow("no table") << "no table" << transfertexts::ChooseTable;
    QTest::newRow("no host") << "no host" << transfertexts::StartKorvant;
    QTest::newRow("no application object") << "no application" << transfertexts::ConnectionFailed;
    QTest::newRow("no part program") << "no part program" << transfertexts::NoPartProgram;
    QTest::newRow("part program reads Nothing") << "Nothing" << transfertexts::NoPartProgram;
    QTest::newRow("active part program unreadable") << "get 2 fails" << transfertexts::NoPartProgram;
    QTest::newRow("default value unreadable") << "get 0 fails" << transfertexts::NoPartProgram;
    QTest::newRow("a table with a Fehler")
        << "signed minus"
        << (std::string(transfertexts::TableHasErrors) +
            "\nBereich 2, Minus Tol.: Minustoleranzen werden ohne Vorzeichen eingegeben.")
               .c_str();
}

void TestTransferCommand::refusals()
{
    QFETCH(QString, situation);
    QFETCH(QString, message);
    sim::PartProgramState state = sim::PartProgramState::Active;
    if (situation == "no part program")
        state = sim::PartProgramState::None;
    if (situation == "Nothing")
        state = sim::PartProgramState::ReadsNothing;
    sim::FaultPlan faults;
    if (situation.startsWith("get "))
        faults.failingGets.push_back({situation.mid(4, 1).toInt(), {}});
    sim::SimHost objects(transfercases::partProgram(), state, faults);
    FakeHost host(objects);
    host.running = situation != "no host";
    host.offersApplication = situation != "no application";
    FakePort window;
    if (situation == "no table")
        window.path.reset();
    if (situation == "signed minus")
        window.captions[cells::labelIndex({cells::Column::Minus, 2})] = "-0.2";

    runTransfer(window, host);
    if (situation == "signed minus" || situation == "no table")
        QVERIFY(host.calls().empty()); // KORVANT is not even looked for

    // The wait pointer stays while the message is shown and is restored after it.
    QCOMPARE(window.events, (Strings{"wait", "message: " + message.toStdString(), "restore"}));
    QCOMPARE(host.liveReferences(), std::size_t(0));
    for (const sim::Command& command : objects.program().commands)
        QVERIFY(command.plus == 0 || command.plus == 0.1 || command.plus == 0.3); // nothing written
    QVERIFY(window.progress.empty());
}

// The preview reads and shows; the table's findings come with its report.
void TestTransferCommand::previewShowsWhatATableWithAFehlerWouldWrite()
{
    sim::SimHost objects(transfercases::partProgram(), sim::PartProgramState::Active, {});
    FakeHost host(objects);
    FakePort window;
    window.captions[cells::labelIndex({cells::Column::Minus, 2})] = "-0.2";
    const auto preview = runTransfer(window, host, TransferMode::Preview);
    QVERIFY(preview);
    QCOMPARE(window.events, (Strings{"wait", "restore"}));
    QVERIFY(tablecheck::hasError(preview->findings));
    QCOMPARE(preview->rows[1].minusNew, std::optional<double>(0.2));
    QVERIFY(std::none_of(host.calls().begin(), host.calls().end(),
                         [](const std::string& call) { return call.rfind("put", 0) == 0; }));
}

void TestTransferCommand::editModeIsTestedFirst()
{
    sim::SimHost objects(transfercases::partProgram(), sim::PartProgramState::Active, {});
    FakeHost host(objects);
    host.running = false;
    FakePort window;
    window.editMode = true;
    window.path.reset();
    runTransfer(window, host);
    QCOMPARE(window.events, (Strings{messageEvent(cells::SaveFirst), "restore"}));
    QVERIFY(host.calls().empty()); // KORVANT is not even looked for
}

void TestTransferCommand::failingReadSkipsExactlyThatCommand_data()
{
    QTest::addColumn<int>("dispid");
    QTest::newRow("dimension flag") << 17;
    QTest::newRow("dimension view") << 8;
    QTest::newRow("type code") << 6;
    QTest::newRow("nominal") << 10;
    QTest::newRow("plus tolerance") << 15;
    QTest::newRow("minus tolerance") << 14;
    QTest::newRow("axis") << 29;
}

void TestTransferCommand::failingReadSkipsExactlyThatCommand()
{
    QFETCH(int, dispid);
    sim::FaultPlan faults;
    faults.failingGets.push_back({dispid, {2}});
    sim::SimHost objects(transfercases::partProgram(), sim::PartProgramState::Active, faults);
    FakeHost host(objects);
    FakePort window;
    runTransfer(window, host);

    QCOMPARE(window.events, (Strings{"wait", "restore"}));
    const auto& cases = transfercases::cases();
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const sim::Command& after = objects.program().commands[i];
        const auto expected = i == 1 ? transfercases::Tolerances{0, 0} : cases[i].afterKeeping;
        QCOMPARE(after.plus, expected.plus);
        QCOMPARE(after.minus, expected.minus);
    }
    // Reading stops at the failing read; nothing is put.
    const Strings onFailing = host.callsOn(2);
    QCOMPARE(onFailing.back(), "get " + std::to_string(dispid));
    QCOMPARE(host.liveReferences(), std::size_t(0));
}

void TestTransferCommand::failingPutsEachOnTheirOwn()
{
    sim::FaultPlan faults;
    faults.failingPuts.push_back({15, {1}});
    faults.failingPuts.push_back({14, {2}});
    sim::SimHost objects(transfercases::partProgram(), sim::PartProgramState::Active, faults);
    FakeHost host(objects);
    FakePort window;
    runTransfer(window, host);

    QCOMPARE(window.events, (Strings{"wait", "restore"}));
    const auto& commands = objects.program().commands;
    QCOMPARE(commands[0].plus, 0.0);   // failed
    QCOMPARE(commands[0].minus, -0.1); // tried all the same
    QCOMPARE(commands[1].plus, 0.2);
    QCOMPARE(commands[1].minus, 0.0); // failed
    QCOMPARE(commands[3].plus, 0.1);  // the walk went on
}

void TestTransferCommand::missingCollectionWritesNothingAndSaysSo()
{
    for (int dispid : {11, -4}) {
        sim::FaultPlan faults;
        faults.failingGets.push_back({dispid, {}});
        sim::SimHost objects(transfercases::partProgram(), sim::PartProgramState::Active, faults);
        FakeHost host(objects);
        FakePort window;
        runTransfer(window, host);
        QCOMPARE(window.events,
                 (Strings{"wait", std::string("message: ") + transfertexts::CommandsUnreadable, "restore"}));
        QCOMPARE(objects.program().commands[0].plus, 0.0);
        QCOMPARE(host.liveReferences(), std::size_t(0));
    }
}

void TestTransferCommand::lostConnectionEndsTheRun_data()
{
    QTest::addColumn<long>("callsAnswered");
    QTest::addColumn<QString>("message");
    const QString nothing = QString::fromUtf8(transfertexts::ConnectionLostNothingWritten);
    const QString partly = QString::fromUtf8(transfertexts::ConnectionLost);
    QTest::newRow("at the active part program") << 0L << nothing;
    QTest::newRow("at the enumeration") << 3L << nothing;
    QTest::newRow("amid the reads of a command") << 8L << nothing;
    QTest::newRow("at the first put") << 11L << partly; // it may have been carried out
    QTest::newRow("at the second put") << 12L << partly;
}

void TestTransferCommand::lostConnectionEndsTheRun()
{
    QFETCH(long, callsAnswered);
    QFETCH(QString, message);
    sim::SimHost objects(transfercases::partProgram(), sim::PartProgramState::Active, {});
    FakeHost host(objects);
    host.loseAfterCalls = callsAnswered;
    FakePort window;
    runTransfer(window, host);

    QCOMPARE(window.events, (Strings{"wait", "message: " + message.toStdString(), "restore"}));
    QCOMPARE(host.liveReferences(), std::size_t(0));
    QCOMPARE(host.endedRuns(), 1);
    // Nothing is called after the call that found the connection gone.
    QCOMPARE(host.calls().size(), static_cast<std::size_t>(callsAnswered) + 3);
}

QTEST_APPLESS_MAIN(TestTransferCommand)
#include "TestTransferCommand.moc"
