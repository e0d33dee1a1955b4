// "Vorschau…", "Letzte Übertragung…", the report window with its "Ausführen",
// "Speichern…" and "Rückgängig", and the progress window's "Abbrechen", driven
// as a user does in the program's main window, against the stand-in's objects
// in-process.
#include "tests/support/MessageRecorder.h"
#include "app/MainWindow.h"
#include "app/Shell.h"
#include "base/MessageBox.h"
#include "base/Workstation.h"
#include "table/gui/CheckedTable.h"
#include "table/gui/ToleranceTable.h"
#include "tests/support/GuiTestSupport.h"
#include "tests/support/ShellTestSupport.h"
#include "tests/transfer/FakeHost.h"
#include "tests/transfer/TransferCases.h"
#include "transfer/core/ReportCsv.h"
#include "transfer/core/TransferTexts.h"
#include "transfer/gui/ReportWindow.h"
#include "transfer/gui/TransferController.h"
#include "transfer/gui/TransferProgress.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QToolBar>
#include <QTest>

#include <algorithm>
#include <memory>

namespace {

QString text(const std::string& utf8)
{
    return QString::fromStdString(utf8);
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

// A connection the controller owns for one command, to a fake host the test
// keeps for looking at its calls afterwards.
class KeptHost : public korvant::Host
{
public:
    explicit KeptHost(FakeHost& host) : m_host(host) {}

    bool findHostWindow() override { return m_host.findHostWindow(); }
    korvant::CallResult<korvant::ObjectRef> createApplication() override
    {
        return m_host.createApplication();
    }
    korvant::CallResult<korvant::Value> get(korvant::ObjectRef object, korvant::Interface addressedTo,
                                            int dispid) override
    {
        return m_host.get(object, addressedTo, dispid);
    }
    korvant::CallStatus put(korvant::ObjectRef object, korvant::Interface addressedTo, int dispid,
                            const korvant::Value& value) override
    {
        return m_host.put(object, addressedTo, dispid, value);
    }
    korvant::CallResult<std::unique_ptr<korvant::Enumerator>>
    enumerate(korvant::ObjectRef collection) override
    {
        return m_host.enumerate(collection);
    }
    void release(korvant::ObjectRef object) override { m_host.release(object); }
    void endRun() override { m_host.endRun(); }

private:
    FakeHost& m_host;
};

std::size_t putsOf(const FakeHost& host)
{
    return std::size_t(std::count_if(host.calls().begin(), host.calls().end(),
                                     [](const std::string& call) { return call.rfind("put", 0) == 0; }));
}

} // namespace

class TestReportWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void previewRunSaveAndUndo();
    void textsFromOutsideArePlainText();
    void aTableWithAFehlerIsPreviewedButNotWritten();
    void stoppedUndoKeepsRueckgaengig();
    void onlyAbbrechenTakesInputWhileARunIsUnderWay();

private:
    ReportWindow* reportWindow() const { return m_main->transfer().reportWindow(); }
    template <typename T> T* control(const char* name) const
    {
        return guitest::child<T>(reportWindow(), QString::fromLatin1(name));
    }
    // Presses a key in the report window, as the user does: it must be active.
    // A button pressed by its access key is clicked a moment later.
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // The connection of the last command; each command gets its own.
    FakeHost& lastHost() { return *m_hosts.back(); }

    std::unique_ptr<QTemporaryDir> m_settings;
    std::unique_ptr<sim::SimHost> m_korvant;
    std::vector<std::unique_ptr<FakeHost>> m_hosts;
    std::function<void(FakeHost&)> m_prepareHost = [](FakeHost&) {};
    std::unique_ptr<Shell> m_shell;
    MainWindow* m_main = nullptr;
};

void TestReportWindow::init()
{
    m_korvant = std::make_unique<sim::SimHost>(transfercases::partProgram(), sim::PartProgramState::Active,
                                               sim::FaultPlan{});
    m_hosts.clear();
    m_prepareHost = [](FakeHost&) {};
    m_shell = guitest::startShell(m_settings, [this] {
        FakeHost& host = *m_hosts.emplace_back(std::make_unique<FakeHost>(*m_korvant));
        m_prepareHost(host);
        return std::make_unique<KeptHost>(host);
    });
    m_main = m_shell->showMainWindow();
    QStringList values;
    for (const std::string& value : transfercases::tableValues())
        values << QString::fromStdString(value);
    m_main->table().showFileValues(values);
    m_main->table().setPath(QStringLiteral("/tabellen/Grenzfälle.tabelle"));
}

void TestReportWindow::cleanup()
{
    QVERIFY(!messages::hasPendingAnswers());
    m_shell.reset();
    QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
}

void TestReportWindow::press(int key, Qt::KeyboardModifiers modifiers)
{
    reportWindow()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(reportWindow()));
    // The offscreen platform leaves its window active when a child window of it was: say it again.
    QApplication::setActiveWindow(reportWindow());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
}

void TestReportWindow::previewRunSaveAndUndo()
{
    // The cases' table, released as it stands.
    const std::string sum = "7E15C823AEDC0585CFCF497900F917D1B2858A6DF0F20940359E94FBFF4C47E7";
    m_main->table().setRelease(
        {TableRelease::State::Read, {sum, "3", "", "M. Muster", "2026-12-01T09:15:00+01:00", ""}, {}});

    // The preview writes nothing and shows what each dimension would get.
    QVERIFY(guitest::trigger(m_main, QStringLiteral("Vorschau")));
    QVERIFY(reportWindow());
    QCOMPARE(reportWindow()->windowTitle(), text("Dalmerin – Vorschau"));
    QCOMPARE(putsOf(*m_hosts[0]), std::size_t(0));
    QVERIFY(!m_main->transfer().lastReport());
    auto* rows = control<QTableView>("ReportRows");
    QCOMPARE(rows->model()->rowCount(), 25);
    QCOMPARE(shownRows(rows).first(), text("1|1101|X|3|0|0|1|0,1|-0,1|wird geschrieben"));
    QVERIFY(control<QPushButton>("cmd_Run")->isVisible());
    QVERIFY(!control<QPushButton>("cmd_Undo")->isVisible());
    QCOMPARE(reportWindow()->focusWidget(), rows);
    QCOMPARE(guitest::tabChain(rows, 5),
             (QStringList{"ReportRows", "cmd_Run", "cmd_Save", "cmd_Undo", "cmd_Close"}));
    const QStringList previewRows = shownRows(rows);

    // Alt+A runs the transfer and shows its report: what the preview promised.
    press(Qt::Key_A, Qt::AltModifier);
    QTRY_COMPARE(reportWindow()->windowTitle(), text("Dalmerin – Letzte Übertragung"));
    QCOMPARE(messages::shownTexts(), QStringList());
    QVERIFY(m_main->transfer().lastReport());
    QStringList runRows = shownRows(rows);
    QCOMPARE(runRows.replaceInStrings(QStringLiteral("|geschrieben"), QStringLiteral("|wird geschrieben")),
             previewRows);
    const std::vector<std::string> previewReads = m_hosts[0]->calls();
    std::vector<std::string> runCalls = m_hosts[1]->calls();
    runCalls.erase(std::remove_if(runCalls.begin(), runCalls.end(),
                                  [](const std::string& call) { return call.rfind("put", 0) == 0; }),
                   runCalls.end());
    QCOMPARE(previewReads, runCalls); // the preview made the run's reads in the run's order
    QVERIFY(control<QPushButton>("cmd_Undo")->isVisible());

    // The header tells which table, released by whom, ran where, when and with what.
    QCOMPARE(control<QLabel>("ReportFingerprint")->text(),
             text("7E15 C823 AEDC 0585 CFCF 4979 00F9 17D1 B285 8A6D F0F2 0940 359E 94FB FF4C 47E7"));
    QCOMPARE(control<QLabel>("ReportRelease")->text(), text("Stand 3, M. Muster, 01.12.2026"));
    QCOMPARE(control<QLabel>("ReportUser")->text(), workstation::loginName());
    QCOMPARE(control<QLabel>("ReportComputer")->text(), workstation::computerName());
    QVERIFY(!workstation::loginName().isEmpty() && !workstation::computerName().isEmpty());
    QCOMPARE(control<QLabel>("ReportProgram")->text(), text("Dalmerin 1.2.1"));
    const QString runTime = control<QLabel>("ReportTime")->text();
    QVERIFY2(QRegularExpression(text("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d[+-]\\d\\d:\\d\\d$"))
                 .match(runTime)
                 .hasMatch(),
             qPrintable(runTime));
    QVERIFY(!control<QLabel>("ReportUndoOf")->isVisible());

    // Alt+S saves the report as a CSV record, header block first.
    const QString csvPath = m_settings->filePath(QStringLiteral("bericht.csv"));
    QString suggested;
    m_main->transfer().setSavePathChooser([&](QWidget*, const QString& offered) {
        suggested = offered;
        return csvPath;
    });
    press(Qt::Key_S, Qt::AltModifier);
    QTRY_VERIFY(!suggested.isEmpty());
    QVERIFY2(suggested.endsWith(text("/Grenzfälle ") +
                                QString::fromStdString(m_main->transfer().lastReport()->time)
                                    .left(16)
                                    .replace(QLatin1Char('T'), QLatin1Char(' '))
                                    .replace(QLatin1Char(':'), QLatin1Char('-')) +
                                QStringLiteral(".csv")),
             qPrintable(suggested));
    QFile csv(csvPath);
    QVERIFY(csv.open(QIODevice::ReadOnly));
    const QByteArray bytes = csv.readAll();
    QCOMPARE(bytes, QByteArray::fromStdString(reportCsv(*m_main->transfer().lastReport(), ',')));
    QVERIFY(bytes.startsWith("\xEF\xBB\xBFTabelle;/tabellen/Grenzf\xC3\xA4lle.tabelle\r\nTeileprogramm;"));
    QVERIFY(bytes.contains("\r\nOldVal;1\r\nErgebnis;25 Ma\xC3\x9F"
                           "e: 13 geschrieben,"));
    QVERIFY(bytes.contains("\r\n4;8;12;0,4;0,05\r\n"));

    // A dimension changed in between keeps its change; every other is as
    // before the run, and the undo's report shows its first row.
    rows->scrollToBottom();
    m_korvant->put({sim::ObjectKind::Command, 0}, "KVTLRN.Dimension", 15, 0.5);
    press(Qt::Key_R, Qt::AltModifier);
    QTRY_COMPARE(reportWindow()->windowTitle(), text("Dalmerin – Rückgängig"));
    QCOMPARE(messages::shownTexts(), QStringList());
    QCOMPARE(shownRows(rows).first(), text("1|1101|X|3|0,5|-0,1|1|||seit der Übertragung geändert"));
    QCOMPARE(shownRows(rows).at(1), text("2|1101|Y|3,00002|0,2|-0,15|2|0|0|zurückgesetzt"));
    QCOMPARE(rows->currentIndex().row(), 0);
    QCOMPARE(rows->rowAt(0), 0);
    QVERIFY(!control<QPushButton>("cmd_Undo")->isVisible());
    // The undo names the run it undid, as its CSV does, and that run's table.
    QVERIFY(control<QLabel>("ReportUndoOf")->isVisible());
    QCOMPARE(control<QLabel>("ReportUndoOf")->text(), runTime);
    QCOMPARE(control<QLabel>("ReportRelease")->text(), text("Stand 3, M. Muster, 01.12.2026"));
    sim::PartProgram expected = transfercases::partProgram();
    expected.commands[0].plus = 0.5;
    expected.commands[0].minus = -0.1;
    QCOMPARE(sim::toJson(m_korvant->program()), sim::toJson(expected));

    // Alt+C closes; the last run cannot be undone a second time, and says why.
    press(Qt::Key_C, Qt::AltModifier);
    QTRY_VERIFY(!reportWindow());
    QVERIFY(guitest::trigger(m_main, QStringLiteral("Bericht")));
    QVERIFY(!control<QPushButton>("cmd_Undo")->isVisible());
    QVERIFY(control<QLabel>("ReportSummary")
                ->text()
                .endsWith(text("Die Übertragung wurde zurückgesetzt, bis auf 1 Maß, das seit der Übertragung "
                               "geändert wurde.")));
}

// The part program's name is a text from KORVANT: shown as it is, never as markup.
void TestReportWindow::textsFromOutsideArePlainText()
{
    sim::PartProgram program = transfercases::partProgram();
    program.name = "<h1>X</h1><s>Y</s>";
    m_korvant = std::make_unique<sim::SimHost>(program, sim::PartProgramState::Active, sim::FaultPlan{});
    QVERIFY(guitest::trigger(m_main, QStringLiteral("Vorschau")));
    auto* name = control<QLabel>("ReportPartProgram");
    QCOMPARE(name->text(), QStringLiteral("<h1>X</h1><s>Y</s>"));
    QCOMPARE(name->textFormat(), Qt::PlainText);
    QCOMPARE(control<QLabel>("ReportSummary")->textFormat(), Qt::PlainText);
    reportWindow()->close();
}

// The preview shows what a table with a Fehler would write, and the table's
// findings; its "Ausführen" refuses, before KORVANT is looked for.
void TestReportWindow::aTableWithAFehlerIsPreviewedButNotWritten()
{
    QStringList values = m_main->tableView().labelCaptions().mid(1);
    values[int(cells::valueIndex({cells::Column::Minus, 2}))] = QStringLiteral("-0,2");
    m_main->table().showFileValues(values);
    QVERIFY(guitest::trigger(m_main, QStringLiteral("Vorschau")));
    QVERIFY(control<QLabel>("ReportFindings")
                ->text()
                .startsWith(text("Fehler: Bereich 2, Minus Tol.: Minustoleranzen werden ohne Vorzeichen")));
    QCOMPARE(shownRows(control<QTableView>("ReportRows")).at(1),
             text("2|1101|Y|3,00002|0|0|2|0,2|0,2|wird geschrieben"));

    messages::setNextAnswer(MessageBox::Answer::Ok);
    QTest::mouseClick(control<QPushButton>("cmd_Run"), Qt::LeftButton);
    QCOMPARE(messages::shownTexts(),
             QStringList{text(
                 "Die Tabelle enthält Fehler und wird nicht übertragen.\nBereich 2, Minus Tol.: "
                 "Minustoleranzen werden ohne Vorzeichen eingegeben.")});
    QVERIFY(lastHost().calls().empty());
    QVERIFY(!m_main->transfer().lastReport());
    QCOMPARE(reportWindow()->windowTitle(), text("Dalmerin – Vorschau"));
    QVERIFY(reportWindow()->cursor().shape() == Qt::ArrowCursor);
    reportWindow()->close();
}

// An undo that loses KORVANT on the way says so, keeps "Rückgängig", and the
// next one finishes it: every dimension as before the run.
void TestReportWindow::stoppedUndoKeepsRueckgaengig()
{
    QVERIFY(guitest::trigger(m_main, QStringLiteral("START")));
    QVERIFY(guitest::trigger(m_main, QStringLiteral("Bericht")));
    m_prepareHost = [](FakeHost& host) { host.loseAfterCalls = 3 + 1 + 168 + 5; };
    messages::setNextAnswer(MessageBox::Answer::Ok);
    QTest::mouseClick(control<QPushButton>("cmd_Undo"), Qt::LeftButton);
    QCOMPARE(messages::shownTexts(), QStringList{text(transfertexts::UndoConnectionLost)});
    QCOMPARE(reportWindow()->windowTitle(), text("Dalmerin – Rückgängig"));
    QVERIFY2(control<QLabel>("ReportSummary")->text().endsWith(text("teilweise zurückgesetzt: 2 von 13.")),
             qPrintable(control<QLabel>("ReportSummary")->text()));
    QVERIFY(control<QPushButton>("cmd_Undo")->isVisible());

    m_prepareHost = [](FakeHost&) {};
    messages::clearRecord();
    QTest::mouseClick(control<QPushButton>("cmd_Undo"), Qt::LeftButton);
    QCOMPARE(messages::shownTexts(), QStringList());
    QVERIFY(!control<QPushButton>("cmd_Undo")->isVisible());
    QCOMPARE(control<QTableView>("ReportRows")->model()->rowCount(), 11);
    const char* notAsBefore = transfercases::firstCaseNotAsBefore(m_korvant->program());
    QVERIFY2(!notAsBefore, notAsBefore);
    reportWindow()->close();
}

// While a run is under way only "Abbrechen" takes input: a menu shortcut and
// a close request of the main window are dropped, also one still queued when
// the run ends; "Abbrechen" shows at once that it was heard, takes no second
// press and stops the run at its next call to KORVANT.
void TestReportWindow::onlyAbbrechenTakesInputWhileARunIsUnderWay()
{
    m_main->transfer().setProgressTiming({0, 0});
    QWindow* mainWindow = m_main->windowHandle();
    bool progressSeen = false;
    bool cancelShown = false;
    m_prepareHost = [&](FakeHost& host) {
        host.onCall = [&](long call) {
            if (call == 25) { // a read of command 3
                auto* progress = m_main->findChild<TransferProgress*>();
                progressSeen = progress && progress->isVisible();
                QApplication::setActiveWindow(m_main);
                QTest::keyClick(m_main, Qt::Key_N, Qt::ControlModifier); // "Neu erstellen"
                QTest::mouseClick(m_main->findChild<QToolBar*>()->widgetForAction(
                                      guitest::child<QAction>(m_main, QStringLiteral("Toolbar1_6"))),
                                  Qt::LeftButton);
                m_main->close();
                if (progress) {
                    QTest::keyClick(progress, Qt::Key_Escape);
                    auto* cancel = progress->findChild<QPushButton*>(QStringLiteral("TransferCancel"));
                    cancelShown = m_main->transfer().isCancelling() && !cancel->isEnabled() &&
                                  cancel->text() == QStringLiteral("Wird abgebrochen…");
                }
                QCoreApplication::postEvent(mainWindow, new QCloseEvent); // the frame's close button
            }
        };
    };
    messages::setNextAnswer(MessageBox::Answer::Ok);
    QVERIFY(guitest::trigger(m_main, QStringLiteral("START")));
    QVERIFY(progressSeen);
    QVERIFY(cancelShown);
    QCOMPARE(messages::shownTexts(),
             QStringList{text("Die Übertragung wurde abgebrochen bei Befehl 3 von 26. "
                              "Die Toleranzen wurden nicht vollständig übertragen.")});
    QCoreApplication::processEvents();
    QVERIFY(m_shell->mainWindow() && m_main->isVisible());
    QVERIFY(!m_main->table().document().isEditing());
    QVERIFY(!m_main->transfer().isRunning());
    const TransferReport& report = *m_main->transfer().lastReport();
    QCOMPARE(report.end, TransferReport::End::Cancelled);
    // Command 3's first three reads, then no call: it has no row.
    QCOMPARE(report.rows.size(), std::size_t(2));
    QCOMPARE(lastHost().callsOn(3), (std::vector<std::string>{"get 17", "get 8", "get 6"}));
    QVERIFY(lastHost().callsOn(4).empty());
    QVERIFY(!m_main->transfer().isCancelling());
    QVERIFY(m_main->cursor().shape() == Qt::ArrowCursor);

    // Input goes where it belongs again.
    QApplication::setActiveWindow(m_main);
    QTest::keyClick(m_main, Qt::Key_N, Qt::ControlModifier);
    QVERIFY(m_main->table().document().isEditing());
}

QTEST_MAIN(TestReportWindow)
#include "TestReportWindow.moc"
