// The program's windows as they behave on Windows, under Wine: the start state
// with its pictures from the files of the screen's scale, a typed value drawn
// in its box, the copyright notice from the program's version
// information, the settings in the user's registry, the file dialogs' drives,
// separators and start folder, table files byte for byte, and the whole story
// by keyboard from a new table to "Ausführen" into the stand-in COM KORVANT,
// and its report window with "Rückgängig".
#include "tests/support/MessageRecorder.h"
#include "tests/files/gui/FileDialogTestSupport.h"
#include "tests/support/GuiTestSupport.h"
#include "app/InfoWindow.h"
#include "app/MainWindow.h"
#include "base/MessageBox.h"
#include "tests/support/PictureComparison.h"
#include "files/gui/OpenDialog.h"
#include "transfer/gui/ReportWindow.h"
#include "transfer/gui/TransferController.h"
#include "transfer/gui/TransferProgress.h"
#include "files/gui/SaveDialog.h"
#include "app/SetupDialog.h"
#include "app/Shell.h"
#include "table/core/TableCells.h"
#include "table/gui/CheckedTable.h"
#include "table/gui/ToleranceTable.h"
#include "tests/transfer/TransferCases.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTableView>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolTip>

#include "tests/windows/ComStandIn.h"

#include <windows.h>
#include <objbase.h>

#include <cmath>
#include <map>
#include <memory>
#include <vector>

// windows.h names MessageBoxW so; here it is the program's message box.
#undef MessageBox

namespace {

const QString SettingsKey = QStringLiteral("HKEY_CURRENT_USER\\Software\\KORVANT_Dalmerin");

// A value of this program's version information, read from the raw resource
// (not through the version API the program itself uses).
QString versionResourceValue(const QString& key)
{
    HRSRC resource = FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16)); // RT_VERSION
    HGLOBAL loaded = resource ? LoadResource(nullptr, resource) : nullptr;
    if (!loaded)
        return QStringLiteral("(keine Versionsinformation)");
    const auto* words = static_cast<const char16_t*>(LockResource(loaded));
    const QString all = QString::fromUtf16(words, int(SizeofResource(nullptr, resource) / 2));
    // Key, its closing zero and padding zeros, then the value up to its zero.
    int at = all.indexOf(key + QChar(0));
    if (at < 0)
        return QStringLiteral("(kein %1)").arg(key);
    at += int(key.size());
    while (at < all.size() && all.at(at).isNull())
        ++at;
    return all.mid(at, all.indexOf(QChar(0), at) - at);
}

QString regQuery(const QString& key)
{
    QProcess reg;
    reg.start(QStringLiteral("reg"), {QStringLiteral("query"), key});
    reg.waitForFinished(10000);
    return QString::fromLocal8Bit(reg.readAllStandardOutput());
}

QWidget* focused()
{
    return QApplication::focusWidget();
}

void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(focused() ? focused() : QApplication::activeWindow(), Qt::Key(key), modifiers);
}

void pressRepeated(int key, int times, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    for (int i = 0; i < times; ++i)
        press(key, modifiers);
}

bool activate(QWidget* window)
{
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

HWND handleOf(const QWidget* window)
{
    return window ? reinterpret_cast<HWND>(window->winId()) : nullptr;
}

// Keys as the keyboard gives them: pressed in turn, released in reverse, into
// whatever window Windows has in the foreground.
void typeOnKeyboard(std::initializer_list<WORD> keys)
{
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        inputs.push_back(input);
    }
    for (auto key = keys.end(); key != keys.begin();) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = *--key;
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
}

int colourDistance(const QColor& a, const QColor& b)
{
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
}

QString focusedName()
{
    return focused() ? focused()->objectName() : QString();
}

// The cases' table on screen, as after opening it.
void showCasesTable(MainWindow& main)
{
    QStringList shown;
    for (const std::string& value : transfercases::tableValues())
        shown << QString::fromStdString(value);
    main.table().showFileValues(shown);
    main.table().setPath(QStringLiteral("C:\\Tabellen\\Grenzfälle.tabelle"));
}

// The contrast ratio of the darkest and the lightest colour in the picture
// (WCAG's: 1 for none, 21 for black on white).
double contrastIn(const QImage& image)
{
    const auto luminance = [](const QColor& colour) {
        const auto linear = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
        return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
    };
    double darkest = 1;
    double lightest = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const double l = luminance(image.pixelColor(x, y));
            darkest = std::min(darkest, l);
            lightest = std::max(lightest, l);
        }
    return (lightest + 0.05) / (darkest + 0.05);
}

} // namespace

class TestWindowsProgram : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startStateWithPictures();
    void typedValueIsDrawn();
    void aSignedMinusIsMarkedAndRefused();
    void copyrightFromTheVersionInformation();
    void settingsInTheUsersRegistry();
    void fileDialogsWithDrivesAndBackslashes();
    void tableFileSavedAsItWasRead();
    void wholeStoryByKeyboardIntoKorvant();
    void reportWindowUndoesIntoKorvant();
    void aRunTakesNoInputButAbbrechen();
    void abbrechenTakesEffectAtTheNextCall();
    void dialogsOpenInTheForegroundWithTheKeyboard();
    void theFrameAsksInEditModeAndKeepsItsSize();
    void theTableNameShowsWhileTheWindowIsInactive();

private:
    void startShell(const QString& startFolder);

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<Shell> m_shell;
};

void TestWindowsProgram::init()
{
    QSettings(SettingsKey, QSettings::NativeFormat).remove(QString());
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    messages::clearRecord();
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
}

void TestWindowsProgram::cleanup()
{
    m_shell.reset();
    QSettings(SettingsKey, QSettings::NativeFormat).remove(QString());
}

// As the program starts it: the dialogs begin in the given folder.
void TestWindowsProgram::startShell(const QString& startFolder)
{
    m_shell = std::make_unique<Shell>(startFolder);
}

void TestWindowsProgram::startStateWithPictures()
{
    startShell(QCoreApplication::applicationDirPath());
    MainWindow* main = m_shell->showMainWindow();
    QCOMPARE(main->windowTitle(), QStringLiteral("Dalmerin Version " DALMERIN_VERSION));
    QCOMPARE(guitest::child<QLabel>(main, QStringLiteral("Tab_Name"))->text(),
             QStringLiteral("keine Tabelle gewählt"));
    QVERIFY(!main->table().document().isEditing());
    QVERIFY(!main->windowIcon().pixmap(32, 32).isNull());
    // Each button as drawn, from the file of the screen's scale (the 2x files at 144 DPI).
    QVERIFY(QTest::qWaitForWindowExposed(main));
    const QToolBar* toolbar = guitest::child<QToolBar>(main, QStringLiteral("Toolbar1"));
    QList<QWidget*> buttons;
    for (QAction* action : toolbar->actions())
        if (!action->isSeparator())
            buttons << toolbar->widgetForAction(action);
    QCOMPARE(buttons.size(), 6);
    QString why;
    for (int i = 0; i < buttons.size(); ++i) {
        QVERIFY2(picturecomparison::showsFileForItsScale(
                     buttons[i]->grab().toImage(), buttons[i]->devicePixelRatioF(),
                     picturecomparison::ToolbarPictures[i], QSize(24, 22), why),
                 qPrintable(why));
        qInfo("%s", qPrintable(why));
    }
}

// A minus tolerance typed with its sign: the box is drawn tinted by the
// Windows style, the line below the table counts the Fehler, and "Ausführen"
// refuses the saved table before KORVANT is looked for (a stand-in that ends
// after its first call is still there).
void TestWindowsProgram::aSignedMinusIsMarkedAndRefused()
{
    startShell(QCoreApplication::applicationDirPath());
    MainWindow* main = m_shell->showMainWindow();
    QVERIFY(QTest::qWaitForWindowExposed(main));
    QVERIFY(guitest::trigger(main, QStringLiteral("Tab_Neu_M")));
    ToleranceTable& view = main->tableView();
    CheckedTable& table = main->table();
    view.box({cells::Column::Upper, 1})->setText(QStringLiteral("3"));
    view.box({cells::Column::Plus, 1})->setText(QStringLiteral("0,1"));
    QLineEdit* minus = view.box({cells::Column::Minus, 1});
    QTest::keyClicks(minus, QStringLiteral("-0,1"));
    minus->clearFocus();
    const auto* line = guitest::child<QLabel>(main, QStringLiteral("TableCheckLine"));
    QCOMPARE(line->text(), QStringLiteral("1 Fehler, 0 Hinweise – F8 zeigt sie"));
    QVERIFY(line->isVisible());
    // The box's background, left of its right-aligned text, against an unmarked box's.
    const QImage marked = minus->grab().toImage();
    const QImage plain = view.box({cells::Column::Minus, 2})->grab().toImage();
    const QPoint inside(marked.width() / 5, marked.height() / 2);
    const QColor tint = marked.pixelColor(inside);
    QVERIFY2(colourDistance(tint, QColor(248, 208, 208)) < 40 &&
                 colourDistance(tint, plain.pixelColor(inside)) > 40,
             qPrintable(QStringLiteral("%1 neben %2").arg(tint.name(), plain.pixelColor(inside).name())));
    // Its tooltip, the finding, reads as clearly as text in a window.
    QToolTip::showText(minus->mapToGlobal(minus->rect().center()), minus->toolTip(), minus);
    QTRY_VERIFY(QToolTip::isVisible());
    QWidget* tip = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->inherits("QTipLabel"))
            tip = window;
    const double contrast = contrastIn(tip->grab().toImage());
    QToolTip::hideText();
    QVERIFY2(contrast >= 7, qPrintable(QString::number(contrast))); // Wine's theme gives 2.4

    table.leaveEditMode(view.boxTexts()); // as after "Speichern"
    table.setPath(QStringLiteral("C:\\Tabellen\\Vorzeichen.tabelle"));
    comstandin::StandIn standIn(transfercases::partProgram(), "--leave-after 1");
    QVERIFY(standIn.isRunning());
    messages::setNextAnswer(MessageBox::Answer::Ok);
    QVERIFY(guitest::trigger(main, QStringLiteral("START")));
    QCOMPARE(messages::shownTexts(),
             QStringList{QStringLiteral(
                 "Die Tabelle enthält Fehler und wird nicht übertragen.\nBereich 1, Minus Tol.: "
                 "Minustoleranzen werden ohne Vorzeichen eingegeben.")});
    QVERIFY(main->cursor().shape() == Qt::ArrowCursor);
    QVERIFY(!standIn.hasEnded(500));
}

// A value typed into a table box is drawn inside it: with a font that does not
// fit the box its text lies outside and the box looks empty.
void TestWindowsProgram::typedValueIsDrawn()
{
    startShell(QCoreApplication::applicationDirPath());
    MainWindow* main = m_shell->showMainWindow();
    QVERIFY(QTest::qWaitForWindowExposed(main));
    QVERIFY(guitest::trigger(main, QStringLiteral("Tab_Neu_M")));
    QLineEdit* box = main->tableView().box({cells::Column::Plus, 1});
    box->clearFocus(); // no cursor in either picture
    const QImage empty = box->grab().toImage();
    QTest::keyClicks(box, QStringLiteral("12,5"));
    box->clearFocus();
    QCOMPARE(box->text(), QStringLiteral("12,5"));
    const QImage typed = box->grab().toImage();
    int changed = 0;
    for (int y = 0; y < typed.height(); ++y)
        for (int x = 0; x < typed.width(); ++x)
            changed += qGray(typed.pixel(x, y)) < qGray(empty.pixel(x, y)) - 64;
    QVERIFY2(changed >= 20, qPrintable(QStringLiteral("%1 Pixel der Schrift, Schrift %2 %3 pt")
                                           .arg(changed)
                                           .arg(QFontInfo(box->font()).family())
                                           .arg(QFontInfo(box->font()).pointSizeF())));
    qInfo("%d Pixel der Schrift in %s %g pt", changed, qPrintable(QFontInfo(box->font()).family()),
          QFontInfo(box->font()).pointSizeF());
}

void TestWindowsProgram::copyrightFromTheVersionInformation()
{
    QCOMPARE(versionResourceValue(QStringLiteral("FileVersion")), QStringLiteral(DALMERIN_VERSION));
    QCOMPARE(versionResourceValue(QStringLiteral("ProductVersion")), QStringLiteral(DALMERIN_VERSION));
    QCOMPARE(versionResourceValue(QStringLiteral("ProductName")), QStringLiteral("Dalmerin"));
    const QString stored = versionResourceValue(QStringLiteral("LegalCopyright"));
    QCOMPARE(stored, QString::fromUtf8(DALMERIN_COPYRIGHT));

    startShell(QCoreApplication::applicationDirPath());
    m_shell->showMainWindow();
    m_shell->openAbout();
    QCOMPARE(guitest::child<QLabel>(m_shell->aboutWindow(), QStringLiteral("Label1"))->text(), stored);
    m_shell->openSupport();
    QCOMPARE(guitest::child<QLabel>(m_shell->supportWindow(), QStringLiteral("Label4"))->text(), stored);
}

void TestWindowsProgram::settingsInTheUsersRegistry()
{
    startShell(QCoreApplication::applicationDirPath());
    m_shell->showMainWindow();
    m_shell->openSetup();
    SetupDialog* setup = m_shell->setupDialog();
    QVERIFY(setup);
    auto* start = guitest::child<QCheckBox>(setup, QStringLiteral("Check_START"));
    auto* oldVal = guitest::child<QCheckBox>(setup, QStringLiteral("Check_OldVal"));
    QVERIFY(start->isChecked() && oldVal->isChecked());
    start->setChecked(false);
    QTest::mouseClick(guitest::child<QPushButton>(setup, QStringLiteral("cmd_OK")), Qt::LeftButton);
    QTRY_VERIFY(m_shell->mainWindow());

    const QString stored = regQuery(QStringLiteral("HKCU\\Software\\KORVANT_Dalmerin\\Settings"));
    QVERIFY2(stored.contains(QRegularExpression(QStringLiteral("Start\\s+REG_SZ\\s+0\\s"))),
             qPrintable(stored));
    QVERIFY2(stored.contains(QRegularExpression(QStringLiteral("OldVal\\s+REG_SZ\\s+1\\s"))),
             qPrintable(stored));
    // Nothing beside the key "Settings".
    const QString keys = regQuery(QStringLiteral("HKCU\\Software\\KORVANT_Dalmerin"));
    QVERIFY2(!keys.contains(QStringLiteral("OrganizationDefaults")), qPrintable(keys));

    m_shell->openSetup();
    QVERIFY(!guitest::child<QCheckBox>(m_shell->setupDialog(), QStringLiteral("Check_START"))->isChecked());
    QVERIFY(guitest::child<QCheckBox>(m_shell->setupDialog(), QStringLiteral("Check_OldVal"))->isChecked());
}

void TestWindowsProgram::fileDialogsWithDrivesAndBackslashes()
{
    startShell(QCoreApplication::applicationDirPath());
    MainWindow* main = m_shell->showMainWindow();
    m_shell->openSaveDialog();
    SaveDialog* save = m_shell->saveDialog();
    QVERIFY(save);

    // The start folder is the program's own, with Windows separators.
    const QString startFolder = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    QVERIFY(startFolder.contains(QLatin1Char('\\')));
    QCOMPARE(guitest::child<QLineEdit>(save, QStringLiteral("Text2"))->text(), startFolder);

    // Wine's drives, as Windows lists them.
    QStringList drives;
    wchar_t buffer[512] = {};
    for (const wchar_t* drive = buffer; GetLogicalDriveStringsW(511, buffer) && *drive;
         drive += wcslen(drive) + 1)
        drives << QString::fromWCharArray(drive).toUpper();
    auto* driveList = guitest::child<QComboBox>(save, QStringLiteral("Drive1"));
    QStringList listed;
    for (int i = 0; i < driveList->count(); ++i)
        listed << driveList->itemText(i).toUpper();
    QVERIFY2(drives.contains(QStringLiteral("C:\\")), qPrintable(drives.join(QLatin1Char(' '))));
    for (const QString& drive : drives)
        QVERIFY2(listed.contains(drive), qPrintable(drive + QStringLiteral(" fehlt in ") + listed.join(' ')));

    // Paths are joined with one "\": at a drive's root there are two.
    filetest::typeName(save, QStringLiteral("abc"));
    QCOMPARE(shownPath(main->table().document()), startFolder + QStringLiteral("\\abc"));
    driveList->setCurrentIndex(listed.indexOf(QStringLiteral("C:\\")));
    filetest::typeName(save, QStringLiteral("abc"));
    QCOMPARE(shownPath(main->table().document()), QStringLiteral("C:\\\\abc"));
    save->close();
}

void TestWindowsProgram::tableFileSavedAsItWasRead()
{
    // Windows-1252 bytes beyond ASCII, a quote inside a value, CR LF line ends.
    QStringList values = filetest::sampleValues(QStringLiteral("Ø"));
    values[0] = QStringLiteral("µm 0,5°");
    values[1] = QStringLiteral("ab\"c");
    const QByteArray bytes = filetest::encoded(values);
    QVERIFY(bytes.contains("\r\n") && bytes.contains('\xD8'));
    QVERIFY(filetest::writeFile(m_folder->filePath(QStringLiteral("Original.tabelle")), bytes));

    startShell(m_folder->path());
    MainWindow* main = m_shell->showMainWindow();
    QVERIFY(guitest::trigger(main, QStringLiteral("Select")));
    OpenDialog* open = m_shell->openDialog();
    QVERIFY(open && filetest::clickFile(open, QStringLiteral("Original.tabelle")));
    QCOMPARE(shownPath(main->table().document()), QDir::toNativeSeparators(m_folder->filePath("Original.tabelle")));
    filetest::click(open, "OKButton");
    QTRY_VERIFY(!m_shell->openDialog());
    QCOMPARE(filetest::editableCaptions(main->tableView()), values);

    QVERIFY(guitest::trigger(main, QStringLiteral("Tab_Edit")));
    QVERIFY(guitest::trigger(main, QStringLiteral("Tab_SAVE_M")));
    SaveDialog* save = m_shell->saveDialog();
    QVERIFY(save);
    filetest::typeName(save, QStringLiteral("Kopie"));
    filetest::click(save, "OKButton");
    QTRY_VERIFY(!m_shell->saveDialog());
    QCOMPARE(messages::shownTexts(), QStringList());
    QCOMPARE(filetest::readFile(m_folder->filePath(QStringLiteral("Kopie.tabelle"))), bytes);
}

void TestWindowsProgram::wholeStoryByKeyboardIntoKorvant()
{
    // The shared transfer cases are written with a decimal point.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const std::vector<std::string> captions = transfercases::tableCaptions();
    std::map<QString, QString> valueOf; // box name -> the value to type into it
    for (std::size_t i = 0; i < cells::LabelCount; ++i)
        if (i > 0)
            valueOf[QString::fromStdString(cells::boxName(cells::labelOrder()[i]))] =
                QString::fromStdString(captions[i]);

    startShell(m_folder->path());
    MainWindow* main = m_shell->showMainWindow();
    QVERIFY(activate(main));

    press(Qt::Key_N, Qt::ControlModifier);
    QVERIFY(main->table().document().isEditing());
    press(Qt::Key_Tab);
    for (std::size_t i = 0; i < cells::ValueCount; ++i) {
        const QString name = focused() ? focused()->objectName() : QString();
        QVERIFY2(valueOf.count(name) == 1, qPrintable(name));
        QTest::keyClicks(focused(), valueOf[name]);
        press(Qt::Key_Tab);
    }

    // Save: from OK back to the name box, a name, on to OK.
    press(Qt::Key_S, Qt::ControlModifier);
    QVERIFY(m_shell->saveDialog() && activate(m_shell->saveDialog()));
    pressRepeated(Qt::Key_Tab, 2, Qt::ShiftModifier);
    QCOMPARE(focused()->objectName(), QStringLiteral("Text1"));
    press(Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(focused(), QStringLiteral("Grenzf"));
    QTest::sendKeyEvent(QTest::Click, focused(), Qt::Key_Adiaeresis, QStringLiteral("ä"), Qt::NoModifier);
    QTest::keyClicks(focused(), QStringLiteral("lle"));
    pressRepeated(Qt::Key_Tab, 2);
    press(Qt::Key_Space);
    QTRY_VERIFY(!m_shell->saveDialog());
    QCOMPARE(messages::shownTexts(), QStringList());

    // Open it: from OK back to the file list, the arrow key chooses the only file.
    main->table().clearAfterDelete();
    QVERIFY(activate(main));
    press(Qt::Key_A, Qt::ControlModifier);
    QVERIFY(m_shell->openDialog() && activate(m_shell->openDialog()));
    pressRepeated(Qt::Key_Tab, 3, Qt::ShiftModifier);
    QCOMPARE(focused()->objectName(), QStringLiteral("File1"));
    press(Qt::Key_Down);
    QCOMPARE(shownPath(main->table().document()),
             QDir::toNativeSeparators(m_folder->filePath(QStringLiteral("Grenzfälle.tabelle"))));
    pressRepeated(Qt::Key_Tab, 3);
    QCOMPARE(focused()->objectName(), QStringLiteral("OKButton"));
    press(Qt::Key_Space);
    QTRY_VERIFY(!m_shell->openDialog());

    // "Ausführen" into the stand-in, which its window class finds.
    comstandin::StandIn standIn(transfercases::partProgram());
    QVERIFY(standIn.isRunning());
    QVERIFY(activate(main));
    press(Qt::Key_Q, Qt::ControlModifier);
    QCOMPARE(messages::shownTexts(), QStringList());
    QCOMPARE(standIn.liveObjects(), 0L);
    const sim::PartProgram after = standIn.closeAndRead();
    const auto& cases = transfercases::cases();
    QCOMPARE(after.commands.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i)
        QVERIFY2(std::fabs(after.commands[i].plus - cases[i].afterKeeping.plus) < 1e-9 &&
                     std::fabs(after.commands[i].minus - cases[i].afterKeeping.minus) < 1e-9,
                 cases[i].what);
}

// "Letzte Übertragung…" after "Ausführen", and its "Rückgängig" from the keyboard:
// the stand-in ends with every tolerance it had, holding no object for us.
void TestWindowsProgram::reportWindowUndoesIntoKorvant()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    startShell(m_folder->path());
    MainWindow* main = m_shell->showMainWindow();
    showCasesTable(*main);

    comstandin::StandIn standIn(transfercases::partProgram());
    QVERIFY(standIn.isRunning());
    QVERIFY(activate(main));
    QVERIFY(guitest::trigger(main, QStringLiteral("START")));
    QCOMPARE(messages::shownTexts(), QStringList());
    QVERIFY(guitest::trigger(main, QStringLiteral("Bericht")));
    auto* report = main->findChild<ReportWindow*>();
    QVERIFY(report);
    QVERIFY(activate(report));
    QCOMPARE(report->windowTitle(), QString::fromUtf8("Dalmerin – Letzte Übertragung"));
    QCOMPARE(guitest::child<QTableView>(report, QStringLiteral("ReportRows"))->model()->rowCount(), 25);
    QCOMPARE(standIn.liveObjects(), 0L);

    // From the rows Tab goes to the buttons; Space presses "Rückgängig".
    auto* rows = guitest::child<QTableView>(report, QStringLiteral("ReportRows"));
    QCOMPARE(report->focusWidget(), rows);
    QWidget* undo = guitest::child<QWidget>(report, QStringLiteral("cmd_Undo"));
    QCOMPARE(guitest::tabChain(rows, 4).last(),
             QStringLiteral("cmd_Undo")); // after the hidden "Ausführen" and "Speichern…"
    undo->setFocus();
    QTest::keyClick(undo, Qt::Key_Space);
    QTRY_COMPARE(report->windowTitle(), QString::fromUtf8("Dalmerin – Rückgängig"));
    QCOMPARE(messages::shownTexts(), QStringList());
    QCOMPARE(standIn.liveObjects(), 0L);
    QTest::keyClick(rows, Qt::Key_Escape);
    QTRY_VERIFY(!main->findChild<ReportWindow*>());

    const char* notRestored = transfercases::firstCaseNotAsBefore(standIn.closeAndRead());
    QVERIFY2(!notRestored, notRestored);
}

// During a long run Alt+F4 and the frame's close button on the main window
// are dropped, not carried out when the run ends; Escape, from the keyboard,
// is "Abbrechen" in the progress window, and the run stops after the command
// under way.
void TestWindowsProgram::aRunTakesNoInputButAbbrechen()
{
    startShell(m_folder->path());
    MainWindow* main = m_shell->showMainWindow();
    showCasesTable(*main);
    comstandin::StandIn standIn(sim::generatePartProgram(600));
    QVERIFY(standIn.isRunning());
    QVERIFY(activate(main));

    // Half a second in, the progress window is up; a moment later the user closes the main window.
    QTimer::singleShot(900, main, [main] {
        SetForegroundWindow(handleOf(main));
        typeOnKeyboard({VK_MENU, VK_F4});
        PostMessageW(handleOf(main), WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    QVERIFY(guitest::trigger(main, QStringLiteral("START")));
    QCOMPARE(messages::shownTexts(), QStringList());
    QCOMPARE(main->transfer().lastReport()->end, TransferReport::End::Complete);
    QTest::qWait(200);
    QVERIFY(m_shell->mainWindow() && main->isVisible());

    QTimer::singleShot(900, main, [main] {
        if (auto* progress = main->findChild<TransferProgress*>())
            SetForegroundWindow(handleOf(progress));
        typeOnKeyboard({VK_ESCAPE});
    });
    messages::setNextAnswer(MessageBox::Answer::Ok);
    QVERIFY(guitest::trigger(main, QStringLiteral("START")));
    const TransferReport& stopped = *main->transfer().lastReport();
    QCOMPARE(stopped.end, TransferReport::End::Cancelled);
    // The first run wrote every tolerance, which the second keeps.
    QCOMPARE(messages::shownTexts(),
             QStringList{QStringLiteral("Die Übertragung wurde ") +
                         QString::fromStdString(stoppedAtText(stopped)) +
                         QStringLiteral(". Es wurden keine Toleranzen übertragen.")});
    QVERIFY(stopped.stoppedAt > 0 && stopped.stoppedAt < 600);
    QVERIFY(m_shell->mainWindow() && main->isVisible());
}

// Against a KORVANT that takes 200 ms a call, Escape typed in the progress
// window stops the run within two calls (the second put of a dimension may
// follow the call under way), counted in the stand-in's calls.
void TestWindowsProgram::abbrechenTakesEffectAtTheNextCall()
{
    startShell(m_folder->path());
    MainWindow* main = m_shell->showMainWindow();
    showCasesTable(*main);
    comstandin::StandIn standIn(sim::generatePartProgram(600), "--delay 200");
    QVERIFY(standIn.isRunning());
    QVERIFY(activate(main));

    long pressedAt = -1;
    QTimer::singleShot(900, main, [&] {
        if (auto* progress = main->findChild<TransferProgress*>())
            SetForegroundWindow(handleOf(progress));
        pressedAt = standIn.calls();
        typeOnKeyboard({VK_ESCAPE});
    });
    messages::setNextAnswer(MessageBox::Answer::Ok);
    QVERIFY(guitest::trigger(main, QStringLiteral("START")));
    QCOMPARE(main->transfer().lastReport()->end, TransferReport::End::Cancelled);
    QCOMPARE(messages::shownTexts().size(), 1);
    QVERIFY(pressedAt > 0);
    const long after = standIn.calls() - pressedAt;
    QVERIFY2(after <= 2, qPrintable(QStringLiteral("%1 Aufrufe nach Escape").arg(after)));
}

// The save and open dialogs come to the foreground with the focus on "OK",
// so that the keyboard reaches them: after Ctrl+S, after "Ja" in the exit
// question and after Ctrl+A. Escape from the keyboard is "Abbrechen", which
// gives the table name back.
void TestWindowsProgram::dialogsOpenInTheForegroundWithTheKeyboard()
{
    QVERIFY(filetest::writeFile(m_folder->filePath(QStringLiteral("Welle.tabelle")),
                                filetest::encoded(filetest::sampleValues())));
    startShell(m_folder->path());
    MainWindow* main = m_shell->showMainWindow();
    QTRY_COMPARE(GetForegroundWindow(), handleOf(main));

    QVERIFY(guitest::trigger(main, QStringLiteral("Tab_Neu_M")));
    typeOnKeyboard({VK_CONTROL, 'S'});
    QTRY_VERIFY(m_shell->saveDialog());
    QTRY_COMPARE(GetForegroundWindow(), handleOf(m_shell->saveDialog()));
    QTRY_COMPARE(focusedName(), QStringLiteral("OKButton"));
    m_shell->saveDialog()->close();
    QTRY_VERIFY(!m_shell->saveDialog());

    QVERIFY(activate(main));
    messages::setNextAnswer(MessageBox::Answer::Yes);
    typeOnKeyboard({VK_CONTROL, 'B'});
    QTRY_VERIFY(m_shell->saveDialog());
    QTRY_COMPARE(GetForegroundWindow(), handleOf(m_shell->saveDialog()));
    QTRY_COMPARE(focusedName(), QStringLiteral("OKButton"));
    filetest::typeName(m_shell->saveDialog(), QStringLiteral("Welle"));
    messages::setNextAnswer(MessageBox::Answer::Ok);
    messages::setNextAnswer(MessageBox::Answer::Ok);
    filetest::click(m_shell->saveDialog(), "OKButton");
    QTRY_VERIFY(!m_shell->saveDialog());
    const QString shownTable = shownPath(main->table().document());

    QVERIFY(activate(main));
    typeOnKeyboard({VK_CONTROL, 'A'});
    QTRY_VERIFY(m_shell->openDialog());
    QTRY_COMPARE(GetForegroundWindow(), handleOf(m_shell->openDialog()));
    QTRY_COMPARE(focusedName(), QStringLiteral("OKButton"));
    filetest::typeName(m_shell->openDialog(), QStringLiteral("Anderer"));
    QVERIFY(shownPath(main->table().document()) != shownTable);
    typeOnKeyboard({VK_ESCAPE});
    QTRY_VERIFY(!m_shell->openDialog());
    QCOMPARE(shownPath(main->table().document()), shownTable);
}

// The frame's close button in edit mode asks whether to save: "Ja" opens the
// save dialog, "Nein" ends the program. The frame has neither a maximise
// button nor a border to drag.
void TestWindowsProgram::theFrameAsksInEditModeAndKeepsItsSize()
{
    startShell(m_folder->path());
    MainWindow* main = m_shell->showMainWindow();
    const LONG style = GetWindowLongW(handleOf(main), GWL_STYLE);
    QVERIFY(!(style & WS_MAXIMIZEBOX));
    QVERIFY(!(style & WS_THICKFRAME));
    QVERIFY(style & WS_MINIMIZEBOX);

    QVERIFY(guitest::trigger(main, QStringLiteral("Tab_Neu_M")));
    QSignalSpy exit(m_shell.get(), &Shell::exitRequested);
    messages::setNextAnswer(MessageBox::Answer::Yes);
    SendMessageW(handleOf(main), WM_SYSCOMMAND, SC_CLOSE, 0);
    QTRY_VERIFY(m_shell->saveDialog());
    QCOMPARE(messages::shownTexts(), QStringList{"Wollen Sie die aktuellen Tabellenwerte speichern ?"});
    QVERIFY(main->isVisible() && main->table().document().isEditing());
    QCOMPARE(exit.count(), 0);

    messages::setNextAnswer(MessageBox::Answer::No);
    SendMessageW(handleOf(main), WM_SYSCOMMAND, SC_CLOSE, 0);
    QTRY_COMPARE(exit.count(), 1);
    QTRY_VERIFY(!m_shell->mainWindow() && !m_shell->saveDialog());
}

// Windows' palette gives the inactive highlight the window's background; the
// table name keeps the active highlight while the About window is in front,
// and no label of any window takes the background's colour.
void TestWindowsProgram::theTableNameShowsWhileTheWindowIsInactive()
{
    startShell(m_folder->path());
    MainWindow* main = m_shell->showMainWindow();
    m_shell->openAbout();
    QTRY_COMPARE(GetForegroundWindow(), handleOf(m_shell->aboutWindow()));
    QTRY_VERIFY(!main->isActiveWindow());

    for (const QWidget* window : QApplication::topLevelWidgets())
        for (const QLabel* label : window->findChildren<QLabel*>()) {
            const QPalette colours = label->palette();
            QVERIFY2(colours.color(QPalette::Inactive, label->foregroundRole()) !=
                         colours.color(QPalette::Inactive, QPalette::Window),
                     qPrintable(label->objectName()));
        }
    auto* name = guitest::child<QLabel>(main, QStringLiteral("Tab_Name"));
    const QColor highlight = name->palette().color(QPalette::Active, QPalette::Highlight);
    const QImage shown = name->grab().toImage();
    // Smoothed text has few pixels of exactly the pen's colour; near it is enough.
    int highlighted = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            highlighted += colourDistance(shown.pixelColor(x, y), highlight) < 64;
    QVERIFY2(highlighted > 20, qPrintable(QString::number(highlighted)));
}

int main(int argc, char** argv)
{
    // The user-interface thread in a single-threaded apartment, as in the program.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int result = 0;
    {
        QApplication application(argc, argv);
        TestWindowsProgram test;
        result = QTest::qExec(&test, argc, argv);
    }
    CoUninitialize();
    return result;
}

#include "TestWindowsProgram.moc"
