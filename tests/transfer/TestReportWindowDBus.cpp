// "Vorschau…", "Letzte Übertragung…", their report window, its "Ausführen",
// "Speichern…" and "Rückgängig" end to end: the real window and D-Bus adapter
// against the real korvant-sim on a private session bus.
#include "base/MessageBox.h"
#include "korvant-sim/PartProgram.h"
#include "table/ToleranceTable.h"
#include "tests/support/GuiTestSupport.h"
#include "tests/support/StandInClient.h"
#include "tests/transfer/TransferCases.h"
#include "transfer/host/dbus/DBusHost.h"
#include "transfer/core/ReportCsv.h"
#include "transfer/core/TransferTexts.h"
#include "transfer/gui/ReportWindow.h"
#include "transfer/gui/TransferController.h"

#include <QDBusConnection>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

struct Tolerances
{
    double plus;
    double minus;
    bool operator==(const Tolerances& other) const { return plus == other.plus && minus == other.minus; }
};

// What the stand-in holds for every command (from 1).
std::vector<Tolerances> heldBySim(std::size_t commands)
{
    std::vector<Tolerances> held;
    for (std::size_t i = 1; i <= commands; ++i)
        held.push_back(
            {standin::readNumber(i, 15).value_or(-999), standin::readNumber(i, 14).value_or(-999)});
    return held;
}

// The shown rows, cell texts joined by "|".
QStringList shownRows(const QTableView* view)
{
    QStringList rows;
    const QAbstractItemModel* model = view->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model->columnCount(); ++column)
            cells << model->index(row, column).data().toString();
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

void activate(QWidget* window)
{
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    // The offscreen platform leaves its window active when a child window of it was: say it again.
    QApplication::setActiveWindow(window);
}

HostFactory dbusHosts()
{
    return [] { return std::make_unique<DBusHost>(QDBusConnection::sessionBus()); };
}

// The D-Bus host, with each get and put it was asked for written down ("get 17", "put 15").
class RecordingHost : public korvant::Host
{
public:
    explicit RecordingHost(QStringList& calls) : m_calls(calls) {}

    bool findHostWindow() override { return m_host.findHostWindow(); }
    korvant::CallResult<korvant::ObjectRef> createApplication() override
    {
        return m_host.createApplication();
    }
    korvant::CallResult<korvant::Value> get(korvant::ObjectRef object, korvant::Interface interface,
                                            int dispid) override
    {
        m_calls << QStringLiteral("get %1").arg(dispid);
        return m_host.get(object, interface, dispid);
    }
    korvant::CallStatus put(korvant::ObjectRef object, korvant::Interface interface, int dispid,
                            const korvant::Value& value) override
    {
        m_calls << QStringLiteral("put %1").arg(dispid);
        return m_host.put(object, interface, dispid, value);
    }
    korvant::CallResult<std::unique_ptr<korvant::Enumerator>>
    enumerate(korvant::ObjectRef collection) override
    {
        m_calls << QStringLiteral("enumerate");
        return m_host.enumerate(collection);
    }
    void release(korvant::ObjectRef object) override { m_host.release(object); }
    void endRun() override { m_host.endRun(); }

private:
    DBusHost m_host{QDBusConnection::sessionBus()};
    QStringList& m_calls;
};

// One list of calls per host made.
HostFactory recordingHosts(std::vector<QStringList>& calls)
{
    return [&calls] {
        calls.emplace_back();
        return std::make_unique<RecordingHost>(calls.back());
    };
}

} // namespace

class TestReportWindowDBus : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void previewRunSaveAndUndo();
    void undoRefusesWhenACommandWasAdded();

private:
    QString writePartProgram(const sim::PartProgram& program, const QString& name);
    ReportWindow* reportWindow() const { return guitest::child<ReportWindow>(m_window.get(), {}); }
    TransferController& controller(HostFactory hosts)
    {
        m_controller = std::make_unique<TransferController>(*m_table, m_window.get(), std::move(hosts));
        return *m_controller;
    }
    template <typename T> T* control(const char* name) const
    {
        return guitest::child<T>(reportWindow(), QString::fromLatin1(name));
    }

    QTemporaryDir m_settings;
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<QWidget> m_window;
    ToleranceTable* m_table = nullptr;
    std::unique_ptr<TransferController> m_controller;
};

void TestReportWindowDBus::init()
{
    guitest::startClean(m_settings);
    MessageBox::clearRecord();
    m_folder = std::make_unique<QTemporaryDir>();
    m_window = std::make_unique<QWidget>();
    m_table = new ToleranceTable(m_window.get());
    m_window->show();
    QStringList values;
    for (const std::string& value : transfercases::tableValues())
        values << QString::fromStdString(value);
    m_table->showValues(values);
    m_table->setTablePath(QStringLiteral("/tabellen/Grenzfälle.tabelle"));
}

void TestReportWindowDBus::cleanup()
{
    QVERIFY(!MessageBox::hasPendingAnswers());
    m_controller.reset();
    m_window.reset();
}

QString TestReportWindowDBus::writePartProgram(const sim::PartProgram& program, const QString& name)
{
    const QString path = m_folder->filePath(name);
    sim::writePartProgram(program, path.toStdString());
    return path;
}

void TestReportWindowDBus::previewRunSaveAndUndo()
{
    const sim::PartProgram program = transfercases::partProgram();
    const std::size_t commands = program.commands.size();
    standin::Process sim(QStringLiteral(KORVANT_SIM), {writePartProgram(program, QStringLiteral("p.json"))});
    QVERIFY(sim.onBus());
    const std::vector<Tolerances> before = heldBySim(commands);

    // The preview writes nothing and shows what each dimension would get.
    std::vector<QStringList> calls;
    calls.reserve(4);
    TransferController& transfer = controller(recordingHosts(calls));
    transfer.preview();
    QVERIFY(reportWindow());
    activate(reportWindow());
    QCOMPARE(reportWindow()->windowTitle(), text("Dalmerin – Vorschau"));
    QCOMPARE(heldBySim(commands), before);
    QVERIFY(!transfer.lastReport());
    auto* rows = control<QTableView>("ReportRows");
    QCOMPARE(rows->model()->rowCount(), 25);
    QCOMPARE(rows->model()->headerData(3, Qt::Horizontal).toString(), text("Nennmaß"));
    QCOMPARE(shownRows(rows).first(), text("1|1101|X|3|0|0|1|0,1|-0,1|wird geschrieben"));
    QVERIFY(control<QPushButton>("cmd_Run")->isVisible());
    QVERIFY(!control<QPushButton>("cmd_Undo")->isVisible());
    QCOMPARE(control<QLabel>("ReportPartProgram")->text(), text("Grenzfälle Übertragung"));
    QCOMPARE(control<QLabel>("ReportOldVal")->text(), QStringLiteral("1"));
    // Keyboard: the rows have the focus, Tab goes on to the buttons.
    QCOMPARE(reportWindow()->focusWidget(), rows);
    QCOMPARE(guitest::tabChain(rows, 5),
             (QStringList{"ReportRows", "cmd_Run", "cmd_Save", "cmd_Undo", "cmd_Close"}));
    const QStringList previewRows = shownRows(rows);

    // "Ausführen" runs the transfer and shows its report: what the preview promised, what the host now holds.
    QTest::mouseClick(control<QPushButton>("cmd_Run"), Qt::LeftButton);
    QCOMPARE(MessageBox::shownTexts(), QStringList());
    QCOMPARE(reportWindow()->windowTitle(), text("Dalmerin – Letzte Übertragung"));
    QVERIFY(transfer.lastReport());
    // The preview made the run's reads in the run's order, and no put.
    QCOMPARE(calls.size(), std::size_t(2));
    QStringList runReads = calls[1];
    runReads.removeIf([](const QString& call) { return call.startsWith(QStringLiteral("put")); });
    QCOMPARE(calls[0], runReads);
    QCOMPARE(calls[1].size() - runReads.size(), 2 * 13);
    QStringList runRows = shownRows(rows);
    QCOMPARE(runRows.replaceInStrings(QStringLiteral("|geschrieben"), QStringLiteral("|wird geschrieben")),
             previewRows);
    const std::vector<Tolerances> afterRun = heldBySim(commands);
    for (const ReportRow& row : transfer.lastReport()->rows) {
        const Tolerances held = afterRun[row.position - 1];
        const bool written = row.outcome == Outcome::Written;
        QCOMPARE(held.plus, written ? *row.plusNew : row.plusBefore.value_or(0));
        QCOMPARE(held.minus, written ? *row.minusNew : row.minusBefore.value_or(0));
    }
    QVERIFY(!control<QPushButton>("cmd_Run")->isVisible());
    QVERIFY(control<QPushButton>("cmd_Undo")->isVisible());
    QVERIFY(control<QLabel>("ReportSummary")->text().startsWith(text("25 Maße: 13 geschrieben, 3 behält")));

    // "Speichern…" writes the rows for a spreadsheet in German.
    const QString csvPath = m_folder->filePath(QStringLiteral("bericht.csv"));
    QString suggested;
    transfer.setSavePathChooser([&](QWidget*, const QString& offered) {
        suggested = offered;
        return csvPath;
    });
    // "&Speichern…" and "&Schließen" share their access key: Alt+S goes to the first, Enter presses it.
    activate(reportWindow());
    QTest::keyClick(rows, Qt::Key_S, Qt::AltModifier);
    QCOMPARE(reportWindow()->focusWidget(), control<QPushButton>("cmd_Save"));
    QTest::keyClick(reportWindow()->focusWidget(), Qt::Key_Return);
    QVERIFY2(suggested.endsWith(text("/Grenzfälle ") +
                                QString::fromStdString(transfer.lastReport()->time)
                                    .left(16)
                                    .replace(QLatin1Char(':'), QLatin1Char('-')) +
                                QStringLiteral(".csv")),
             qPrintable(suggested));
    QFile csv(csvPath);
    QVERIFY(csv.open(QIODevice::ReadOnly));
    const QByteArray bytes = csv.readAll();
    QCOMPARE(bytes, QByteArray::fromStdString(reportCsv(*transfer.lastReport(), ',')));
    QVERIFY(
        bytes.startsWith("\xEF\xBB\xBFNr.;Typ;Achse;Nennma\xC3\x9F;Plus vorher;Minus vorher;Bereich;Plus neu;"
                         "Minus neu;Ergebnis\r\n1;1101;X;3;0;0;1;0,1;-0,1;geschrieben\r\n2;1101;Y;3,00002;"));
    QCOMPARE(bytes.count("\r\n"), 26);
    QCOMPARE(bytes.count("\n"), 26);

    // A dimension changed in between keeps its change; every other is as before the run.
    standin::putNumber(1, 15, 0.5);
    activate(reportWindow());
    QTest::keyClick(rows, Qt::Key_R, Qt::AltModifier);
    QTRY_COMPARE(reportWindow()->windowTitle(),
                 text("Dalmerin – Rückgängig")); // the button's click is animated
    QCOMPARE(MessageBox::shownTexts(), QStringList());
    std::vector<Tolerances> expected = before;
    expected[0] = {0.5, afterRun[0].minus};
    QCOMPARE(heldBySim(commands), expected);
    QCOMPARE(shownRows(rows).first(), text("1|1101|X|3|0,5|-0,1|1|||seit der Übertragung geändert"));
    QCOMPARE(shownRows(rows).at(1), text("2|1101|Y|3,00002|0,2|-0,15|2|0|0|zurückgesetzt"));
    QVERIFY(!control<QPushButton>("cmd_Undo")->isVisible());

    // Escape closes the window; the last run's report cannot be undone a second time.
    QTest::keyClick(rows, Qt::Key_Escape);
    QTRY_VERIFY(!reportWindow());
    transfer.showLastReport();
    QVERIFY(!control<QPushButton>("cmd_Undo")->isVisible());
    QVERIFY(control<QLabel>("ReportSummary")->text().endsWith(text("Die Übertragung wurde zurückgesetzt.")));
    reportWindow()->close();
}

void TestReportWindowDBus::undoRefusesWhenACommandWasAdded()
{
    MessageBox::setNextAnswer(MessageBox::Answer::Ok);
    TransferController& transfer = controller(dbusHosts());
    transfer.showLastReport();
    QCOMPARE(MessageBox::shownTexts(), QStringList{text(transfertexts::NoRunYet)});
    MessageBox::clearRecord();

    sim::PartProgram program = transfercases::partProgram();
    {
        standin::Process sim(QStringLiteral(KORVANT_SIM),
                             {writePartProgram(program, QStringLiteral("p.json"))});
        transfer.run();
        const std::vector<Tolerances> afterRun = heldBySim(program.commands.size());
        for (std::size_t i = 0; i < afterRun.size(); ++i) {
            program.commands[i].plus = afterRun[i].plus;
            program.commands[i].minus = afterRun[i].minus;
        }
    }
    // The same part program as the run left it, one command longer.
    program.commands.push_back(program.commands.front());
    standin::Process sim(QStringLiteral(KORVANT_SIM), {writePartProgram(program, QStringLiteral("q.json"))});
    const std::vector<Tolerances> held = heldBySim(program.commands.size());

    transfer.showLastReport();
    MessageBox::setNextAnswer(MessageBox::Answer::Ok);
    QTest::mouseClick(control<QPushButton>("cmd_Undo"), Qt::LeftButton);
    QCOMPARE(MessageBox::shownTexts(), QStringList{text(transfertexts::ProgramChanged)});
    QCOMPARE(heldBySim(program.commands.size()), held);
    QCOMPARE(reportWindow()->windowTitle(), text("Dalmerin – Letzte Übertragung"));
    QVERIFY(control<QPushButton>("cmd_Undo")->isVisible());
    QVERIFY(reportWindow()->cursor().shape() == Qt::ArrowCursor);
    reportWindow()->close();
}

QTEST_MAIN(TestReportWindowDBus)
#include "TestReportWindowDBus.moc"
