// The way into the program and around the settings dialog: splash interval,
// captions of the start, settings, About and support windows, what the
// settings dialog writes, and the keys that answer the windows and boxes.
#include "tests/support/MessageRecorder.h"
#include "base/Version.h"
#include "app/Credits.h"
#include "korvant-sim/SimHost.h"
#include "tests/transfer/FakeHost.h"
#include "tests/transfer/TransferCases.h"
#include "tests/support/FileModes.h"
#include "tests/support/GuiTestSupport.h"
#include "tests/support/ShellTestSupport.h"
#include "app/InfoWindow.h"
#include "app/MainWindow.h"
#include "base/MessageBox.h"
#include "files/gui/OpenDialog.h"
#include "app/SetupDialog.h"
#include "base/Settings.h"
#include "app/Shell.h"
#include "app/SplashWindow.h"
#include "table/gui/CheckedTable.h"
#include "table/gui/ToleranceTable.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTimer>
#include <QWindow>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace {

// Under a running event loop: each step acts once its condition holds,
// polled every 10 ms as the QTRY_ macros do; the timer ends with `context`.
using Step = std::pair<std::function<bool()>, std::function<void()>>;
void runSteps(QObject* context, std::vector<Step> steps)
{
    auto* poll = new QTimer(context);
    auto next = std::make_shared<std::size_t>(0);
    QObject::connect(poll, &QTimer::timeout, context, [poll, next, steps = std::move(steps)] {
        if (*next < steps.size() && steps[*next].first())
            steps[(*next)++].second();
        if (*next == steps.size())
            poll->stop();
    });
    poll->start(10);
}

} // namespace

using guitest::child;

class TestStartAndSettings : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_settingsFolder;
    std::unique_ptr<sim::SimHost> m_korvant; // the transfer cases' part program, in-process
    std::unique_ptr<Shell> m_shell;

    // A stored value, or "(fehlt)" when the key is missing.
    static QString stored(const QString& key)
    {
        QSettings store(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("KORVANT_Dalmerin"));
        return store.value(QStringLiteral("Settings/") + key, QStringLiteral("(fehlt)")).toString();
    }

    MainWindow* startAtMainWindow()
    {
        settings::write(settings::Start, QStringLiteral("0"));
        m_shell->start();
        [&] { QTRY_VERIFY(m_shell->mainWindow()); }();
        return m_shell->mainWindow();
    }

private slots:
    void init()
    {
        m_korvant = std::make_unique<sim::SimHost>(transfercases::partProgram(),
                                                   sim::PartProgramState::Active, sim::FaultPlan{});
        m_shell =
            guitest::startShell(m_settingsFolder, [this] { return std::make_unique<FakeHost>(*m_korvant); });
    }

    void cleanup()
    {
        m_shell.reset();
        QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    // Every message looks alike: plain text, no icon, the program title,
    // German buttons, the first button the default.
    void messageBoxesLookAlike_data()
    {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<QStringList>("captions");
        QTest::newRow("notice") << int(MessageBox::Buttons::Ok) << QStringList{"OK"};
        QTest::newRow("question") << int(MessageBox::Buttons::YesNo) << QStringList{"Ja", "Nein"};
        QTest::newRow("confirmation") << int(MessageBox::Buttons::OkCancel) << QStringList{"OK", "Abbrechen"};
    }

    void messageBoxesLookAlike()
    {
        QFETCH(int, buttons);
        QFETCH(QStringList, captions);
        const auto box = MessageBox::build(nullptr, QStringLiteral("<b>5</b>"), MessageBox::Buttons(buttons));
        QCOMPARE(box->windowTitle(), QStringLiteral("Dalmerin"));
        QCOMPARE(box->icon(), QMessageBox::NoIcon);
        QCOMPARE(box->text(), QStringLiteral("<b>5</b>"));
        QCOMPARE(box->textFormat(), Qt::PlainText);
        QStringList shown;
        for (QAbstractButton* button : box->buttons())
            shown << button->text();
        shown.sort();
        captions.sort();
        QCOMPARE(shown, captions);
        QCOMPARE(box->standardButton(box->defaultButton()),
                 buttons == int(MessageBox::Buttons::YesNo) ? QMessageBox::Yes : QMessageBox::Ok);
    }

    // Escape and the frame's close button answer a notice with OK and a
    // confirmation with Cancel; the Yes/No question stays until "Ja" or "Nein".
    void escapeAndCloseAnswerAllButTheQuestion_data()
    {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("dismissedAs"); // NoButton: not dismissed
        QTest::newRow("notice") << int(MessageBox::Buttons::Ok) << int(QMessageBox::Ok);
        QTest::newRow("question") << int(MessageBox::Buttons::YesNo) << int(QMessageBox::NoButton);
        QTest::newRow("confirmation") << int(MessageBox::Buttons::OkCancel) << int(QMessageBox::Cancel);
    }

    void escapeAndCloseAnswerAllButTheQuestion()
    {
        QFETCH(int, buttons);
        QFETCH(int, dismissedAs);
        for (const bool byEscape : {true, false}) {
            const auto box = MessageBox::build(nullptr, QStringLiteral("Text"), MessageBox::Buttons(buttons));
            box->show();
            QVERIFY(QTest::qWaitForWindowExposed(box.get()));
            if (byEscape)
                QTest::keyClick(box.get(), Qt::Key_Escape);
            else
                box->close();
            QCOMPARE(int(box->standardButton(box->clickedButton())), dismissedAs);
            QCOMPARE(box->isVisible(), dismissedAs == QMessageBox::NoButton);
        }
    }

    void enterTakesTheQuestionsDefaultJa()
    {
        const auto box = MessageBox::build(nullptr, QStringLiteral("Text"), MessageBox::Buttons::YesNo);
        box->show();
        QVERIFY(QTest::qWaitForWindowExposed(box.get()));
        QTest::keyClick(box.get(), Qt::Key_Return);
        QCOMPARE(box->standardButton(box->clickedButton()), QMessageBox::Yes);
        QVERIFY(!box->isVisible());
    }

    void splashIntervalFollowsStart_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("interval");
        QTest::newRow("missing") << QString() << 3000;
        QTest::newRow("1") << QStringLiteral("1") << 3000;
        QTest::newRow("0") << QStringLiteral("0") << 1;
        QTest::newRow("blank before 0") << QStringLiteral(" 0") << 3000;
        QTest::newRow("other text") << QStringLiteral("nein") << 3000;
    }

    // The start window is looked at before any event loop runs, so that its
    // 1 ms tick cannot come first however busy the machine is.
    void splashIntervalFollowsStart()
    {
        QFETCH(QString, start);
        QFETCH(int, interval);
        if (!start.isNull())
            settings::write(settings::Start, start);
        const std::unique_ptr<SplashWindow> splash = std::make_unique<SplashWindow>();
        QCOMPARE(splash->objectName(), QStringLiteral("START"));
        QCOMPARE(splash->interval(), interval);
        QCOMPARE(child<QLabel>(splash.get(), QStringLiteral("lblVersion"))->text(),
                 QStringLiteral("Version " DALMERIN_VERSION));
        QCOMPARE(child<QLabel>(splash.get(), QStringLiteral("lblProductName"))->text(),
                 QStringLiteral("Dalmerin"));
        QCOMPARE(child<QLabel>(splash.get(), QStringLiteral("lblWarning"))->text(),
                 QStringLiteral("Dieses Produkt wurde entwickelt für KORVANT ab Version 3.2x"));
        QCOMPARE(child<QLabel>(splash.get(), QStringLiteral("Design"))->text(), QStringLiteral("Entwickelt von"));
        // Only the tick opens the main window; with 3000 ms it is certainly not there yet.
        if (interval > 1) {
            m_shell->start();
            QVERIFY(m_shell->splash());
            QVERIFY(!m_shell->mainWindow());
        }
    }

    void splashIsCentredAndShowsTheBuildsCredits()
    {
        m_shell->start();
        SplashWindow* splash = m_shell->splash();
        QVERIFY(QTest::qWaitForWindowExposed(splash));
        const QPoint offset =
            splash->frameGeometry().center() - splash->screen()->availableGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 2,
                 qPrintable(QStringLiteral("off by %1, %2").arg(offset.x()).arg(offset.y())));
        for (const char* name : {"lblCompany", "Label1"}) {
            auto* label = child<QLabel>(splash, QString::fromLatin1(name));
            QCOMPARE(label->text(), QString::fromUtf8(credits::DeveloperName));
            QVERIFY2(label->width() >= label->sizeHint().width(), name); // not cut off
        }
    }

    void splashTickOpensTheMainWindow()
    {
        MainWindow* main = startAtMainWindow();
        QTRY_VERIFY(!m_shell->splash());
        QVERIFY(main->isVisible());
        QCOMPARE(main->windowTitle(), QStringLiteral("Dalmerin Version " DALMERIN_VERSION));
        QCOMPARE(main->objectName(), QStringLiteral("Tabelle"));
    }

    void emptyStoreChecksBothBoxes()
    {
        startAtMainWindow();
        QVERIFY(guitest::trigger(m_shell->mainWindow(), QStringLiteral("Setup")));
        SetupDialog* setup = m_shell->setupDialog();
        QVERIFY(setup);
        QCOMPARE(setup->windowTitle(), QStringLiteral("Konfigurationsfenster für Dalmerin"));
        QCOMPARE(child<QGroupBox>(setup, QStringLiteral("Frame2"))->title(),
                 QStringLiteral("Programmeinstellungen"));
        QCOMPARE(child<QGroupBox>(setup, QStringLiteral("Frame1"))->title(),
                 QStringLiteral("Übertragungsparameter"));
        QCOMPARE(child<QCheckBox>(setup, QStringLiteral("Check_START"))->text(),
                 QStringLiteral("Startbildschirm einblenden"));
        QCOMPARE(child<QCheckBox>(setup, QStringLiteral("Check_OldVal"))->text(),
                 QStringLiteral("BestehendeToleranzen beibehalten"));
        QCOMPARE(child<QPushButton>(setup, QStringLiteral("cmd_OK"))->text(), QStringLiteral("OK"));
        QCOMPARE(child<QPushButton>(setup, QStringLiteral("cmd_Cancel"))->text(), QStringLiteral("Abbruch"));
        // "Start" was written as "0" to get here quickly; "OldVal" is missing.
        QVERIFY(!child<QCheckBox>(setup, QStringLiteral("Check_START"))->isChecked());
        QVERIFY(child<QCheckBox>(setup, QStringLiteral("Check_OldVal"))->isChecked());
    }

    void setupReplacesTheMainWindowAndDropsTheTable_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("storedOldVal");
        QTest::addColumn<QString>("storedStart");
        QTest::newRow("OK writes both")
            << QStringLiteral("cmd_OK") << QStringLiteral("0") << QStringLiteral("1");
        QTest::newRow("Abbruch writes nothing")
            << QStringLiteral("cmd_Cancel") << QStringLiteral("(fehlt)") << QStringLiteral("0");
        QTest::newRow("the frame counts as Abbruch")
            << QString() << QStringLiteral("(fehlt)") << QStringLiteral("0");
    }

    void setupReplacesTheMainWindowAndDropsTheTable()
    {
        QFETCH(QString, button);
        QFETCH(QString, storedOldVal);
        QFETCH(QString, storedStart);

        MainWindow* main = startAtMainWindow();
        main->table().setPath(QStringLiteral("/tmp/Flansch.tabelle"));
        QVERIFY(guitest::trigger(main, QStringLiteral("Tab_Neu_M")));
        main->tableView().box({cells::Column::Upper, 1})->setText(QStringLiteral("3"));

        // "Nein" to the question drops the edit.
        messages::setNextAnswer(MessageBox::Answer::No);
        QVERIFY(guitest::trigger(main, QStringLiteral("Setup")));
        QCOMPARE(messages::shownTexts(), QStringList{"Wollen Sie die aktuellen Tabellenwerte speichern ?"});
        QTRY_VERIFY(!m_shell->mainWindow());
        SetupDialog* setup = m_shell->setupDialog();
        QVERIFY(setup && setup->isVisible());

        QTest::mouseClick(child<QCheckBox>(setup, QStringLiteral("Check_OldVal")), Qt::LeftButton);
        QTest::mouseClick(child<QCheckBox>(setup, QStringLiteral("Check_START")), Qt::LeftButton);
        if (button.isEmpty())
            setup->windowHandle()->close();
        else
            QTest::mouseClick(child<QPushButton>(setup, button), Qt::LeftButton);

        QCOMPARE(stored(QStringLiteral("OldVal")), storedOldVal);
        QCOMPARE(stored(QStringLiteral("Start")), storedStart);
        QTRY_VERIFY(!m_shell->setupDialog());
        MainWindow* fresh = m_shell->mainWindow();
        QVERIFY(fresh && fresh->isVisible());
        QCOMPARE(shownPath(fresh->table().document()), QStringLiteral("keine Tabelle gewählt"));
        QVERIFY(!fresh->table().document().isEditing());
        QCOMPARE(fresh->tableView().labelCaptions().mid(1), QStringList(71, QStringLiteral(" ")));
    }

    // "Ja" keeps the typed values: the save dialog opens instead of the settings.
    void setupInEditModeAnsweredJaOpensTheSaveDialog()
    {
        MainWindow* main = startAtMainWindow();
        QVERIFY(guitest::trigger(main, QStringLiteral("Tab_Neu_M")));
        main->tableView().box({cells::Column::Upper, 1})->setText(QStringLiteral("3"));
        messages::setNextAnswer(MessageBox::Answer::Yes);
        QVERIFY(guitest::trigger(main, QStringLiteral("Setup")));
        QCOMPARE(messages::shownTexts(), QStringList{"Wollen Sie die aktuellen Tabellenwerte speichern ?"});
        QVERIFY(m_shell->saveDialog());
        QVERIFY(!m_shell->setupDialog());
        QCOMPARE(m_shell->mainWindow(), main);
        QCOMPARE(main->tableView().box({cells::Column::Upper, 1})->text(), QStringLiteral("3"));
    }

    // Every window the program opens is the active one and has the keyboard
    // on its first control.
    void everyWindowOpensWithTheKeyboard_data()
    {
        QTest::addColumn<QStringList>("commands"); // a leading "Ja:" answers the exit question
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("focus");
        QTest::newRow("Auswählen") << QStringList{"Select"} << "T_Wahl"
                                   << "OKButton";
        QTest::newRow("Speichern") << QStringList{"Tab_Neu_M", "Tab_SAVE_M"} << "T_Speicher"
                                   << "OKButton";
        QTest::newRow("Ja in the exit question") << QStringList{"Tab_Neu_M", "Ja:Exit"} << "T_Speicher"
                                                 << "OKButton";
        QTest::newRow("Setup") << QStringList{"Setup"} << "frm_Setup"
                               << "Check_START";
        QTest::newRow("Info (Dalmerin)") << QStringList{"Info"} << "Information"
                                         << "cmdOK";
        QTest::newRow("Software Service") << QStringList{"SERVICE"} << "Support"
                                          << "Command1";
    }

    void everyWindowOpensWithTheKeyboard()
    {
        QFETCH(QStringList, commands);
        QFETCH(QString, window);
        QFETCH(QString, focus);
        MainWindow* main = startAtMainWindow();
        QTRY_COMPARE(QApplication::activeWindow(), main);
        for (QString command : commands) {
            if (command.startsWith(QLatin1String("Ja:"))) {
                messages::setNextAnswer(MessageBox::Answer::Yes);
                command.remove(0, 3);
            }
            QVERIFY(guitest::trigger(main, command));
        }
        const auto nameOf = [](const QWidget* widget) { return widget ? widget->objectName() : QString(); };
        QTRY_COMPARE(nameOf(QApplication::activeWindow()), window);
        QTRY_COMPARE(nameOf(QApplication::focusWidget()), focus);
    }

    void aboutAndSupportOpenOnceEach()
    {
        MainWindow* main = startAtMainWindow();
        for (int i = 0; i < 2; ++i) {
            QVERIFY(guitest::trigger(main, QStringLiteral("Info")));
            QVERIFY(guitest::trigger(main, QStringLiteral("SERVICE")));
        }
        int about = 0, support = 0;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            about += window->objectName() == QLatin1String("Information");
            support += window->objectName() == QLatin1String("Support");
        }
        QCOMPARE(about, 1);
        QCOMPARE(support, 1);

        AboutWindow* aboutWindow = m_shell->aboutWindow();
        QCOMPARE(aboutWindow->windowTitle(), QStringLiteral("Info zu Dalmerin"));
        QCOMPARE(child<QLabel>(aboutWindow, QStringLiteral("lblTitle"))->text(), QStringLiteral("Dalmerin"));
        QCOMPARE(child<QLabel>(aboutWindow, QStringLiteral("lblVersion"))->text(),
                 QStringLiteral("Version " DALMERIN_VERSION));
        QCOMPARE(child<QLabel>(aboutWindow, QStringLiteral("lblDescription"))->text(),
                 QStringLiteral("Entwickelt von ") + QString::fromUtf8(credits::DeveloperName));
        QCOMPARE(child<QLabel>(aboutWindow, QStringLiteral("Label1"))->text(),
                 QString::fromUtf8(credits::Copyright));
        SupportWindow* supportWindow = m_shell->supportWindow();
        QCOMPARE(supportWindow->windowTitle(), QStringLiteral("Dalmerin Version " DALMERIN_VERSION));
        QCOMPARE(child<QLabel>(supportWindow, QStringLiteral("Label1"))->text(),
                 QStringLiteral("Software Support"));
        QCOMPARE(
            child<QLabel>(supportWindow, QStringLiteral("Label2"))->text(),
            QStringLiteral("Es besteht kein Anspruch auf Software Support seitens des Herstellers. "
                           "Verbesserungsvorschläge können an folgende E-Mail Adresse gesendet werden:"));
        QCOMPARE(child<QLabel>(supportWindow, QStringLiteral("Label3"))->text(),
                 QString::fromUtf8(credits::SupportAddress));
        QCOMPARE(child<QLabel>(supportWindow, QStringLiteral("Label4"))->text(),
                 QString::fromUtf8(credits::Copyright));

        // Closing both by their buttons leaves the main window as it was.
        main->table().setPath(QStringLiteral("/tmp/a.tabelle"));
        QTest::mouseClick(child<QPushButton>(aboutWindow, QStringLiteral("cmdOK")), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(supportWindow, QStringLiteral("Command1")), Qt::LeftButton);
        QTRY_VERIFY(!m_shell->aboutWindow() && !m_shell->supportWindow());
        QCOMPARE(shownPath(main->table().document()), QStringLiteral("/tmp/a.tabelle"));
        QVERIFY(main->isVisible());
    }

    // A settings file that cannot be written is told, with where and why,
    // and the dialog closes as after any "OK"; the file keeps what it held.
    void aSettingsWriteThatFailsIsTold()
    {
        MainWindow* main = startAtMainWindow();
        const QString file = settings::place();
        QFile store(file);
        QVERIFY(store.open(QIODevice::ReadOnly));
        const QByteArray before = store.readAll();
        store.close();
        QVERIFY(
            store.setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
        const ObeyFileModes obey;

        QVERIFY(guitest::trigger(main, QStringLiteral("Setup")));
        SetupDialog* setup = m_shell->setupDialog();
        QTest::mouseClick(child<QCheckBox>(setup, QStringLiteral("Check_OldVal")), Qt::LeftButton);
        messages::setNextAnswer(MessageBox::Answer::Ok);
        QTest::mouseClick(child<QPushButton>(setup, QStringLiteral("cmd_OK")), Qt::LeftButton);

        QCOMPARE(messages::shownTexts(),
                 QStringList{QStringLiteral("Die Einstellungen konnten nicht gespeichert werden.\n") + file +
                             QStringLiteral("\nDie Datei ist schreibgeschützt.")});
        QTRY_VERIFY(!m_shell->setupDialog());
        QVERIFY(m_shell->mainWindow() && m_shell->mainWindow()->isVisible());
        QVERIFY(store.open(QIODevice::ReadOnly));
        QCOMPARE(store.readAll(), before);

        // What could not be stored does not take effect: the next transfer
        // keeps the tolerances the dimensions have, as the stored "OldVal" says.
        QVERIFY(settings::keepExistingTolerances());
        main = m_shell->mainWindow();
        QStringList values;
        for (const std::string& value : transfercases::tableValues())
            values << QString::fromStdString(value);
        main->table().showFileValues(values);
        main->table().setPath(QStringLiteral("/tmp/Grenzfälle.tabelle"));
        messages::clearRecord();
        QVERIFY(guitest::trigger(main, QStringLiteral("START")));
        QCOMPARE(messages::shownTexts(), QStringList());
        QCOMPARE(main->transfer().lastReport()->oldVal, std::string("1"));
        const std::size_t kept =
            main->transfer().lastReport()->counts()[std::size_t(Outcome::KeepsOwnTolerances)];
        QCOMPARE(kept, std::size_t(3));
        QCOMPARE(m_korvant->program().commands[22].plus, 0.1);
        store.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    // A folder that takes no new file refuses the write, though the file in
    // it could be written: the folder is named as the reason.
    void aSettingsWriteIntoAReadOnlyFolderIsTold()
    {
        const QString file = settings::place();
        QVERIFY(settings::write(settings::OldVal, QStringLiteral("1")).isEmpty());
        const QString folder = QFileInfo(file).absolutePath();
        const QFileDevice::Permissions modes = QFile::permissions(folder);
        QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        QString reason;
        {
            const ObeyFileModes obey;
            reason = settings::write(settings::OldVal, QStringLiteral("0"));
        }
        QVERIFY(QFile::setPermissions(folder, modes));
        QCOMPARE(reason, QStringLiteral("Der Ordner ist schreibgeschützt."));
        QVERIFY(settings::keepExistingTolerances());
    }

    // A settings file an editor saved with a UTF-8 byte-order mark is read,
    // and written to as any other.
    void aSettingsFileWithAByteOrderMark()
    {
        MainWindow* main = startAtMainWindow();
        QFile file(settings::place());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\xEF\xBB\xBF[Settings]\nOldVal=0\nStart=0\n");
        file.close();
        QVERIFY(!settings::keepExistingTolerances());
        QVERIFY(!settings::showSplash());
        QVERIFY(guitest::trigger(main, QStringLiteral("Setup")));
        SetupDialog* setup = m_shell->setupDialog();
        QVERIFY(!child<QCheckBox>(setup, QStringLiteral("Check_OldVal"))->isChecked());
        QTest::mouseClick(child<QCheckBox>(setup, QStringLiteral("Check_OldVal")), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(setup, QStringLiteral("cmd_OK")), Qt::LeftButton);
        QCOMPARE(messages::shownTexts(), QStringList());
        QCOMPARE(stored(settings::OldVal), QStringLiteral("1"));
        QCOMPARE(stored(settings::Start), QStringLiteral("0"));
        QVERIFY(settings::keepExistingTolerances());
    }

    // Enter presses the focused button, otherwise the default "OK"; Escape is "Abbruch".
    void enterAndEscapeInTheSettingsDialog_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("storedOldVal");
        QTest::newRow("Enter on a check box: OK") << "Check_OldVal" << int(Qt::Key_Return) << "0";
        QTest::newRow("keypad Enter on OK") << "cmd_OK" << int(Qt::Key_Enter) << "0";
        QTest::newRow("Enter on Abbruch") << "cmd_Cancel" << int(Qt::Key_Return) << "(fehlt)";
        QTest::newRow("Escape on OK: Abbruch") << "cmd_OK" << int(Qt::Key_Escape) << "(fehlt)";
        QTest::newRow("Escape on a check box") << "Check_START" << int(Qt::Key_Escape) << "(fehlt)";
    }

    void enterAndEscapeInTheSettingsDialog()
    {
        QFETCH(QString, focus);
        QFETCH(int, key);
        QFETCH(QString, storedOldVal);
        QVERIFY(guitest::trigger(startAtMainWindow(), QStringLiteral("Setup")));
        SetupDialog* setup = m_shell->setupDialog();
        setup->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(setup));
        child<QCheckBox>(setup, QStringLiteral("Check_OldVal"))->setChecked(false);
        QWidget* focused = child<QWidget>(setup, focus);
        focused->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), focused);
        QTest::keyClick(focused, Qt::Key(key));
        QTRY_VERIFY(!m_shell->setupDialog());
        QVERIFY(m_shell->mainWindow());
        QCOMPARE(stored(QStringLiteral("OldVal")), storedOldVal);
    }

    void escapeClosesAboutAndSupport()
    {
        MainWindow* main = startAtMainWindow();
        QVERIFY(guitest::trigger(main, QStringLiteral("Info")));
        QVERIFY(guitest::trigger(main, QStringLiteral("SERVICE")));
        for (QWidget* window :
             std::initializer_list<QWidget*>{m_shell->aboutWindow(), m_shell->supportWindow()}) {
            window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(window));
            QTest::keyClick(window, Qt::Key_Escape);
        }
        QTRY_VERIFY(!m_shell->aboutWindow() && !m_shell->supportWindow());
        QVERIFY(main->isVisible());
    }

    // Chosen again while minimised, a window comes back from the task bar as it was.
    void minimisedWindowsComeBack_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("Info (Dalmerin)") << QStringLiteral("Info");
        QTest::newRow("Software Service") << QStringLiteral("SERVICE");
        QTest::newRow("Auswählen") << QStringLiteral("Select");
    }

    void minimisedWindowsComeBack()
    {
        QFETCH(QString, command);
        MainWindow* main = startAtMainWindow();
        auto window = [this, &command]() -> QWidget* {
            if (command == QLatin1String("Info"))
                return m_shell->aboutWindow();
            if (command == QLatin1String("SERVICE"))
                return m_shell->supportWindow();
            return m_shell->openDialog();
        };
        QVERIFY(guitest::trigger(main, command));
        QWidget* first = window();
        QVERIFY(QTest::qWaitForWindowExposed(first));
        if (auto* name = first->findChild<QLineEdit*>(QStringLiteral("Text1")))
            name->setText(QStringLiteral("Flansch"));
        first->showMinimized();
        QTRY_VERIFY(first->isMinimized());
        QVERIFY(guitest::trigger(main, command));
        QCOMPARE(window(), first);
        QTRY_VERIFY(!first->isMinimized());
        QVERIFY(first->isVisible());
        if (auto* name = first->findChild<QLineEdit*>(QStringLiteral("Text1")))
            QCOMPARE(name->text(), QStringLiteral("Flansch"));
    }

    // The program ends when its last window closes, whichever that is: an open
    // dialog keeps it running after the main window was closed by its frame.
    void openDialogKeepsTheProgramAfterTheMainWindowCloses()
    {
        MainWindow* main = startAtMainWindow();
        QTRY_VERIFY(!m_shell->splash());
        QVERIFY(guitest::trigger(main, QStringLiteral("Select")));
        QPointer<QWidget> open = m_shell->openDialog();
        QVERIFY(open && open->isVisible());

        bool runningAfterMainClosed = false;
        QObject timers; // the timers end with this test
        QPointer<QWidget> mainWindow = main;
        QTimer::singleShot(0, &timers, [main] { main->close(); });
        runSteps(&timers, {{[&] { return !mainWindow || !mainWindow->isVisible(); },
                            [&] {
                                runningAfterMainClosed = true;
                                open->close();
                            }}});
        QTimer::singleShot(5000, &timers, [] { QCoreApplication::exit(2); });
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(runningAfterMainClosed);
    }

    // Under a running event loop, where closing the last window ends the
    // program: splash, main window, settings and back never leave it without one.
    void theProgramRunsFromSplashThroughSettingsToItsEnd()
    {
        settings::write(settings::Start, QStringLiteral("0"));
        QStringList steps;
        QObject timers;
        connect(m_shell.get(), &Shell::exitRequested, &timers, [] { QCoreApplication::exit(0); });
        QTimer::singleShot(0, &timers, [this] { m_shell->start(); });
        const auto mainShown = [this] {
            return !m_shell->splash() && m_shell->mainWindow() && m_shell->mainWindow()->isVisible();
        };
        runSteps(&timers,
                 {{mainShown,
                   [&] {
                       steps << QStringLiteral("main");
                       guitest::trigger(m_shell->mainWindow(), QStringLiteral("Setup"));
                   }},
                  {[this] { return m_shell->setupDialog() && m_shell->setupDialog()->isVisible(); },
                   [&] {
                       steps << QStringLiteral("setup") << QString::number(m_shell->mainWindow() == nullptr);
                       QTest::mouseClick(child<QPushButton>(m_shell->setupDialog(), QStringLiteral("cmd_OK")),
                                         Qt::LeftButton);
                   }},
                  {mainShown, [&] {
                       steps << QStringLiteral("main") << QString::number(m_shell->setupDialog() == nullptr);
                       guitest::trigger(m_shell->mainWindow(), QStringLiteral("Exit"));
                   }}});
        QTimer::singleShot(5000, &timers, [] { QCoreApplication::exit(2); });
        QCOMPARE(QApplication::exec(), 0);
        QCOMPARE(steps, QStringList({"main", "setup", "1", "main", "1"}));
    }

    void exitClosesEveryWindow()
    {
        MainWindow* main = startAtMainWindow();
        QVERIFY(guitest::trigger(main, QStringLiteral("Info")));
        QVERIFY(guitest::trigger(main, QStringLiteral("SERVICE")));
        QSignalSpy exit(m_shell.get(), &Shell::exitRequested);
        QVERIFY(guitest::trigger(main, QStringLiteral("Exit")));
        QCOMPARE(exit.count(), 1);
        QVERIFY(messages::shownTexts().isEmpty()); // display mode: no question
        QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
    }
};

QTEST_MAIN(TestStartAndSettings)
#include "TestStartAndSettings.moc"
