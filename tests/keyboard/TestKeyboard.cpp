// Keyboard alone: a new table (Ctrl+N), its values typed in Tab order, saved
// (Ctrl+S) under a name typed in the save dialog, opened again (Ctrl+A) in the
// open dialog, and transferred (Ctrl+Q) into the stand-in KORVANT. No mouse,
// no direct calls: every step is a key press on the focused window.
#include "tests/support/MessageRecorder.h"
#include "tests/support/GuiTestSupport.h"
#include "app/MainWindow.h"
#include "base/MessageBox.h"
#include "files/gui/OpenDialog.h"
#include "files/gui/SaveDialog.h"
#include "app/Shell.h"
#include "tests/support/StandInClient.h"
#include "table/core/TableCells.h"
#include "files/gui/TableFileIo.h"
#include "table/gui/CheckedTable.h"
#include "table/gui/ToleranceTable.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <map>
#include <memory>

namespace {

QWidget* focused()
{
    return QApplication::focusWidget();
}

QString focusedName()
{
    return focused() ? focused()->objectName() : QString();
}

// Presses the key on whatever has the focus, as a person at the keyboard would.
void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* target = focused() ? focused() : QApplication::activeWindow();
    QTest::keyClick(target, Qt::Key(key), modifiers);
}

// The object names the focus passes through, starting where it is, for `count` Tab presses.
QStringList tabWalk(int count)
{
    QStringList names{focusedName()};
    for (int i = 0; i < count; ++i) {
        press(Qt::Key_Tab);
        names << focusedName();
    }
    return names;
}

bool activate(QWidget* window)
{
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

// More than the sample part program has; the commands beyond it answer nothing.
constexpr int SampleCommandLimit = 200;

// Dimensions of the stand-in whose plus and minus tolerance are both 0.
int untolerancedDimensions()
{
    int count = 0;
    for (int command = 1; command <= SampleCommandLimit; ++command)
        count += standin::readNumber(command, 15).value_or(-1) == 0 &&
                 standin::readNumber(command, 14).value_or(-1) == 0;
    return count;
}

} // namespace

class TestKeyboard : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void wholeProgramByKeyboard();

private:
    std::unique_ptr<QTemporaryDir> m_settings;
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<Shell> m_shell;
    QProcess m_sim;
};

void TestKeyboard::init()
{
    m_settings = std::make_unique<QTemporaryDir>();
    m_folder = std::make_unique<QTemporaryDir>();
    guitest::startClean(*m_settings);
    messages::clearRecord();
    m_shell = std::make_unique<Shell>(m_folder->path());
}

void TestKeyboard::cleanup()
{
    m_shell.reset();
    if (m_sim.state() != QProcess::NotRunning) {
        m_sim.terminate();
        m_sim.waitForFinished(5000);
    }
}

void TestKeyboard::wholeProgramByKeyboard()
{
    const tablefileio::LoadResult iso = tablefileio::loadTable(QStringLiteral(ISO_2768_M));
    QCOMPARE(iso.status, tablefileio::LoadResult::Status::Loaded);
    std::map<QString, QString> valueOf; // box name -> the value to type into it
    for (std::size_t i = 0; i < cells::ValueCount; ++i)
        valueOf[QString::fromStdString(cells::boxName(cells::valueOrder()[i]))] = iso.values[int(i)];

    MainWindow* main = m_shell->showMainWindow();
    QVERIFY(activate(main));
    CheckedTable& table = main->table();
    ToleranceTable& view = main->tableView();

    // New table, then every box in Tab order gets its value typed in.
    // The command gives no box the focus; the first Tab reaches the first box.
    press(Qt::Key_N, Qt::ControlModifier);
    QVERIFY(table.document().isEditing());
    // The boxes are reached in the table's keyboard order.
    press(Qt::Key_Tab);
    QStringList visited;
    for (std::size_t i = 0; i < cells::ValueCount; ++i) {
        const QString name = focusedName();
        QVERIFY2(valueOf.count(name) == 1, qPrintable(name));
        visited << name;
        QTest::keyClicks(focused(), valueOf[name]);
        press(Qt::Key_Tab);
    }
    QStringList keyboardOrder;
    for (const auto& cell : cells::keyboardOrder())
        keyboardOrder << QString::fromStdString(cells::boxName(cell));
    QCOMPARE(visited, keyboardOrder);
    QCOMPARE(view.boxTexts(), iso.values);

    // Save under a typed name: the focus starts on OK and Tab follows the dialog's focus order.
    press(Qt::Key_S, Qt::ControlModifier);
    SaveDialog* save = m_shell->saveDialog();
    QVERIFY(save && activate(save));
    QCOMPARE(focusedName(), QStringLiteral("OKButton"));
    const QStringList saveOrder = guitest::tabChain(focused(), 6);
    QCOMPARE(tabWalk(5), saveOrder);
    press(Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(focusedName(), QStringLiteral("Text1"));
    press(Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(focused(), QStringLiteral("Tastatur"));
    press(Qt::Key_Tab);
    press(Qt::Key_Tab);
    QCOMPARE(focusedName(), QStringLiteral("OKButton"));
    press(Qt::Key_Space);
    QTRY_VERIFY(!m_shell->saveDialog());
    const QString saved = QDir(m_folder->path()).filePath(QStringLiteral("Tastatur.tabelle"));
    QCOMPARE(tablefileio::loadTable(saved).values, iso.values);
    QVERIFY(!table.document().isEditing());
    QCOMPARE(messages::shownTexts(), QStringList());

    // Open it again. The labels are emptied first, so that only the open can fill them.
    table.clearAfterDelete();
    QVERIFY(activate(main));
    press(Qt::Key_A, Qt::ControlModifier);
    OpenDialog* open = m_shell->openDialog();
    QVERIFY(open && activate(open));
    QCOMPARE(focusedName(), QStringLiteral("OKButton"));
    const QStringList openOrder = guitest::tabChain(focused(), 7);
    QCOMPARE(tabWalk(6), openOrder);
    // Back to the file list, whose first file is the one just saved.
    press(Qt::Key_Tab, Qt::ShiftModifier);
    press(Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(focusedName(), QStringLiteral("File1"));
    press(Qt::Key_Home);
    QCOMPARE(shownPath(table.document()), QDir::toNativeSeparators(saved));
    press(Qt::Key_Tab);
    press(Qt::Key_Tab);
    press(Qt::Key_Tab);
    QCOMPARE(focusedName(), QStringLiteral("OKButton"));
    press(Qt::Key_Space);
    QTRY_VERIFY(!m_shell->openDialog());
    QCOMPARE(view.labelCaptions().mid(1), iso.values);

    // Transfer into the stand-in KORVANT.
    m_sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_sim.start(QStringLiteral(KORVANT_SIM),
                {QStringLiteral("--headless"), QStringLiteral(SAMPLE_PART_PROGRAM)});
    QVERIFY(standin::waitOnBus());
    const int untoleranced = untolerancedDimensions();
    QVERIFY(untoleranced > 0);
    QVERIFY(activate(main));
    press(Qt::Key_Q, Qt::ControlModifier);
    QCOMPARE(messages::shownTexts(), QStringList());
    QVERIFY(untolerancedDimensions() < untoleranced);
}

QTEST_MAIN(TestKeyboard)
#include "TestKeyboard.moc"
