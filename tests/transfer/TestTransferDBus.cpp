// "Ausführen" end to end: the real window glue and D-Bus adapter against the
// real korvant-sim on a private session bus (run under dbus-run-session).
#include "tests/support/MessageRecorder.h"
#include "tests/support/GuiTestSupport.h"
#include "base/MessageBox.h"
#include "korvant-sim/PartProgram.h"
#include "base/Settings.h"
#include "tests/support/StandInClient.h"
#include "files/core/TableFile.h"
#include "table/gui/CheckedTable.h"
#include "table/gui/ToleranceTable.h"
#include "tests/transfer/TransferCases.h"
#include "transfer/host/dbus/DBusHost.h"
#include "transfer/core/TransferTexts.h"
#include "transfer/gui/TransferProgress.h"
#include "transfer/gui/ReportWindow.h"
#include "transfer/gui/TransferController.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

QString text(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

// The stand-in with a part program and options.
class SimProcess : public standin::Process
{
public:
    SimProcess(const QString& partProgramFile, const QStringList& options)
        : standin::Process(QStringLiteral(KORVANT_SIM),
                           partProgramFile.isEmpty() ? options : options + QStringList{partProgramFile})
    {
    }
};

// What the stand-in holds for command n (from 1); -999 where it gives nothing.
double readFromSim(std::size_t command, int dispid)
{
    return standin::readNumber(command, dispid).value_or(-999);
}

QStringList toStringList(const std::vector<std::string>& texts)
{
    QStringList list;
    for (const std::string& t : texts)
        list << QString::fromStdString(t);
    return list;
}

// The ISO 2768-1 classes for linear sizes: ranges 0–3, 3–6, 6–30, 30–120,
// 120–400, 400–1000, 1000–2000, 2000–4000; 0 where the class leaves a range undefined.
struct IsoClass
{
    const char* name;
    double tolerance[8];
};
constexpr IsoClass IsoClasses[] = {
    {"f", {0.05, 0.05, 0.1, 0.15, 0.2, 0.3, 0.5, 0}},
    {"m", {0.1, 0.1, 0.2, 0.3, 0.5, 0.8, 1.2, 2}},
    {"c", {0.2, 0.3, 0.5, 0.8, 1.2, 2, 3, 4}},
    {"v", {0, 0.5, 1, 1.5, 2.5, 4, 6, 8}},
};
constexpr double IsoBounds[9] = {0, 3, 6, 30, 120, 400, 1000, 2000, 4000};
constexpr double IsoNominals[] = {0.5, 3, 3.2, 6, 30.5, 120, 400.1, 1000, 2000, 2000.5, 4000, 4000.1};

double isoTolerance(const IsoClass& isoClass, double nominal)
{
    for (int range = 0; range < 8; ++range) {
        const bool inRange = range == 0 ? nominal >= 0 && nominal <= IsoBounds[1]
                                        : nominal > IsoBounds[range] && nominal <= IsoBounds[range + 1];
        if (inRange)
            return isoClass.tolerance[range];
    }
    return 0;
}

} // namespace

class TestTransferDBus : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void transfersEveryCase_data();
    void transfersEveryCase();
    void showsProgressForALongRun();

    void refusals_data();
    void refusals();
    void editModeIsTestedFirst();
    void aTableWithAFehlerReachesNoHost();

    void failedCallsSkipOnlyTheirStep();
    void hostLeavingOrHangingEndsTheRun_data();
    void hostLeavingOrHangingEndsTheRun();
    void stoppedRunAndResumedUndoLeaveThePartProgramAsBefore();

    void transfersIsoTables_data();
    void transfersIsoTables();
    void cleanupTestCase();

private:
    QString writePartProgram(const sim::PartProgram& program);
    void showTable(const QStringList& values);
    // "Ausführen" over a fresh D-Bus host, answering whatever message comes.
    void run(int callTimeoutMs = DBusHost::DefaultTimeoutMs, ProgressTiming timing = {});
    bool pointerRestored() const { return m_window->cursor().shape() == Qt::ArrowCursor; }

    std::unique_ptr<QTemporaryDir> m_settings;
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<QWidget> m_window;
    CheckedTable* m_table = nullptr;
    std::unique_ptr<QTemporaryDir> m_isoFolder;
    std::unique_ptr<SimProcess> m_isoSim; // one stand-in for every ISO table
};

void TestTransferDBus::init()
{
    m_settings = std::make_unique<QTemporaryDir>();
    m_folder = std::make_unique<QTemporaryDir>();
    guitest::startClean(*m_settings);
    messages::clearRecord();
    m_window = std::make_unique<QWidget>();
    m_table = new CheckedTable(m_window.get());
    m_window->show();
    showTable(toStringList(transfercases::tableValues()));
}

void TestTransferDBus::cleanup()
{
    m_window.reset();
}

QString TestTransferDBus::writePartProgram(const sim::PartProgram& program)
{
    const QString path = m_folder->filePath(QStringLiteral("teileprogramm.json"));
    sim::writePartProgram(program, path.toStdString());
    return path;
}

void TestTransferDBus::showTable(const QStringList& values)
{
    m_table->showFileValues(values);
    m_table->setPath(QStringLiteral("/tabellen/Grenzfälle.tabelle"));
}

void TestTransferDBus::run(int callTimeoutMs, ProgressTiming timing)
{
    messages::setNextAnswer(MessageBox::Answer::Ok);
    TransferController controller(
        *m_table, m_window.get(),
        [callTimeoutMs] { return std::make_unique<DBusHost>(QDBusConnection::sessionBus(), callTimeoutMs); },
        timing);
    controller.run();
}

void TestTransferDBus::transfersEveryCase_data()
{
    QTest::addColumn<QString>("oldVal");
    QTest::newRow("OldVal 1") << "1";
    QTest::newRow("OldVal 0") << "0";
}

void TestTransferDBus::transfersEveryCase()
{
    QFETCH(QString, oldVal);
    settings::write(settings::OldVal, oldVal);
    SimProcess sim(writePartProgram(transfercases::partProgram()), {});
    run();

    QCOMPARE(messages::shownTexts(), QStringList());
    QVERIFY(pointerRestored());
    const auto& cases = transfercases::cases();
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const auto& expected = oldVal == "0" ? cases[i].afterOverwriting : cases[i].afterKeeping;
        if (!cases[i].before.isDimension)
            continue;
        QVERIFY2(readFromSim(i + 1, 15) == expected.plus, cases[i].what);
        QVERIFY2(readFromSim(i + 1, 14) == expected.minus, cases[i].what);
    }
}

void TestTransferDBus::showsProgressForALongRun()
{
    // Replies 1 ms late make the run last well over the 20 ms after which it shows its progress.
    SimProcess sim(writePartProgram(transfercases::partProgram()),
                   {QStringLiteral("--delay"), QStringLiteral("1")});
    run(DBusHost::DefaultTimeoutMs, ProgressTiming{20, 5});
    const auto* progress = m_window->findChild<TransferProgress*>(QStringLiteral("TransferProgress"));
    QVERIFY(progress);
    QCOMPARE(progress->text(), QStringLiteral("26 von 26 Befehlen"));
    QVERIFY(!progress->isVisible());
    QCOMPARE(progress->windowTitle(), QStringLiteral("Dalmerin"));
    QVERIFY(pointerRestored());
}

void TestTransferDBus::refusals_data()
{
    QTest::addColumn<bool>("started");
    QTest::addColumn<bool>("withPartProgram");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("message");
    QTest::newRow("KORVANT not running")
        << false << true << QStringList() << text(transfertexts::StartKorvant);
    QTest::newRow("no part program: empty reference")
        << true << false << QStringList() << text(transfertexts::NoPartProgram);
    QTest::newRow("no part program: reads Nothing")
        << true << false << QStringList{"--nothing"} << text(transfertexts::NoPartProgram);
    QTest::newRow("no application object")
        << true << true << QStringList{"--no-application-object"} << text(transfertexts::ConnectionFailed);
    QTest::newRow("application object without its interface")
        << true << true << QStringList{"--foreign-application-object"}
        << text(transfertexts::ConnectionFailed);
}

void TestTransferDBus::refusals()
{
    QFETCH(bool, started);
    QFETCH(bool, withPartProgram);
    QFETCH(QStringList, options);
    QFETCH(QString, message);
    std::unique_ptr<SimProcess> sim;
    if (started)
        sim = std::make_unique<SimProcess>(
            withPartProgram ? writePartProgram(transfercases::partProgram()) : QString(), options);
    run();
    QCOMPARE(messages::shownTexts(), QStringList{message});
    QVERIFY(pointerRestored());
    if (started && withPartProgram)
        QCOMPARE(readFromSim(1, 15), 0.0);
}

// A minus tolerance typed with its sign is refused before KORVANT is looked
// for: a stand-in that leaves the bus after its first call is still there.
// (The cases' table itself has only Hinweise and transfers as every test here shows.)
void TestTransferDBus::aTableWithAFehlerReachesNoHost()
{
    SimProcess sim(writePartProgram(transfercases::partProgram()),
                   {QStringLiteral("--leave-after"), QStringLiteral("1")});
    QStringList values = toStringList(transfercases::tableValues());
    values[int(cells::valueIndex({cells::Column::Minus, 2}))] = QStringLiteral("-0.2");
    showTable(values);
    run();
    QCOMPARE(
        messages::shownTexts(),
        QStringList{text(transfertexts::TableHasErrors) +
                    text("\nBereich 2, Minus Tol.: Minustoleranzen werden ohne Vorzeichen eingegeben.")});
    QVERIFY(pointerRestored());
    QTest::qWait(300); // a stand-in that answered would be gone by now
    QVERIFY(QDBusConnection::sessionBus().interface()->isServiceRegistered(standin::BusName));
}

void TestTransferDBus::editModeIsTestedFirst()
{
    m_table->startNew();
    m_table->setPath(std::nullopt);
    run();
    QCOMPARE(messages::shownTexts(), QStringList{text(cells::SaveFirst)});
    QVERIFY(pointerRestored());

    messages::clearRecord();
    m_table->leaveEditMode({});
    m_table->setPath(std::nullopt);
    run();
    QCOMPARE(messages::shownTexts(), QStringList{text(transfertexts::ChooseTable)});
    QVERIFY(pointerRestored());
}

// The stand-in's error replies count as failed calls, each skipping only its
// step; every kind of failing read and put is run in process.
void TestTransferDBus::failedCallsSkipOnlyTheirStep()
{
    SimProcess sim(writePartProgram(transfercases::partProgram()),
                   {QStringLiteral("--fail-get"), QStringLiteral("10:2"), QStringLiteral("--fail-put"),
                    QStringLiteral("15:1")});
    run();
    QCOMPARE(messages::shownTexts(), QStringList());
    QCOMPARE(readFromSim(1, 15), 0.0);
    QCOMPARE(readFromSim(1, 14), -0.1);
    QCOMPARE(readFromSim(2, 15), 0.0);
    QCOMPARE(readFromSim(3 + 1, 15), 0.1); // the walk went on
}

void TestTransferDBus::hostLeavingOrHangingEndsTheRun_data()
{
    QTest::addColumn<QString>("option");
    QTest::newRow("host leaves the bus") << "--leave-after";
    QTest::newRow("host stops answering") << "--hang-after";
}

void TestTransferDBus::hostLeavingOrHangingEndsTheRun()
{
    QFETCH(QString, option);
    SimProcess sim(writePartProgram(transfercases::partProgram()), {option, QStringLiteral("20")});
    // A hanging host is given up after the call timeout, here 200 ms; a host
    // that leaves is noticed at once.
    QElapsedTimer clock;
    clock.start();
    run(200);
    QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(messages::shownTexts(), QStringList{text(transfertexts::ConnectionLost)});
    QVERIFY(pointerRestored());
}

// KORVANT leaves the bus between the two puts of command 4, and again amid
// the undo's puts; each time it comes back with the part program as it left
// it. The stopped run, the stopped undo and the undo that finishes it leave
// the part program exactly as it was before the run.
void TestTransferDBus::stoppedRunAndResumedUndoLeaveThePartProgramAsBefore()
{
    const QString saved[] = {m_folder->filePath(QStringLiteral("1.json")),
                             m_folder->filePath(QStringLiteral("2.json")),
                             m_folder->filePath(QStringLiteral("3.json"))};
    TransferController controller(*m_table, m_window.get(),
                                  [] { return std::make_unique<DBusHost>(QDBusConnection::sessionBus()); });
    const auto undo = [&] {
        controller.showLastReport();
        QTest::mouseClick(guitest::child<QPushButton>(controller.reportWindow(), QStringLiteral("cmd_Undo")),
                          Qt::LeftButton);
    };
    const auto summary = [&] {
        return guitest::child<QLabel>(controller.reportWindow(), QStringLiteral("ReportSummary"))->text();
    };
    {
        // The way to the commands (4 calls), commands 1 and 2 (9 calls each), 3 (7 reads), 4's reads and plus
        // put.
        SimProcess sim(
            writePartProgram(transfercases::partProgram()),
            {QStringLiteral("--leave-after"), QStringLiteral("37"), QStringLiteral("--save"), saved[0]});
        messages::setNextAnswer(MessageBox::Answer::Ok);
        controller.run();
    }
    QCOMPARE(messages::shownTexts(), QStringList{text(transfertexts::ConnectionLost)});
    QCOMPARE(controller.lastReport()->rows.at(3).outcome, Outcome::PartlyWritten);
    QCOMPARE(sim::readPartProgram(saved[0].toStdString()).commands[3].plus, 0.1);
    {
        // The first pass, as far as the run read (4 + 4 * 7 calls), command 1's two puts and command 2's plus.
        SimProcess sim(saved[0], {QStringLiteral("--leave-after"), QStringLiteral("35"),
                                  QStringLiteral("--save"), saved[1]});
        messages::clearRecord();
        messages::setNextAnswer(MessageBox::Answer::Ok);
        undo();
        QCOMPARE(messages::shownTexts(), QStringList{text(transfertexts::UndoConnectionLost)});
        QVERIFY2(summary().endsWith(text("teilweise zurückgesetzt: 1 von 3.")), qPrintable(summary()));
        controller.reportWindow()->close();
    }
    {
        SimProcess sim(saved[1], {QStringLiteral("--save"), saved[2]});
        messages::clearRecord();
        undo();
        QCOMPARE(messages::shownTexts(), QStringList());
        QVERIFY2(summary().endsWith(text("Die Übertragung wurde zurückgesetzt.")), qPrintable(summary()));
        controller.reportWindow()->close();
    }
    const char* notAsBefore =
        transfercases::firstCaseNotAsBefore(sim::readPartProgram(saved[2].toStdString()));
    QVERIFY2(!notAsBefore, notAsBefore);
}

void TestTransferDBus::transfersIsoTables_data()
{
    QTest::addColumn<int>("isoClass");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<bool>("typedWithComma");
    for (int i = 0; i < 4; ++i) {
        QTest::addRow("%s, German", IsoClasses[i].name)
            << i << QLocale(QLocale::German, QLocale::Germany) << false;
        QTest::addRow("%s, English", IsoClasses[i].name)
            << i << QLocale(QLocale::English, QLocale::UnitedStates) << false;
    }
    QTest::newRow("m typed with decimal comma, English")
        << 1 << QLocale(QLocale::English, QLocale::UnitedStates) << true;
    QTest::newRow("m typed with decimal comma, German")
        << 1 << QLocale(QLocale::German, QLocale::Germany) << true;
}

void TestTransferDBus::transfersIsoTables()
{
    QFETCH(int, isoClass);
    QFETCH(QLocale, locale);
    QFETCH(bool, typedWithComma);
    QLocale::setDefault(locale);
    const IsoClass& iso = IsoClasses[isoClass];

    QFile file(QStringLiteral(DALMERIN_TABLES_DIR "/ISO 2768-%1.tabelle").arg(QString::fromLatin1(iso.name)));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const tablefile::ReadResult table = tablefile::readTable(file.readAll().toStdString());
    QCOMPARE(table.problem, tablefile::ReadProblem::None);
    QStringList values;
    for (const tablefile::Value& value : table.values)
        values << QString::fromStdString(value.text).replace(QLatin1Char('.'), typedWithComma ? ',' : '.');
    showTable(values);

    if (!m_isoSim) {
        sim::PartProgram program;
        program.name = "ISO";
        for (double nominal : IsoNominals) {
            sim::Command command;
            command.typeCode = 1101;
            command.isDimension = true;
            command.axis = "X";
            command.nominal = nominal;
            program.commands.push_back(command);
        }
        m_isoFolder = std::make_unique<QTemporaryDir>();
        const QString path = m_isoFolder->filePath(QStringLiteral("iso.json"));
        sim::writePartProgram(program, path.toStdString());
        m_isoSim = std::make_unique<SimProcess>(path, QStringList());
    }
    // Each table starts from dimensions without tolerances.
    for (std::size_t i = 0; i < std::size(IsoNominals); ++i) {
        standin::putNumber(i + 1, 15, 0);
        standin::putNumber(i + 1, 14, 0);
    }
    run();
    QCOMPARE(messages::shownTexts(), QStringList());
    for (std::size_t i = 0; i < std::size(IsoNominals); ++i) {
        const double expected = isoTolerance(iso, IsoNominals[i]);
        const QByteArray what = QByteArray::number(IsoNominals[i]);
        QVERIFY2(readFromSim(i + 1, 15) == expected, what);
        QVERIFY2(readFromSim(i + 1, 14) == 0.0 - expected, what);
    }
}

void TestTransferDBus::cleanupTestCase()
{
    m_isoSim.reset();
}

QTEST_MAIN(TestTransferDBus)
#include "TestTransferDBus.moc"
