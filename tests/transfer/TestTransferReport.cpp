// The report of a transfer and its preview against the stand-in's objects
// in-process: one row per command, what became of each put, how a stopped or
// cancelled walk is told, and the CSV record.
#include "tests/transfer/ReportTestSupport.h"
#include "transfer/core/ReportCsv.h"
#include "transfer/core/TransferTexts.h"

#include <QTest>

#include <clocale>

using namespace reporttest;

Q_DECLARE_METATYPE(TableRelease)

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

// The "Prüfsumme" of the cases' table, from its 71 values in the file's order
// (sha256sum of "3\n6\n8\n…\n0.8").
const char* const CasesFingerprint = "7E15C823AEDC0585CFCF497900F917D1B2858A6DF0F20940359E94FBFF4C47E7";

// The header block and ranges of the cases' table, with this decimal separator.
std::string csvHeader(const std::string& result, const std::string& release, char separator)
{
    const auto n = [separator](std::string text) {
        std::replace(text.begin(), text.end(), '.', separator);
        return text;
    };
    std::string csv =
        "\xEF\xBB\xBFTabelle;/tabellen/Grenzfälle.tabelle\r\n"
        "Teileprogramm;Grenzfälle Übertragung\r\n"
        "Zeit;2026-12-09T14:30:05+01:00\r\n"
        "OldVal;1\r\n"
        "Ergebnis;" +
        result +
        "\r\n"
        "Prüfsumme;" +
        CasesFingerprint +
        "\r\n"
        "Freigabe;" +
        release +
        "\r\n"
        "Benutzer;m.muster\r\n"
        "Rechner;MESSRAUM-3\r\n"
        "Programm;Dalmerin 1.2.1\r\n"
        // The cases' table as the check sees it, told as the run began.
        "Prüfung;Hinweis;Bereich 4, über: Maße über 8 bis 10 erhalten die Toleranz von Bereich 3, nicht von "
        "Bereich 4.\r\n"
        "Prüfung;Hinweis;Bereich 4, Minus Tol.: 0.05 ist kleiner als in Bereich 3 (0.25).\r\n"
        "Prüfung;Hinweis;Bereich 18, über: Maße über 12 bis 500 erhalten keine Toleranz.\r\n"
        "Bereich;über;bis;Plus;Minus\r\n"
        "1;0;3;" +
        n("0.1;0.1") +
        "\r\n"
        "2;3;6;" +
        n("0.2;0.15") +
        "\r\n"
        "3;6;10;" +
        n("0.3;0.25") +
        "\r\n"
        "4;8;12;" +
        n("0.4;0.05") + "\r\n";
    for (int range = 5; range <= 17; ++range)
        csv += std::to_string(range) + ";;;;\r\n";
    return csv + "18;500;600;" + n("0.9;0.8") + "\r\n\r\n";
}

} // namespace

class TestTransferReport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void oneRowPerDimensionWithItsOutcome_data();
    void oneRowPerDimensionWithItsOutcome();
    void everyPutAndReadShowsInItsRow();
    void stopBetweenTheTwoPuts_data();
    void stopBetweenTheTwoPuts();
    void cancelStopsBetweenCommands_data();
    void cancelStopsBetweenCommands();

    void csvOfAStoppedRun_data();
    void csvOfAStoppedRun();
    void csvKeepsTextsFromOutsideInert();
    void theReleaseDecidesWhetherTheRunWrites_data();
    void theReleaseDecidesWhetherTheRunWrites();
};

// The process runs in a German C locale, as the program does on a German
// Linux desktop: nothing of the report may follow it.
void TestTransferReport::initTestCase()
{
    QVERIFY2(std::setlocale(LC_ALL, "de_DE.UTF-8"),
             "the locale de_DE.UTF-8 is missing (tools/deps.sh makes it)");
}

void TestTransferReport::cleanupTestCase()
{
    std::setlocale(LC_ALL, "C");
}

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
    QCOMPARE(report->ranges[3].minus, std::optional<double>(0.05)); // as read, not negated
    QCOMPARE(report->ranges[1].lower, std::optional<double>(3));     // as typed, without the offset
    QVERIFY(!report->ranges[4].upper);
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
        QVERIFY2(written == (row.plusPut == Put::Done && row.minusPut == Put::Done), what);
        QVERIFY2(row.range.has_value() == written && row.plusNew.has_value() == written, what);
        QVERIFY2(now.plus == (written ? *row.plusNew : was.plus), what);
        QVERIFY2(now.minus == (written ? *row.minusNew : was.minus), what);
    }
    QCOMPARE(report->rows[0].range, std::optional<int>(1));
    QCOMPARE(report->rows[8].range, std::optional<int>(4));
    QCOMPARE(report->rows[10].range, std::optional<int>(18));
    QVERIFY(report->canBeUndone());
    QCOMPARE(summary(*report),
             !keep ? std::string("25 Maße: 15 geschrieben, 5 kein Bereich, 3 mit nicht erfasster Achse, "
                                 "2 mit nicht erfasstem Typ.")
                   : std::string("25 Maße: 13 geschrieben, 3 behalten eigene Toleranzen, 4 kein "
                                 "Bereich, 3 mit nicht erfasster Achse, 2 mit nicht erfasstem Typ."));
}

// Each put is told as it went; a dimension flag that reads as no Boolean, or
// not at all, gives a row that says so and is counted.
void TestTransferReport::everyPutAndReadShowsInItsRow()
{
    sim::FaultPlan faults;
    faults.failingGets.push_back({14, {2}}); // the minus tolerance of command 2
    faults.failingGets.push_back({17, {22}});
    faults.failingPuts.push_back({15, {1}});
    faults.failingPuts.push_back({14, {4}});
    faults.failingPuts.push_back({15, {5}});
    faults.failingPuts.push_back({14, {5}});
    sim::SimHost objects(transfercases::partProgram(), sim::PartProgramState::Active, faults);
    FakeHost host(objects);
    host.oddAnswers.push_back({3, 17, std::int32_t(1)});
    FakePort window;
    const auto report = runTransfer(window, host);
    QVERIFY(report);
    const auto& rows = report->rows;
    QCOMPARE(rows.size(), std::size_t(26));

    QCOMPARE(rows[1].outcome, Outcome::ReadFailed);
    QCOMPARE(rows[1].nominal, std::optional<double>(3.00002)); // what was read is kept
    QCOMPARE(rows[1].plusBefore, std::optional<double>(0));
    QVERIFY(!rows[1].minusBefore && !rows[1].axis && !rows[1].plusNew);
    QCOMPARE(rows[2].outcome, Outcome::ReadFailed);
    QVERIFY(!rows[2].flagRead && !rows[2].typeCode);
    QCOMPARE(host.callsOn(3), Strings{"get 17"});
    QCOMPARE(rows[21].position, std::size_t(22));
    QVERIFY(!rows[21].flagRead);

    const auto shown = [&rows](std::size_t i) {
        return std::string(outcomeText(rows[i].outcome, TransferReport::Kind::Run)) + " | " +
               outcomeDetail(rows[i], TransferReport::Kind::Run);
    };
    QCOMPARE(shown(0),
             "teilweise geschrieben | Plustoleranz von KORVANT abgelehnt, Minustoleranz geschrieben");
    QCOMPARE(shown(3),
             "teilweise geschrieben | Plustoleranz geschrieben, Minustoleranz von KORVANT abgelehnt");
    QCOMPARE(shown(4), "Schreiben fehlgeschlagen | Plustoleranz von KORVANT abgelehnt, Minustoleranz von "
                       "KORVANT abgelehnt");
    QCOMPARE(shown(5), "geschrieben | ");
    QCOMPARE(summary(*report),
             "26 Maße: 9 geschrieben, 2 teilweise geschrieben, 1 Schreiben fehlgeschlagen, 3 "
             "behalten eigene Toleranzen, 3 kein Bereich, 3 mit nicht erfasster Achse, 2 mit nicht "
             "erfasstem Typ, 3 Lesen fehlgeschlagen.");
    QVERIFY(wasWritten(rows[0]) && !wasWritten(rows[4]));
}

void TestTransferReport::stopBetweenTheTwoPuts_data()
{
    QTest::addColumn<korvant::CallStatus>("lostAs");
    QTest::addColumn<Put>("minusPut");
    QTest::addColumn<QString>("detail");
    QTest::newRow("lost") << korvant::CallStatus::ConnectionLost << Put::Unanswered
                          << "Minustoleranz ohne Antwort von KORVANT";
    QTest::newRow("busy") << korvant::CallStatus::Busy << Put::Failed
                          << "Minustoleranz von KORVANT abgelehnt";
}

// The plus put of command 1 is answered, the minus put finds the host gone
// or busy: the row and the summary say exactly that.
void TestTransferReport::stopBetweenTheTwoPuts()
{
    QFETCH(korvant::CallStatus, lostAs);
    QFETCH(Put, minusPut);
    QFETCH(QString, detail);
    sim::SimHost objects(transfercases::partProgram(), sim::PartProgramState::Active, {});
    FakeHost host(objects);
    host.loseAfterCalls = 4 + 7 + 1; // the way to the commands, command 1's reads and its plus put
    host.lostAs = lostAs;
    FakePort window;
    const auto report = runTransfer(window, host);

    QVERIFY(report);
    const bool busy = lostAs == korvant::CallStatus::Busy;
    QCOMPARE(window.events.at(1), messageEvent(busy ? transfertexts::Busy : transfertexts::ConnectionLost));
    QCOMPARE(report->rows.size(), std::size_t(1));
    const ReportRow& row = report->rows[0];
    QCOMPARE(row.outcome, Outcome::PartlyWritten);
    QCOMPARE(row.plusPut, Put::Done);
    QCOMPARE(row.minusPut, minusPut);
    QCOMPARE(QString::fromStdString(outcomeDetail(row, report->kind)), "Plustoleranz geschrieben, " + detail);
    QCOMPARE(report->stoppedAt, std::size_t(1));
    QCOMPARE(summary(*report),
             std::string("1 Maß: 1 teilweise geschrieben. Übertragung abgebrochen bei Befehl 1 von 26: ") +
                 (busy ? "KORVANT ist beschäftigt und nimmt keine Aufrufe an."
                       : "Die Verbindung zu KORVANT wurde unterbrochen."));
    QCOMPARE(objects.program().commands[0].plus, 0.1);
    QCOMPARE(objects.program().commands[0].minus, 0.0);
    QVERIFY(report->canBeUndone());
}

void TestTransferReport::cancelStopsBetweenCommands_data()
{
    QTest::addColumn<bool>("preview");
    QTest::addColumn<std::size_t>("cancelAtReport");
    QTest::newRow("run") << false << std::size_t(4);
    QTest::newRow("preview") << true << std::size_t(4);
    QTest::newRow("run, after the last command: too late") << false << std::size_t(27);
}

// "Abbrechen" is seen after a command: the walk stops there, never inside it.
void TestTransferReport::cancelStopsBetweenCommands()
{
    QFETCH(bool, preview);
    QFETCH(std::size_t, cancelAtReport);
    sim::SimHost objects(transfercases::partProgram(), sim::PartProgramState::Active, {});
    FakeHost host(objects);
    FakePort window;
    window.cancelAtReport = cancelAtReport; // the report before command 1, then after each
    const auto report = runTransfer(window, host, preview ? TransferMode::Preview : TransferMode::Write);
    QVERIFY(report);
    if (cancelAtReport == 27) {
        QCOMPARE(report->end, TransferReport::End::Complete);
        QCOMPARE(window.events, (Strings{"wait", "restore"}));
        return;
    }
    QCOMPARE(report->end, TransferReport::End::Cancelled);
    QCOMPARE(report->rows.size(), std::size_t(3));
    QVERIFY(host.callsOn(4).empty());
    QCOMPARE(reporttest::count(host.calls(), "put"), std::size_t(preview ? 0 : 4));
    const std::string written = preview ? "wird geschrieben" : "geschrieben";
    const std::string what = preview ? "Vorschau" : "Übertragung";
    QCOMPARE(summary(*report), "3 Maße: 2 " + written + ", 1 kein Bereich. " + what +
                                   " abgebrochen nach Befehl 3 von 26 mit „Abbrechen“.");
    QCOMPARE(
        window.events.at(1),
        preview ? messageEvent("Die Vorschau wurde abgebrochen nach Befehl 3 von 26.")
                : messageEvent("Die Übertragung wurde abgebrochen nach Befehl 3 von 26. Die Toleranzen wurden "
                               "nicht vollständig übertragen."));
    QCOMPARE(host.liveReferences(), std::size_t(0));
}

void TestTransferReport::csvOfAStoppedRun_data()
{
    QTest::addColumn<char>("separator");
    QTest::addColumn<bool>("released");
    QTest::newRow("German") << ',' << false;
    QTest::newRow("English") << '.' << false;
    QTest::newRow("German, released") << ',' << true;
    QTest::newRow("English, released") << '.' << true;
}

// A run that lost the host between the two puts of command 2, byte for byte:
// who ran it where, the table's sum and release, each row's limits after the
// run. Command 2's minus put got no answer: its lower limit is unknown.
void TestTransferReport::csvOfAStoppedRun()
{
    QFETCH(char, separator);
    QFETCH(bool, released);
    sim::SimHost objects(transfercases::partProgram(), sim::PartProgramState::Active, {});
    FakeHost host(objects);
    host.loseAfterCalls = 4 + 9 + 7 + 1;
    FakePort window;
    if (released)
        window.release = {TableRelease::State::Read,
                          {CasesFingerprint, "3", "ISO 2768-1:1989 m", "M. Muster", "2026-12-01T09:15:00+01:00", ""},
                          {}};
    auto report = runTransfer(window, host);
    QVERIFY(report);
    report->time = "2026-12-09T14:30:05+01:00";
    report->oldVal = "1"; // as the window stamps it where no dimension had cause to read it
    report->user = "m.muster";
    report->computer = "MESSRAUM-3";
    report->program = "Dalmerin 1.2.1";
    const std::string result = "2 Maße: 1 geschrieben, 1 teilweise geschrieben. Übertragung abgebrochen bei "
                               "Befehl 2 von 26: Die Verbindung zu KORVANT wurde unterbrochen.";
    std::string rows =
        "Nr.;Typ;Achse;Nennmaß;Plus vorher;Minus vorher;Bereich;Plus neu;Minus neu;Ergebnis;Höchstmaß;"
        "Mindestmaß\r\n"
        "1;1101;X;3;0;0;1;0.1;-0.1;geschrieben;3.1;2.9\r\n"
        "2;1101;Y;3.00002;0;0;2;0.2;-0.15;teilweise geschrieben (Plustoleranz geschrieben, "
        "Minustoleranz ohne Antwort von KORVANT);3.20002;\r\n";
    std::replace(rows.begin(), rows.end(), '.', separator);
    rows.replace(0, 3, "Nr."); // the column title keeps its point
    const std::string release =
        released ? "Stand 3;M. Muster;2026-12-01T09:15:00+01:00" : "nicht freigegeben";
    QCOMPARE(reportCsv(*report, separator), csvHeader(result, release, separator) + rows);
}

// Texts from KORVANT and the file system that a spreadsheet would run as a
// formula keep a leading apostrophe; the report's own texts and numbers do not.
void TestTransferReport::csvKeepsTextsFromOutsideInert()
{
    TransferReport report;
    report.tablePath = "-tabelle";
    report.partProgram = "=HYPERLINK(\"x\")";
    report.time = "2026-12-09 14:30:05";
    report.oldVal = "0";
    ReportRow row;
    row.position = 1;
    row.typeCode = 1101;
    row.outcome = Outcome::ReadFailed;
    for (const char* axis : {"\tX", "\rY", "@Z", "+A", "a;\"b\""}) {
        row.axis = axis;
        report.rows.push_back(row);
    }
    row.axis = "X";
    row.nominal = -3.5;
    report.rows.push_back(row);
    const std::string csv = reportCsv(report, ',');
    QVERIFY(csv.find("Tabelle;'-tabelle\r\n") != std::string::npos);
    QVERIFY(csv.find("Teileprogramm;\"'=HYPERLINK(\"\"x\"\")\"\r\n") != std::string::npos);
    QVERIFY(csv.find("\r\n1;1101;'\tX;") != std::string::npos);
    QVERIFY(csv.find("\r\n1;1101;\"'\rY\";") != std::string::npos);
    QVERIFY(csv.find("\r\n1;1101;'@Z;") != std::string::npos);
    QVERIFY(csv.find("\r\n1;1101;'+A;") != std::string::npos);
    QVERIFY(csv.find("\r\n1;1101;\"a;\"\"b\"\"\";") != std::string::npos);
    QVERIFY(csv.find("\r\n1;1101;X;-3,5;") != std::string::npos);
}

void TestTransferReport::theReleaseDecidesWhetherTheRunWrites_data()
{
    QTest::addColumn<TableRelease>("release");
    QTest::addColumn<QString>("refusal");
    const ReleaseRecord record{CasesFingerprint, "3", "", "M. Muster", "2026-12-01T09:15:00+01:00", ""};
    ReleaseRecord older = record;
    older.fingerprint.replace(0, 4, "0000");
    older.version = "2";
    QTest::newRow("not released: transfers as ever") << TableRelease{} << "";
    QTest::newRow("released as it stands") << TableRelease{TableRelease::State::Read, record, {}} << "";
    QTest::newRow("changed since its release")
        << TableRelease{TableRelease::State::Read, older, {}}
        << "Die Tabelle wurde nach ihrer Freigabe (Stand 2 vom 01.12.2026) geändert.";
    QTest::newRow("a record that cannot be read")
        << TableRelease{TableRelease::State::Unreadable, {}, "Die Zeile „Stand“ fehlt."}
        << "Die Freigabe der Tabelle kann nicht gelesen werden: Die Zeile „Stand“ fehlt.";
}

// A record that does not match the table, or cannot be read, is a Fehler: the
// run refuses the table before it looks for KORVANT. The report carries the
// release only where it matched.
void TestTransferReport::theReleaseDecidesWhetherTheRunWrites()
{
    QFETCH(TableRelease, release);
    QFETCH(QString, refusal);
    sim::SimHost objects(transfercases::partProgram(), sim::PartProgramState::Active, {});
    FakeHost host(objects);
    FakePort window;
    window.release = release;
    const auto report = runTransfer(window, host);
    if (!refusal.isEmpty()) {
        QVERIFY(!report);
        QCOMPARE(window.events, (Strings{"wait", "message: " + std::string(transfertexts::TableHasErrors) + "\n" +
                                                     refusal.toStdString(),
                                         "restore"}));
        QVERIFY(host.calls().empty());
        return;
    }
    QVERIFY(report);
    QCOMPARE(report->fingerprint, std::string(CasesFingerprint));
    QCOMPARE(report->release.has_value(), release.state == TableRelease::State::Read);
    QCOMPARE(releaseText(*report), std::string(report->release ? "Stand 3, M. Muster, 01.12.2026"
                                                               : "nicht freigegeben"));
}

QTEST_APPLESS_MAIN(TestTransferReport)
#include "TestTransferReport.moc"
