// The main window: its menus, toolbar and texts, the table's start state, the
// new and edit commands, the keyboard order, the exit question and Qt's own
// texts in German.
#include "base/Version.h"
#include "app/GermanQtTexts.h"
#include "tests/support/GuiTestSupport.h"
#include "app/MainWindow.h"
#include "files/OpenDialog.h"
#include "files/SaveDialog.h"
#include "base/MessageBox.h"
#include "app/Shell.h"
#include "table/ToleranceTable.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QToolBar>

#include <memory>

using guitest::child;
using Answer = MessageBox::Answer;

namespace {

const QString NoTable = QStringLiteral("keine Tabelle gewählt");

QStringList captionsOf(const ToleranceTable& table)
{
    return table.labelCaptions();
}

// Fills the 71 display captions with their own cell names, as an opened table would.
void showNamedValues(ToleranceTable& table)
{
    QStringList values;
    for (const auto& cell : cells::valueOrder())
        values << QString::fromStdString(cells::boxName(cell));
    table.showValues(values);
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_settingsFolder;
    std::unique_ptr<Shell> m_shell;
    MainWindow* m_main = nullptr;

    ToleranceTable& table() { return m_main->table(); }
    bool boxesShown()
    {
        for (QLineEdit* box : table().findChildren<QLineEdit*>())
            if (!box->isVisible())
                return false;
        return true;
    }
    bool labelsShown()
    {
        for (const auto& cell : cells::labelOrder())
            if (!table().label(cell)->isVisible())
                return false;
        return true;
    }
    bool labelsHidden()
    {
        for (const auto& cell : cells::labelOrder())
            if (table().label(cell)->isVisible())
                return false;
        return true;
    }

private slots:
    void initTestCase() { loadGermanQtTexts(); }

    void init()
    {
        m_settingsFolder = std::make_unique<QTemporaryDir>();
        guitest::startClean(*m_settingsFolder);
        MessageBox::clearRecord();
        m_shell = std::make_unique<Shell>(m_settingsFolder->path());
        m_main = m_shell->showMainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(m_main));
    }

    void cleanup()
    {
        QVERIFY(!MessageBox::hasPendingAnswers());
        m_shell.reset();
    }

    void startsInDisplayModeWithoutTable()
    {
        QCOMPARE(m_main->windowTitle(), QStringLiteral("Dalmerin Version " DALMERIN_VERSION));
        QCOMPARE(child<QLabel>(m_main, QStringLiteral("Tab_Name"))->text(), NoTable);
        const QStringList captions = captionsOf(table());
        QCOMPARE(captions.size(), 72);
        QCOMPARE(child<QLabel>(m_main, QStringLiteral("Über1_T"))->text(), QStringLiteral("0"));
        QCOMPARE(captions.mid(1), QStringList(71, QStringLiteral(" ")));
        QVERIFY(labelsShown());
        QCOMPARE(table().findChildren<QLineEdit*>().size(), 71);
        for (QLineEdit* box : table().findChildren<QLineEdit*>())
            QVERIFY(!box->isVisible());
        QVERIFY(!child<QLineEdit>(m_main, QStringLiteral("Über1")));
        QVERIFY(child<QLineEdit>(m_main, QStringLiteral("MT18")));
        QVERIFY(child<QLabel>(m_main, QStringLiteral("MT18_T")));
    }

    void headersNameTheColumns()
    {
        const QStringList texts = {"Nennmaßbereich", "Lineartoleranz", "über", "bis",
                                   "Plus Tol.",      "Minus Tol."};
        for (int i = 0; i < 12; ++i)
            QCOMPARE(child<QLabel>(m_main, QStringLiteral("Label%1").arg(i + 1))->text(), texts[i % 6]);
    }

    void menusCarryTheirCaptionsAndShortcuts()
    {
        struct Expected
        {
            const char* menu;
            const char* menuCaption;
            QStringList items; // name|caption|shortcut, "-" separators by name only
        };
        const Expected expected[] = {
            {"Menü_1",
             "&Datei",
             {"Setup|Setup|F5", "Linie5", "START|Ausführen|Ctrl+Q", "Linie7", "Exit|Beenden|Ctrl+B"}},
            {"Tabelle",
             "&Tabelle",
             {"Tab_Edit|Bearbeiten|Ctrl+E", "Tab_Neu_M|Neu erstellen|Ctrl+N", "Tab_SAVE_M|Speichern|Ctrl+S",
              "Tab_DEL_M|Löschen|Ctrl+D", "Linie1", "Select|Auswählen|Ctrl+A"}},
            {"Menü_2", "&Hilfe", {"SERVICE|Software Service|", "Linie1_Hilfe", "Info|Info (Dalmerin)|"}},
        };
        const QList<QAction*> menuActions = m_main->menuBar()->actions();
        QCOMPARE(menuActions.size(), 3);
        for (int m = 0; m < 3; ++m) {
            QMenu* menu = menuActions[m]->menu();
            QCOMPARE(menu->objectName(), QString::fromUtf8(expected[m].menu));
            QCOMPARE(menu->title(), QString::fromUtf8(expected[m].menuCaption));
            const QList<QAction*> items = menu->actions();
            QCOMPARE(items.size(), expected[m].items.size());
            for (int i = 0; i < items.size(); ++i) {
                const QStringList parts = expected[m].items[i].split(QLatin1Char('|'));
                QCOMPARE(items[i]->objectName(), parts[0]);
                QVERIFY(items[i]->isEnabled() && items[i]->isVisible());
                if (parts.size() == 1) {
                    QVERIFY(items[i]->isSeparator());
                    continue;
                }
                QCOMPARE(items[i]->text(), parts[1]);
                QCOMPARE(items[i]->shortcut().toString(QKeySequence::PortableText), parts[2]);
            }
        }
    }

    void toolbarShowsPicturesWithTooltips()
    {
        auto* toolbar = child<QToolBar>(m_main, QStringLiteral("Toolbar1"));
        QVERIFY(toolbar);
        const QList<QAction*> buttons = toolbar->actions();
        QCOMPARE(buttons.size(), 8);
        const QStringList tips = {"Ausführen",
                                  "",
                                  "Öffnen einer Tabelle",
                                  "",
                                  "Tabelle bearbeiten",
                                  "Tabelle neu erstellen",
                                  "Tabelle speichern",
                                  "Tabelle löschen"};
        for (int i = 0; i < 8; ++i) {
            QCOMPARE(buttons[i]->isSeparator(), tips[i].isEmpty());
            if (tips[i].isEmpty())
                continue;
            QCOMPARE(buttons[i]->toolTip(), tips[i]);
            QVERIFY(buttons[i]->text().isEmpty());
            QVERIFY(!buttons[i]->icon().pixmap(QSize(24, 22)).isNull());
        }
    }

    void newTableEmptiesEverythingButTheFixedBound()
    {
        showNamedValues(table());
        table().setTablePath(QStringLiteral("/daten/Flansch.tabelle"));
        QVERIFY(guitest::trigger(m_main, QStringLiteral("Tab_Neu_M")));
        QVERIFY(table().isEditMode());
        QVERIFY(boxesShown());
        QVERIFY(labelsHidden());
        QCOMPARE(table().boxTexts(), QStringList(71, QString()));
        QCOMPARE(captionsOf(table()).first(), QStringLiteral("0"));
        QCOMPARE(captionsOf(table()).mid(1), QStringList(71, QString()));
        QCOMPARE(table().tablePath(), QStringLiteral("/daten/Flansch.tabelle"));

        // During an edit, "Neu erstellen" empties the boxes again without a question.
        table().box({cells::Column::Plus, 4})->setText(QStringLiteral("0,1"));
        QVERIFY(guitest::trigger(m_main, QStringLiteral("Toolbar1_6")));
        QCOMPARE(table().boxTexts(), QStringList(71, QString()));
        QVERIFY(MessageBox::shownTexts().isEmpty());
    }

    void editIsRefusedWithoutTable()
    {
        MessageBox::setNextAnswer(Answer::Ok);
        QVERIFY(guitest::trigger(m_main, QStringLiteral("Tab_Edit")));
        QCOMPARE(MessageBox::shownTexts(),
                 QStringList{"Sie müssen erst eine zu bearbeitende Tabelle auswählen"});
        QVERIFY(!table().isEditMode());
        QVERIFY(labelsShown());
    }

    void editCopiesEachCaptionIntoItsOwnBox()
    {
        showNamedValues(table());
        table().label({cells::Column::Minus, 18})->setText(QStringLiteral(" ")); // the initial single blank
        table().setTablePath(QStringLiteral("/daten/Flansch.tabelle"));
        QVERIFY(guitest::trigger(m_main, QStringLiteral("Toolbar1_5")));
        QVERIFY(table().isEditMode());
        QVERIFY(labelsHidden());
        for (const auto& cell : cells::valueOrder()) {
            const QString expected = cell == cells::Cell{cells::Column::Minus, 18}
                                         ? QStringLiteral(" ")
                                         : QString::fromStdString(cells::boxName(cell));
            QCOMPARE(table().box(cell)->text(), expected);
        }
        QCOMPARE(captionsOf(table()).mid(1), QStringList(71, QString()));
        QCOMPARE(captionsOf(table()).first(), QStringLiteral("0"));

        // A second "Bearbeiten" keeps what was typed.
        table().box({cells::Column::Upper, 2})->setText(QStringLiteral("6"));
        QVERIFY(guitest::trigger(m_main, QStringLiteral("Tab_Edit")));
        QCOMPARE(table().box({cells::Column::Upper, 2})->text(), QStringLiteral("6"));
        QCOMPARE(table().box({cells::Column::Plus, 1})->text(), QStringLiteral("PT1"));
    }

    void tabMovesRangeByRange()
    {
        QVERIFY(guitest::trigger(m_main, QStringLiteral("Tab_Neu_M")));
        QLineEdit* first = child<QLineEdit>(m_main, QStringLiteral("Bis1"));
        first->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), first);
        QStringList visited{first->objectName()};
        for (int i = 1; i < 71; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QStringList expected;
        for (const auto& cell : cells::keyboardOrder())
            expected << QString::fromStdString(cells::boxName(cell));
        QCOMPARE(visited, expected);
    }

    void menuShortcutsWinOverTheBoxes()
    {
        QVERIFY(guitest::trigger(m_main, QStringLiteral("Tab_Neu_M")));
        QLineEdit* box = child<QLineEdit>(m_main, QStringLiteral("PT3"));
        box->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), box);
        // Ctrl+A selects all in a text box; here it is "Auswählen", refused in edit mode.
        MessageBox::setNextAnswer(Answer::Ok);
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(MessageBox::shownTexts(),
                 QStringList{"Sie müssen die aktuellen Tabellenwerte zuerst speichern"});
    }

    void toolbarButtonsRunTheirMenuCommands_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("menuItem");
        QTest::newRow("1 Ausführen") << 1 << QStringLiteral("START");
        QTest::newRow("3 Öffnen") << 3 << QStringLiteral("Select");
        QTest::newRow("5 Bearbeiten") << 5 << QStringLiteral("Tab_Edit");
        QTest::newRow("6 Neu") << 6 << QStringLiteral("Tab_Neu_M");
        QTest::newRow("7 Save") << 7 << QStringLiteral("Tab_SAVE_M");
        QTest::newRow("8 Delete") << 8 << QStringLiteral("Tab_DEL_M");
    }

    // Each button and its menu item leave the same traces: messages, mode and open dialogs.
    void toolbarButtonsRunTheirMenuCommands()
    {
        QFETCH(int, index);
        QFETCH(QString, menuItem);
        auto traces = [this](const QString& action) {
            MessageBox::clearRecord();
            MessageBox::setNextAnswer(Answer::Ok);
            const bool found = guitest::trigger(m_main, action);
            QStringList trace = MessageBox::shownTexts();
            trace << QString::number(found) << QString::number(table().isEditMode())
                  << QString::number(m_shell->openDialog() != nullptr)
                  << QString::number(m_shell->saveDialog() != nullptr);
            for (QWidget* dialog :
                 std::initializer_list<QWidget*>{m_shell->openDialog(), m_shell->saveDialog()})
                if (dialog)
                    delete dialog;
            MessageBox::clearRecord();
            return trace;
        };
        const QStringList byButton = traces(QStringLiteral("Toolbar1_%1").arg(index));
        const QStringList byMenu = traces(menuItem);
        QCOMPARE(byButton, byMenu);
        QVERIFY(byButton != QStringList({"1", "0", "0", "0"})); // each command leaves some trace
    }

    void secondOpenOrSaveKeepsTheOpenDialog_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("Auswählen") << QStringLiteral("Select");
        QTest::newRow("Speichern") << QStringLiteral("Tab_SAVE_M");
    }

    void secondOpenOrSaveKeepsTheOpenDialog()
    {
        QFETCH(QString, command);
        auto dialog = [this, &command]() -> QWidget* {
            if (command == QLatin1String("Select"))
                return m_shell->openDialog();
            return m_shell->saveDialog();
        };
        QVERIFY(guitest::trigger(m_main, command));
        QWidget* first = dialog();
        QVERIFY(first && first->isVisible());
        QLineEdit* name = child<QLineEdit>(first, QStringLiteral("Text1"));
        QCOMPARE(name->text(), QStringLiteral("*.tabelle"));
        name->setText(QStringLiteral("Flansch"));
        QVERIFY(guitest::trigger(m_main, command));
        QCOMPARE(dialog(), first);
        QCOMPARE(name->text(), QStringLiteral("Flansch"));
        QVERIFY(MessageBox::shownTexts().isEmpty());
    }

    void exitYesWhileSavingLeavesTheSaveDialogAsItIs()
    {
        QVERIFY(guitest::trigger(m_main, QStringLiteral("Tab_Neu_M")));
        MessageBox::setNextAnswer(Answer::Yes);
        QVERIFY(guitest::trigger(m_main, QStringLiteral("Exit")));
        QWidget* save = static_cast<QWidget*>(m_shell->saveDialog());
        QVERIFY(save && save->isVisible());
        QLineEdit* name = child<QLineEdit>(save, QStringLiteral("Text1"));
        name->setText(QStringLiteral("Flansch"));
        MessageBox::setNextAnswer(Answer::Yes);
        QVERIFY(guitest::trigger(m_main, QStringLiteral("Exit")));
        QCOMPARE(static_cast<QWidget*>(m_shell->saveDialog()), save);
        QCOMPARE(name->text(), QStringLiteral("Flansch"));
        QVERIFY(table().isEditMode());
    }

    void toolbarSeparatorsDoNothing()
    {
        showNamedValues(table());
        const QStringList before = captionsOf(table());
        m_main->toolbarButtonClicked(2);
        m_main->toolbarButtonClicked(4);
        QCOMPARE(captionsOf(table()), before);
        QVERIFY(!table().isEditMode());
        QVERIFY(MessageBox::shownTexts().isEmpty());
    }

    void exitInDisplayModeEndsWithoutQuestion()
    {
        QSignalSpy exit(m_shell.get(), &Shell::exitRequested);
        QVERIFY(guitest::trigger(m_main, QStringLiteral("Exit")));
        QCOMPARE(exit.count(), 1);
        QVERIFY(MessageBox::shownTexts().isEmpty());
    }

    void exitInEditModeAsks_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("ends");
        QTest::newRow("Nein ends without saving") << int(Answer::No) << true;
        QTest::newRow("Ja stays to save") << int(Answer::Yes) << false;
    }

    void exitInEditModeAsks()
    {
        QFETCH(int, answer);
        QFETCH(bool, ends);
        QVERIFY(guitest::trigger(m_main, QStringLiteral("Tab_Neu_M")));
        QSignalSpy exit(m_shell.get(), &Shell::exitRequested);
        MessageBox::setNextAnswer(Answer(answer));
        QVERIFY(guitest::trigger(m_main, QStringLiteral("Exit")));
        QCOMPARE(MessageBox::shownTexts(), QStringList{"Wollen Sie die aktuellen Tabellenwerte speichern ?"});
        QCOMPARE(exit.count(), ends ? 1 : 0);
        if (!ends) {
            QVERIFY(m_main->isVisible());
            QVERIFY(table().isEditMode());
        }
    }

    // The real box, no queued answer: neither Escape nor the frame's close
    // button answers the exit question, so nothing ends unsaved; "Ja" does.
    void theRealExitQuestionTakesOnlyJaOrNein()
    {
        QVERIFY(guitest::trigger(m_main, QStringLiteral("Tab_Neu_M")));
        QSignalSpy exit(m_shell.get(), &Shell::exitRequested);
        QString question;
        bool stayedOpen = false;
        QTimer answerer;
        connect(&answerer, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            question = box->text();
            QTest::keyClick(box, Qt::Key_Escape);
            box->close();
            stayedOpen = box->isVisible() && !box->clickedButton();
            box->button(QMessageBox::Yes)->click();
        });
        answerer.start(10);
        QVERIFY(guitest::trigger(m_main, QStringLiteral("Exit")));
        answerer.stop();
        QCOMPARE(question, QStringLiteral("Wollen Sie die aktuellen Tabellenwerte speichern ?"));
        QVERIFY(stayedOpen);
        QCOMPARE(exit.count(), 0);
        QVERIFY(m_shell->saveDialog()); // "Ja": the save dialog opens
    }

    // Qt's own texts are German whatever the system's language: an edit box's
    // context menu and the shortcut texts in the menus.
    void qtsOwnTextsAreGerman()
    {
        QVERIFY(guitest::trigger(m_main, QStringLiteral("Tab_Neu_M")));
        std::unique_ptr<QMenu> menu(
            child<QLineEdit>(m_main, QStringLiteral("PT3"))->createStandardContextMenu());
        QStringList texts;
        for (const QAction* action : menu->actions())
            if (!action->isSeparator())
                texts << action->text();
        QCOMPARE(texts,
                 QStringList({"&Rückgängig\tStrg+Z", "Wieder&herstellen\tStrg+Y", "&Ausschneiden\tStrg+X",
                              "&Kopieren\tStrg+C", "Einf&ügen\tStrg+V", "Löschen", "Alles auswählen"}));
        QCOMPARE(
            child<QAction>(m_main, QStringLiteral("START"))->shortcut().toString(QKeySequence::NativeText),
            QStringLiteral("Strg+Q"));
        QCOMPARE(
            child<QAction>(m_main, QStringLiteral("Setup"))->shortcut().toString(QKeySequence::NativeText),
            QStringLiteral("F5"));
    }

    // What a value label or the table path shows is never taken as formatting.
    void valuesAndPathsShowAsPlainText()
    {
        QStringList values(71, QStringLiteral("<b>5</b>"));
        table().showValues(values);
        table().setTablePath(QStringLiteral("/daten/<i>a</i>.tabelle"));
        auto* path = child<QLabel>(m_main, QStringLiteral("Tab_Name"));
        QCOMPARE(path->textFormat(), Qt::PlainText);
        QCOMPARE(path->text(), QStringLiteral("/daten/<i>a</i>.tabelle"));
        for (const auto& cell : cells::labelOrder())
            QCOMPARE(table().label(cell)->textFormat(), Qt::PlainText);
    }

    void closeButtonClosesWithoutQuestion()
    {
        QVERIFY(guitest::trigger(m_main, QStringLiteral("Tab_Neu_M")));
        m_main->close();
        QTRY_VERIFY(!m_shell->mainWindow());
        QVERIFY(MessageBox::shownTexts().isEmpty());
    }
};

QTEST_MAIN(TestMainWindow)
#include "TestMainWindow.moc"
