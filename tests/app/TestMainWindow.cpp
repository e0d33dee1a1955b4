// The main window: its menus, toolbar and texts, which command each item
// runs, the exit question and Qt's own texts in German. The table itself and
// its commands are tested under tests/table/.
#include "tests/support/MessageRecorder.h"
#include "app/GermanQtTexts.h"
#include "tests/support/GuiTestSupport.h"
#include "tests/support/ShellTestSupport.h"
#include "app/MainWindow.h"
#include "files/gui/OpenDialog.h"
#include "files/gui/SaveDialog.h"
#include "base/MessageBox.h"
#include "app/Shell.h"
#include "table/gui/CheckedTable.h"
#include "table/gui/ToleranceTable.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTextDocumentFragment>
#include <QTimer>
#include <QToolTip>
#include <QToolBar>
#include <QWindow>

#include <memory>

using guitest::child;
using Answer = MessageBox::Answer;

namespace {

// A shown table of 71 values, as if one had been opened.
const QStringList Shown(71, QStringLiteral("7"));

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_settingsFolder;
    std::unique_ptr<Shell> m_shell;
    MainWindow* m_main = nullptr;

    CheckedTable& table() { return m_main->table(); }
    ToleranceTable& view() { return m_main->tableView(); }
    // A tooltip as its reader sees it, its line breaks as blanks.
    static QString plainToolTip(const QWidget* widget)
    {
        return QTextDocumentFragment::fromHtml(widget->toolTip()).toPlainText().simplified();
    }
    static QWidget* findToolTip()
    {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->inherits("QTipLabel"))
                return window;
        return nullptr;
    }

private slots:
    void initTestCase() { loadGermanQtTexts(); }

    void init()
    {
        m_shell = guitest::startShell(m_settingsFolder);
        m_main = m_shell->showMainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(m_main));
    }

    void cleanup()
    {
        QVERIFY(!messages::hasPendingAnswers());
        m_shell.reset();
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
             {"Setup|Setup|F5", "Linie5", "START|Ausführen|Ctrl+Q", "Vorschau|Vorschau…|F6",
              "Bericht|Letzte Übertragung…|F7", "Linie7", "Exit|Beenden|Ctrl+B"}},
            {"Tabelle",
             "&Tabelle",
             {"Tab_Edit|Bearbeiten|Ctrl+E", "Tab_Neu_M|Neu erstellen|Ctrl+N", "Tab_SAVE_M|Speichern|Ctrl+S",
              "Tab_DEL_M|Löschen|Ctrl+D", "Linie1", "Select|Auswählen|Ctrl+A", "Pruefen|Prüfen…|F8",
              "Freigeben|&Freigeben…|"}},
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

    // The menu items run the table's own commands: "Bearbeiten" is refused
    // without a table and copies a shown one into the boxes, "Neu erstellen" empties them.
    void tableMenuItemsRunTheTableCommands()
    {
        messages::setNextAnswer(Answer::Ok);
        QVERIFY(guitest::trigger(m_main, QStringLiteral("Tab_Edit")));
        QCOMPARE(messages::shownTexts(),
                 QStringList{"Sie müssen erst eine zu bearbeitende Tabelle auswählen"});
        QVERIFY(!table().document().isEditing());

        table().showFileValues(Shown);
        table().setPath(QStringLiteral("/daten/Flansch.tabelle"));
        QVERIFY(guitest::trigger(m_main, QStringLiteral("Tab_Edit")));
        QVERIFY(table().document().isEditing());
        QCOMPARE(view().boxTexts(), Shown);
        QVERIFY(guitest::trigger(m_main, QStringLiteral("Tab_Neu_M")));
        QCOMPARE(view().boxTexts(), QStringList(71, QString()));
    }

    // The preview attaches as "Ausführen" does; the last run's report needs a run first.
    void previewAndLastTransferRefuseAsTheyShould()
    {
        messages::setNextAnswer(Answer::Ok);
        QVERIFY(guitest::trigger(m_main, QStringLiteral("Vorschau")));
        messages::setNextAnswer(Answer::Ok);
        QVERIFY(guitest::trigger(m_main, QStringLiteral("Bericht")));
        QCOMPARE(messages::shownTexts(),
                 (QStringList{"Sie müssen erst eine Tabelle auswählen", "Es gibt noch keine Übertragung."}));
    }

    void menuShortcutsWinOverTheBoxes()
    {
        QVERIFY(guitest::trigger(m_main, QStringLiteral("Tab_Neu_M")));
        QLineEdit* box = child<QLineEdit>(m_main, QStringLiteral("PT3"));
        box->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), box);
        // Ctrl+A selects all in a text box; here it is "Auswählen", refused in edit mode.
        messages::setNextAnswer(Answer::Ok);
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(messages::shownTexts(),
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
            messages::clearRecord();
            messages::setNextAnswer(Answer::Ok);
            const bool found = guitest::trigger(m_main, action);
            QStringList trace = messages::shownTexts();
            trace << QString::number(found) << QString::number(table().document().isEditing())
                  << QString::number(m_shell->openDialog() != nullptr)
                  << QString::number(m_shell->saveDialog() != nullptr);
            for (QWidget* dialog :
                 std::initializer_list<QWidget*>{m_shell->openDialog(), m_shell->saveDialog()})
                if (dialog)
                    delete dialog;
            messages::clearRecord();
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
        QVERIFY(messages::shownTexts().isEmpty());
    }

    void exitYesWhileSavingLeavesTheSaveDialogAsItIs()
    {
        QVERIFY(guitest::trigger(m_main, QStringLiteral("Tab_Neu_M")));
        messages::setNextAnswer(Answer::Yes);
        QVERIFY(guitest::trigger(m_main, QStringLiteral("Exit")));
        QWidget* save = static_cast<QWidget*>(m_shell->saveDialog());
        QVERIFY(save && save->isVisible());
        QLineEdit* name = child<QLineEdit>(save, QStringLiteral("Text1"));
        name->setText(QStringLiteral("Flansch"));
        messages::setNextAnswer(Answer::Yes);
        QVERIFY(guitest::trigger(m_main, QStringLiteral("Exit")));
        QCOMPARE(static_cast<QWidget*>(m_shell->saveDialog()), save);
        QCOMPARE(name->text(), QStringLiteral("Flansch"));
        QVERIFY(table().document().isEditing());
    }

    void toolbarSeparatorsDoNothing()
    {
        table().showFileValues(Shown);
        const QStringList before = view().labelCaptions();
        m_main->toolbarButtonClicked(2);
        m_main->toolbarButtonClicked(4);
        QCOMPARE(view().labelCaptions(), before);
        QVERIFY(!table().document().isEditing());
        QVERIFY(messages::shownTexts().isEmpty());
    }

    void exitInDisplayModeEndsWithoutQuestion()
    {
        QSignalSpy exit(m_shell.get(), &Shell::exitRequested);
        QVERIFY(guitest::trigger(m_main, QStringLiteral("Exit")));
        QCOMPARE(exit.count(), 1);
        QVERIFY(messages::shownTexts().isEmpty());
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
        messages::setNextAnswer(Answer(answer));
        QVERIFY(guitest::trigger(m_main, QStringLiteral("Exit")));
        QCOMPARE(messages::shownTexts(), QStringList{"Wollen Sie die aktuellen Tabellenwerte speichern ?"});
        QCOMPARE(exit.count(), ends ? 1 : 0);
        if (!ends) {
            QVERIFY(m_main->isVisible());
            QVERIFY(table().document().isEditing());
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

    // The frame's close button: in display mode the window just closes; in
    // edit mode it asks as "Beenden" does, "Nein" ends, "Ja" opens the save dialog.
    void closeButtonAsksInEditMode_data()
    {
        QTest::addColumn<bool>("editMode");
        QTest::addColumn<int>("answer");
        QTest::newRow("display mode") << false << int(Answer::Ok);
        QTest::newRow("edit mode, Nein") << true << int(Answer::No);
        QTest::newRow("edit mode, Ja") << true << int(Answer::Yes);
    }

    void closeButtonAsksInEditMode()
    {
        QFETCH(bool, editMode);
        QFETCH(int, answer);
        if (editMode) {
            QVERIFY(guitest::trigger(m_main, QStringLiteral("Tab_Neu_M")));
            messages::setNextAnswer(Answer(answer));
        }
        QSignalSpy exit(m_shell.get(), &Shell::exitRequested);
        m_main->windowHandle()->close();
        QCOMPARE(messages::shownTexts(),
                 editMode ? QStringList{"Wollen Sie die aktuellen Tabellenwerte speichern ?"}
                          : QStringList());
        const bool stays = answer == int(Answer::Yes);
        QCOMPARE(exit.count(), answer == int(Answer::No) ? 1 : 0);
        QCOMPARE(m_shell->saveDialog() != nullptr, stays);
        if (stays)
            QVERIFY(m_main->isVisible() && table().document().isEditing());
        else
            QTRY_VERIFY(!m_shell->mainWindow());
    }

    // The layout is fixed, so is the window: no maximise button, one size only.
    void theWindowHasOneSize()
    {
        QVERIFY(!(m_main->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(m_main->windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(m_main->windowFlags() & Qt::WindowCloseButtonHint);
        const QSize size = m_main->size();
        QCOMPARE(m_main->minimumSize(), size);
        QCOMPARE(m_main->maximumSize(), size);
        m_main->resize(size * 2);
        QCOMPARE(m_main->size(), size);
        // The whole table fits: the last cell's box lies inside the window.
        QVERIFY(guitest::trigger(m_main, QStringLiteral("Tab_Neu_M")));
        QLineEdit* last = child<QLineEdit>(m_main, QStringLiteral("MT18"));
        QVERIFY(m_main->rect().contains(QRect(last->mapTo(m_main, QPoint(0, 0)), last->size())));
        QLabel* line = child<QLabel>(m_main, QStringLiteral("TableCheckLine"));
        QVERIFY(m_main->rect().contains(QRect(line->mapTo(m_main, QPoint(0, 0)), line->size())));
        QVERIFY(line->y() > last->geometry().bottom());
    }

    // The line below the table tells what the check finds, in both modes; in
    // edit mode a box with a finding is tinted, its tooltip the finding, as
    // the user types; F8 lists every finding, Escape closes the list.
    void theTableCheckShowsAsTheUserTypes()
    {
        QLabel* line = child<QLabel>(m_main, QStringLiteral("TableCheckLine"));
        QStringList values(71, QString());
        values[cells::valueIndex({cells::Column::Upper, 1})] = QStringLiteral("3");
        values[cells::valueIndex({cells::Column::Plus, 1})] = QStringLiteral("0,1");
        values[cells::valueIndex({cells::Column::Minus, 1})] = QStringLiteral("0,1 mm");
        table().showFileValues(values);
        table().setPath(QStringLiteral("/tmp/Welle.tabelle"));
        QCOMPARE(line->text(), QStringLiteral("1 Fehler, 0 Hinweise – F8 zeigt sie"));

        QVERIFY(guitest::trigger(m_main, QStringLiteral("Tab_Edit")));
        QLineEdit* minus = view().box({cells::Column::Minus, 1});
        const QColor plain = view().box({cells::Column::Plus, 1})->palette().color(QPalette::Base);
        QVERIFY(minus->palette().color(QPalette::Base) != plain);
        QCOMPARE(plainToolTip(minus),
                 QStringLiteral("Fehler: Bereich 1, Minus Tol.: „0,1 mm“ ist keine Zahl."));
        minus->setFocus();
        minus->selectAll();
        QTest::keyClicks(minus, QStringLiteral("-0,1"));
        QVERIFY(line->text().startsWith(QStringLiteral("1 Fehler")));
        QVERIFY(plainToolTip(minus).contains(QStringLiteral("ohne Vorzeichen")));
        minus->selectAll();
        QTest::keyClicks(minus, QStringLiteral("0,1"));
        QCOMPARE(line->text(), QStringLiteral("Tabelle geprüft: keine Auffälligkeiten"));
        QCOMPARE(minus->palette().color(QPalette::Base), plain);
        QVERIFY(minus->toolTip().isEmpty());

        QTest::keyClick(minus, Qt::Key_Backspace);
        QTest::keyClick(minus, Qt::Key_Backspace);
        QTest::keyClicks(minus, QStringLiteral("00"));
        QTest::keyClick(m_main, Qt::Key_F8);
        QDialog* list = child<QDialog>(m_main, QStringLiteral("TableCheck"));
        QVERIFY(list && list->isVisible());
        QCOMPARE(list->windowTitle(), QStringLiteral("Dalmerin – Tabelle prüfen"));
        auto* findings = child<QListWidget>(list, QStringLiteral("TableFindings"));
        QCOMPARE(findings->count(), 1);
        QCOMPARE(findings->item(0)->text(),
                 QStringLiteral("Hinweis: Bereich 1, Minus Tol.: „000“ wird als 0 gelesen."));
        QCOMPARE(list->focusWidget(), findings);
        QTest::keyClick(findings, Qt::Key_Escape);
        QTRY_VERIFY(!child<QDialog>(m_main, QStringLiteral("TableCheck")));
    }

    // "Freigeben…" from the menu: refused while no table is chosen and while
    // one is edited; F8 shows the whole Prüfsumme and the release.
    void releaseFromTheMenuAndItsShowingInPruefen()
    {
        messages::clearRecord();
        messages::setNextAnswer(Answer::Ok);
        QVERIFY(guitest::trigger(m_main, QStringLiteral("Freigeben")));
        QCOMPARE(messages::shownTexts(), QStringList("Sie müssen die freizugebende Tabelle zuerst auswählen"));

        QStringList values(71, QString());
        values[cells::valueIndex({cells::Column::Upper, 1})] = QStringLiteral("3");
        values[cells::valueIndex({cells::Column::Plus, 1})] = QStringLiteral("0,1");
        values[cells::valueIndex({cells::Column::Minus, 1})] = QStringLiteral("0,10");
        const std::string sum = "3465FEE3DD54033A3C569926D19085D909D4562062FACAD6655AD9213F508C18";
        table().showFileValues(values, {},
                               {TableRelease::State::Read,
                                {sum, "3", "", "M. Muster", "2026-12-01T09:15:00+01:00", ""}, {}});
        table().setPath(QStringLiteral("/tmp/Welle.tabelle"));
        QCOMPARE(child<QLabel>(m_main, QStringLiteral("TableReleaseLine"))->text(),
                 QStringLiteral("Prüfsumme 3465 FEE3 DD54 033A – Freigegeben: Stand 3, M. Muster, 01.12.2026"));
        QTest::keyClick(m_main, Qt::Key_F8);
        QDialog* list = child<QDialog>(m_main, QStringLiteral("TableCheck"));
        QVERIFY(list);
        QCOMPARE(child<QLabel>(list, QStringLiteral("TableCheckRelease"))->text(),
                 QStringLiteral("Prüfsumme 3465 FEE3 DD54 033A 3C56 9926 D190 85D9 09D4 5620 62FA CAD6 655A D921 "
                                "3F50 8C18\nFreigegeben: Stand 3, M. Muster, 01.12.2026"));
        QTest::keyClick(list, Qt::Key_Escape);
        QTRY_VERIFY(!child<QDialog>(m_main, QStringLiteral("TableCheck")));

        QVERIFY(guitest::trigger(m_main, QStringLiteral("Tab_Edit")));
        QCOMPARE(child<QLabel>(m_main, QStringLiteral("TableReleaseLine"))->text(),
                 QStringLiteral("Prüfsumme 3465 FEE3 DD54 033A"));
        messages::setNextAnswer(Answer::Ok);
        QVERIFY(guitest::trigger(m_main, QStringLiteral("Freigeben")));
        QCOMPARE(messages::shownTexts().last(), QStringLiteral("Sie müssen die aktuellen Tabellenwerte zuerst speichern"));
        QVERIFY(!child<QDialog>(m_main, QStringLiteral("ReleaseTable")));
    }

    // A long finding wraps at a readable width instead of running to the
    // screen's edge over the row pointed at.
    void aLongFindingsTooltipWraps()
    {
        QVERIFY(guitest::trigger(m_main, QStringLiteral("Tab_Neu_M")));
        QLineEdit* minus = view().box({cells::Column::Minus, 1});
        minus->setText(QStringLiteral("kein Wert ").repeated(20));
        QToolTip::showText(minus->mapToGlobal(minus->rect().center()), minus->toolTip(), minus);
        QWidget* tip = nullptr;
        QTRY_VERIFY((tip = findToolTip()) && tip->isVisible());
        // About 60 characters a line, the way a reader takes a sentence in.
        QVERIFY2(tip->width() <= 72 * tip->fontMetrics().averageCharWidth(), qPrintable(QString::number(tip->width())));
        QVERIFY(tip->height() > 2 * tip->fontMetrics().height());
        QToolTip::hideText();
    }
};

QTEST_MAIN(TestMainWindow)
#include "TestMainWindow.moc"
