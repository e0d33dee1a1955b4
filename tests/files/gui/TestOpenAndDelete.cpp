// The open dialog and the delete command driven through their controls:
// loading clicked or typed tables, the table path following the user, the
// lists, files that are no complete table, and deletes that fail.
#include "tests/support/MessageRecorder.h"
#include "base/Version.h"
#include "files/gui/DeleteTable.h"
#include "tests/files/gui/FileDialogTestSupport.h"
#include "files/gui/OpenDialog.h"
#include "files/gui/TableFileIo.h"

#include <QLabel>
#include <QWindow>

using namespace filetest;
using Answer = MessageBox::Answer;

namespace {

const QString NoTable = QStringLiteral("keine Tabelle gewählt");
const QString NotFound =
    QStringLiteral("Datei mit diesem Namen nicht gefunden, Sie müssen diese Datei erst erzeugen");
const QString EditMode = QStringLiteral("Sie müssen die aktuellen Tabellenwerte zuerst speichern");

QByteArray quotedLines(const QStringList& values)
{
    QByteArray file;
    for (const QString& value : values)
        file += '"' + value.toLatin1() + "\"\r\n";
    return file;
}

} // namespace

class TestOpenAndDelete : public QObject, private FileDialogFixture
{
    Q_OBJECT

private:
    QPointer<QWidget> openDialog()
    {
        auto* dialog = new OpenDialog([this] { return m_table; }, m_folder->path());
        dialog->show();
        return dialog;
    }

    // A table on screen, as after opening Shown.tabelle.
    QStringList showTable()
    {
        const QStringList shown = sampleValues(QStringLiteral("gezeigt"));
        table().showFileValues(shown);
        table().setPath(inFolder("Shown.tabelle"));
        return shown;
    }

    // A file that is no complete table leaves the shown table, and the dialog open.
    void expectRefused(const QString& fileName, const QString& reasonStart)
    {
        const QStringList shown = showTable();
        const QPointer<QWidget> dialog = openDialog();
        typeName(dialog, fileName);
        messages::setNextAnswer(Answer::Ok);
        click(dialog, "OKButton");
        const QString path = inFolder(fileName);
        QCOMPARE(messages::shownTexts().size(), 1);
        const QString text = messages::shownTexts().first();
        QVERIFY2(text.startsWith("Die Tabelle wurde nicht geladen:\n" + path + "\n" + reasonStart),
                 qPrintable(text));
        QCOMPARE(editableCaptions(view()), shown);
        QCOMPARE(shownPath(table().document()), path);
        QVERIFY(!isClosed(dialog));
    }

private slots:
    void init() { startTest(); }
    void cleanup() { endTest(QStringLiteral("T_Wahl")); }

    void hasItsButtonsInFocusOrder()
    {
        const QPointer<QWidget> dialog = openDialog();
        QCOMPARE(dialog->objectName(), QStringLiteral("T_Wahl"));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Dalmerin Version " DALMERIN_VERSION));
        auto* cancel = guitest::child<QPushButton>(dialog, "CancelButton");
        QCOMPARE(cancel->text(), QStringLiteral("Abbrechen"));
        QCOMPARE(cancel->geometry(), QRect(408, 56, 81, 25));
        QCOMPARE(guitest::tabChain(guitest::child<QWidget>(dialog, "OKButton"), 7),
                 QStringList({"OKButton", "CancelButton", "Drive1", "Dir1", "File1", "Text1", "Text2"}));
    }

    void aClickedFileIsShown()
    {
        const QStringList values = sampleValues(QStringLiteral("Maß "));
        QVERIFY(writeFile(inFolder("Flansch.tabelle"), encoded(values)));
        const QPointer<QWidget> dialog = openDialog();
        QVERIFY(clickFile(dialog, "Flansch.tabelle"));
        QCOMPARE(guitest::child<QLineEdit>(dialog, "Text1")->text(), QStringLiteral("Flansch.tabelle"));
        QCOMPARE(shownPath(table().document()), inFolder("Flansch.tabelle"));
        click(dialog, "OKButton");
        QCOMPARE(messages::shownTexts(), QStringList());
        QCOMPARE(editableCaptions(view()), values);
        QCOMPARE(view().labelCaptions().first(), QStringLiteral("0"));
        QVERIFY(!table().document().isEditing());
        QVERIFY(isClosed(dialog));
        QCOMPARE(shownPath(table().document()), inFolder("Flansch.tabelle"));
    }

    void aTypedNameFollowsEveryKeystrokeAndGetsTheExtension()
    {
        const QStringList values = sampleValues();
        QVERIFY(writeFile(inFolder("abc.tabelle"), encoded(values)));
        const QPointer<QWidget> dialog = openDialog();
        typeName(dialog, QStringLiteral("ab"));
        QCOMPARE(shownPath(table().document()), inFolder("ab"));
        typeName(dialog, QStringLiteral("abc"));
        QCOMPARE(shownPath(table().document()), inFolder("abc"));
        click(dialog, "OKButton");
        QCOMPARE(shownPath(table().document()), inFolder("abc.tabelle"));
        QCOMPARE(editableCaptions(view()), values);
    }

    void aMissingFileKeepsItsOwnMessage()
    {
        const QStringList shown = showTable();
        const QPointer<QWidget> dialog = openDialog();
        typeName(dialog, QStringLiteral("abc.TABELLE"));
        messages::setNextAnswer(Answer::Ok);
        click(dialog, "OKButton");
        QCOMPARE(messages::shownTexts(), QStringList(NotFound));
        QCOMPARE(shownPath(table().document()), inFolder("abc.TABELLE.tabelle"));
        QCOMPARE(editableCaptions(view()), shown);
        QVERIFY(!isClosed(dialog));
    }

    // However the dialog is left without a table loaded, the table path names
    // the table on screen again, also after a missing file's extended path.
    void leftWithoutLoadingTheShownTableKeepsItsName_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("Abbrechen") << QStringLiteral("Abbrechen");
        QTest::newRow("Escape") << QStringLiteral("Escape");
        QTest::newRow("Enter on Abbrechen") << QStringLiteral("Enter");
        QTest::newRow("the frame") << QStringLiteral("frame");
    }

    void leftWithoutLoadingTheShownTableKeepsItsName()
    {
        QFETCH(QString, way);
        QVERIFY(writeFile(inFolder("Welle.tabelle"), encoded(sampleValues())));
        const QStringList shown = showTable();
        const QPointer<QWidget> dialog = openDialog();
        typeName(dialog, QStringLiteral("fehlt"));
        messages::setNextAnswer(Answer::Ok);
        click(dialog, "OKButton");
        QCOMPARE(messages::shownTexts(), QStringList(NotFound));
        QVERIFY(clickFile(dialog, "Welle.tabelle"));
        QCOMPARE(shownPath(table().document()), inFolder("Welle.tabelle"));

        auto* cancel = guitest::child<QPushButton>(dialog, "CancelButton");
        if (way == QLatin1String("Abbrechen"))
            click(dialog, "CancelButton");
        else if (way == QLatin1String("Escape"))
            QTest::keyClick(guitest::child<QWidget>(dialog, "File1"), Qt::Key_Escape);
        else if (way == QLatin1String("Enter")) {
            cancel->setFocus();
            QTest::keyClick(cancel, Qt::Key_Return);
        } else
            dialog->windowHandle()->close();
        QVERIFY(isClosed(dialog));
        QCOMPARE(shownPath(table().document()), inFolder("Shown.tabelle"));
        QCOMPARE(editableCaptions(view()), shown);
    }

    // A path another command set while the dialog was open (a save, a
    // delete) is what the table shows, and what the dialog leaves.
    void aPathSetMeanwhileByAnotherCommandStays()
    {
        QVERIFY(writeFile(inFolder("Welle.tabelle"), encoded(sampleValues())));
        showTable();
        const QPointer<QWidget> dialog = openDialog();
        table().setPath(NoTable);
        QVERIFY(clickFile(dialog, "Welle.tabelle"));
        click(dialog, "CancelButton");
        QCOMPARE(shownPath(table().document()), NoTable);

        const QPointer<QWidget> again = openDialog();
        QVERIFY(clickFile(again, "Welle.tabelle"));
        table().setPath(inFolder("Gespeichert.tabelle"));
        again->close();
        QCOMPARE(shownPath(table().document()), inFolder("Gespeichert.tabelle"));
    }

    // A double click on a file, Enter on the chosen file and Enter anywhere but
    // in a list or on "Abbrechen" load the table as "OK" does.
    void doubleClickAndEnterLoadTheFile_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("double click on the file") << QStringLiteral("double click");
        QTest::newRow("Enter on the chosen file") << QStringLiteral("File1");
        QTest::newRow("Enter in the name box") << QStringLiteral("Text1");
        QTest::newRow("keypad Enter in the drive list") << QStringLiteral("Drive1");
        QTest::newRow("Enter on OK") << QStringLiteral("OKButton");
    }

    void doubleClickAndEnterLoadTheFile()
    {
        QFETCH(QString, way);
        QVERIFY(writeFile(inFolder("Achse.tabelle"), encoded(sampleValues(QStringLiteral("a")))));
        QVERIFY(writeFile(inFolder("Welle.tabelle"), encoded(sampleValues())));
        showTable();
        const QPointer<QWidget> dialog = openDialog();
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        auto* files = guitest::child<QListWidget>(dialog, "File1");
        if (way == QLatin1String("double click")) {
            QVERIFY(clickFile(dialog, "Welle.tabelle", true));
        } else if (way == QLatin1String("File1")) {
            files->setFocus();
            QTest::keyClick(files, Qt::Key_Down);
            QTest::keyClick(files, Qt::Key_Down);
            QTest::keyClick(files, Qt::Key_Return);
        } else {
            QVERIFY(clickFile(dialog, "Welle.tabelle"));
            QWidget* focused = guitest::child<QWidget>(dialog, way);
            focused->setFocus();
            QTest::keyClick(focused, way == QLatin1String("Drive1") ? Qt::Key_Enter : Qt::Key_Return);
        }
        QCOMPARE(messages::shownTexts(), QStringList());
        QVERIFY(isClosed(dialog));
        QCOMPARE(shownPath(table().document()), inFolder("Welle.tabelle"));
        QCOMPARE(editableCaptions(view()), sampleValues());
    }

    // In the directory list Enter opens the folder, and loads nothing.
    void enterInTheDirectoryListOpensTheFolder()
    {
        QVERIFY(QDir().mkpath(inFolder("Unterordner")));
        QVERIFY(writeFile(inFolder("Unterordner/innen.tabelle"), encoded(sampleValues())));
        const QStringList shown = showTable();
        const QPointer<QWidget> dialog = openDialog();
        auto* directories = guitest::child<QListWidget>(dialog, "Dir1");
        directories->setCurrentItem(directories->findItems("Unterordner", Qt::MatchEndsWith).first());
        directories->setFocus();
        QTest::keyClick(directories, Qt::Key_Return);
        QCOMPARE(fileNames(dialog), QStringList("innen.tabelle"));
        QVERIFY(!isClosed(dialog));
        QCOMPARE(editableCaptions(view()), shown);
        QCOMPARE(messages::shownTexts(), QStringList());
    }

    void theListsShowFoldersAndTableFiles()
    {
        QVERIFY(QDir().mkpath(inFolder("Unterordner")));
        QVERIFY(writeFile(inFolder("Unterordner/innen.tabelle"), encoded(sampleValues())));
        QVERIFY(writeFile(inFolder("oben.tabelle"), encoded(sampleValues())));
        QVERIFY(writeFile(inFolder("notiz.txt"), "x"));
        const QPointer<QWidget> dialog = openDialog();
        QCOMPARE(fileNames(dialog), QStringList("oben.tabelle"));
        QVERIFY(clickFile(dialog, "oben.tabelle"));

        auto* directories = guitest::child<QListWidget>(dialog, "Dir1");
        const QList<QListWidgetItem*> found = directories->findItems("Unterordner", Qt::MatchEndsWith);
        QCOMPARE(found.size(), 1);
        // Ancestors come first: the root, then every folder down to the chosen one.
        QCOMPARE(directories->item(0)->text(), QStringLiteral("/"));
        QCOMPARE(directories->currentItem()->text().trimmed(), QDir(m_folder->path()).dirName());
        const QPoint onItem = directories->visualItemRect(found.first()).center();
        QTest::mouseClick(directories->viewport(), Qt::LeftButton, {}, onItem);
        QCOMPARE(fileNames(dialog), QStringList("oben.tabelle")); // a single click opens nothing
        QTest::mouseDClick(directories->viewport(), Qt::LeftButton, {}, onItem);
        QCOMPARE(fileNames(dialog), QStringList("innen.tabelle"));
        // Another folder does not change the table path; "OK" loads the file clicked before.
        QCOMPARE(shownPath(table().document()), inFolder("oben.tabelle"));
        QVERIFY(clickFile(dialog, "innen.tabelle"));
        QCOMPARE(shownPath(table().document()), inFolder("Unterordner/innen.tabelle"));
        // The directory box keeps showing the start folder.
        QCOMPARE(guitest::child<QLineEdit>(dialog, "Text2")->text(), m_folder->path());
    }

    void savedTextsComeBackUnchanged()
    {
        QStringList values = sampleValues(QStringLiteral("€±°ÄÖÜß "));
        values[0] = QStringLiteral(" 0,05");
        values[1] = QString();
        values[2] = QStringLiteral("1\",5"); // a quote and a comma inside a value
        values[3] = QStringLiteral("\",\"");
        QVERIFY(writeFile(inFolder("t.tabelle"), encoded(values)));
        const QPointer<QWidget> dialog = openDialog();
        QVERIFY(clickFile(dialog, "t.tabelle"));
        click(dialog, "OKButton");
        QCOMPARE(editableCaptions(view()), values);
    }

    void unquotedNumbersAreShownInTheUsersFormat()
    {
        QByteArray file = "0.5, 1.25e1 ,abc,100000,0.0001,-1e5,1e20,1e-7\r\n";
        for (int i = 8; i < tablefile::ValueCount; ++i)
            file += "1000.5,";
        QVERIFY(writeFile(inFolder("zahlen.tabelle"), file));
        const QPointer<QWidget> dialog = openDialog();
        QVERIFY(clickFile(dialog, "zahlen.tabelle"));
        click(dialog, "OKButton");
        const QStringList captions = editableCaptions(view());
        // No exponent for ordinary sizes.
        QCOMPARE(captions.mid(0, 9), QStringList({"0,5", "12,5", "abc", "100000", "0,0001", "-100000",
                                                  "1E+20", "1E-07", "1000,5"}));
    }

    // The shipped tables hold bare numbers, shown with the user's decimal separator.
    void theShippedIsoTableShowsTheUsersDecimalSeparator_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("tolerances");
        QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany)
                                << QStringLiteral("0,1 0,1 0,2 0,3 0,5 0,8 1,2 2");
        QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates)
                                 << QStringLiteral("0.1 0.1 0.2 0.3 0.5 0.8 1.2 2");
    }

    void theShippedIsoTableShowsTheUsersDecimalSeparator()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, tolerances);
        QLocale::setDefault(locale);
        const QString name = QStringLiteral("ISO 2768-m.tabelle");
        QVERIFY(QFile::copy(QStringLiteral(DALMERIN_TABLES_DIR "/") + name, inFolder(name)));
        const QPointer<QWidget> dialog = openDialog();
        QVERIFY(clickFile(dialog, name));
        click(dialog, "OKButton");
        QCOMPARE(messages::shownTexts(), QStringList());
        const QStringList captions = editableCaptions(view());
        // In value order: the lower bounds of ranges 2 to 18, the upper bounds, the plus and the minus
        // tolerances.
        QCOMPARE(captions.mid(0, 8), QStringList({"3", "6", "30", "120", "400", "1000", "2000", ""}));
        QCOMPARE(captions.mid(35, 8), tolerances.split(' '));
        QCOMPARE(captions.mid(53, 8), tolerances.split(' '));
    }

    // What the reader notes about a file comes with its values.
    void loadingPassesTheReadersNotesOn_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("byteOrderMark");
        QTest::addColumn<bool>("moreValues");
        const QByteArray table = encoded(sampleValues());
        const QByteArray firstLine = table.left(table.indexOf('\n') + 1);
        QTest::newRow("as written") << table << false << false;
        QTest::newRow("saved with a byte-order mark") << "\xEF\xBB\xBF" + table << true << false;
        QTest::newRow("a line doubled") << firstLine + table << false << true;
        // The 71st value ends with its CR; the look on for more reaches into the next chunk.
        QTest::newRow("more in the next chunk")
            << table + QByteArray(int(tablefile::LookAheadBytes) - 2, ' ') + "x" << false << true;
    }

    void loadingPassesTheReadersNotesOn()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, byteOrderMark);
        QFETCH(bool, moreValues);
        QVERIFY(writeFile(inFolder("t.tabelle"), file));
        const tablefileio::LoadResult loaded = tablefileio::loadTable(inFolder("t.tabelle"));
        QCOMPARE(loaded.status, tablefileio::LoadResult::Status::Loaded);
        QCOMPARE(loaded.byteOrderMark, byteOrderMark);
        QCOMPARE(loaded.moreValues, moreValues);

        // Opened through the dialog, the table check tells them, until other values are shown.
        const QPointer<QWidget> dialog = openDialog();
        QVERIFY(clickFile(dialog, "t.tabelle"));
        click(dialog, "OKButton");
        QStringList fileNotes;
        for (const tablecheck::Finding& finding : table().findings())
            if (finding.range == 0)
                fileNotes << QString::fromStdString(finding.text);
        QStringList expected;
        if (moreValues)
            expected << QStringLiteral(
                "Die Datei enthält mehr als die 71 Werte einer Tabelle; ab einer zusätzlichen Zeile wären alle "
                "folgenden Werte verschoben.");
        if (byteOrderMark)
            expected << QStringLiteral(
                "Die Datei begann mit einer Byte-Reihenfolge-Markierung (BOM); sie wurde übersprungen.");
        QCOMPARE(fileNotes, expected);
        table().clearAfterDelete();
        QVERIFY(table().findings().empty());
    }

    void commaSeparatedFilesLoadLikeLines()
    {
        const QStringList values = sampleValues(QStringLiteral("w"));
        QByteArray oneLine;
        for (const QString& value : values)
            oneLine += '"' + value.toLatin1() + "\",";
        QVERIFY(writeFile(inFolder("komma.tabelle"), oneLine));
        const QPointer<QWidget> dialog = openDialog();
        QVERIFY(clickFile(dialog, "komma.tabelle"));
        click(dialog, "OKButton");
        QCOMPARE(editableCaptions(view()), values);
    }

    void aShortFileIsRefused()
    {
        QVERIFY(writeFile(inFolder("kurz.tabelle"), quotedLines(sampleValues().mid(0, 20))));
        expectRefused("kurz.tabelle", "Die Datei enthält nur 20 der 71 Werte einer Tabelle.");
    }

    void aBinaryFileIsRefused()
    {
        QVERIFY(writeFile(inFolder("bild.tabelle"), QByteArray("\"1\"\r\n\x89PNG\0\0\0\rIHDR", 16)));
        expectRefused("bild.tabelle", "Die Datei ist keine Textdatei");
    }

    void aFolderIsRefused()
    {
        QVERIFY(QDir().mkdir(inFolder("ordner.tabelle")));
        expectRefused("ordner.tabelle", "Unter diesem Namen steht ein Ordner, keine Datei.");
    }

    void anUnreadableFileIsRefused()
    {
        // Reading a process's memory at address 0 fails, also for root.
        QVERIFY(QFile::link("/proc/self/mem", inFolder("speicher.tabelle")));
        expectRefused("speicher.tabelle", "Die Datei kann nicht gelesen werden.");
    }

    void withoutAMainWindowOkSaysSo()
    {
        QVERIFY(writeFile(inFolder("Flansch.tabelle"), encoded(sampleValues())));
        const QPointer<QWidget> dialog = openDialog();
        m_table = nullptr;
        QVERIFY(clickFile(dialog, "Flansch.tabelle"));
        messages::setNextAnswer(Answer::Ok);
        click(dialog, "OKButton");
        QCOMPARE(messages::shownTexts(),
                 QStringList("Es ist kein Hauptfenster geöffnet. Die Tabelle wurde nicht geladen."));
        QVERIFY(!isClosed(dialog));
        QCOMPARE(shownPath(table().document()), NoTable);
        // A fresh main window is used from then on.
        MainWindowStandIn fresh;
        m_table = fresh.table;
        QVERIFY(clickFile(dialog, "Flansch.tabelle"));
        click(dialog, "OKButton");
        QVERIFY(isClosed(dialog));
        QCOMPARE(editableCaptions(*fresh.view), sampleValues());
        m_table = nullptr;
    }

    void tabIntoTheFileListChoosesNothingArrowKeysChoose()
    {
        QVERIFY(writeFile(inFolder("a.tabelle"), encoded(sampleValues())));
        QVERIFY(writeFile(inFolder("b.tabelle"), encoded(sampleValues())));
        const QStringList shown = showTable();
        const QPointer<QWidget> dialog = openDialog();
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        auto* files = guitest::child<QListWidget>(dialog, "File1");
        for (int presses = 0; presses < 10 && QApplication::focusWidget() != files; ++presses)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), files);
        QCOMPARE(guitest::child<QLineEdit>(dialog, "Text1")->text(), QStringLiteral("*.tabelle"));
        QCOMPARE(shownPath(table().document()), inFolder("Shown.tabelle"));
        // The first arrow key chooses the first file, the next one the next file.
        QTest::keyClick(files, Qt::Key_Down);
        QCOMPARE(shownPath(table().document()), inFolder("a.tabelle"));
        QTest::keyClick(files, Qt::Key_Down);
        QCOMPARE(guitest::child<QLineEdit>(dialog, "Text1")->text(), QStringLiteral("b.tabelle"));
        QCOMPARE(shownPath(table().document()), inFolder("b.tabelle"));
        QCOMPARE(editableCaptions(view()), shown);
    }

    void aTableUnderTheEmptyNameIsListed()
    {
        QVERIFY(writeFile(inFolder(".tabelle"), encoded(sampleValues())));
        QVERIFY(writeFile(inFolder("Welle.tabelle"), encoded(sampleValues())));
        const QPointer<QWidget> dialog = openDialog();
        QCOMPARE(fileNames(dialog), QStringList({".tabelle", "Welle.tabelle"}));
        QVERIFY(clickFile(dialog, ".tabelle"));
        click(dialog, "OKButton");
        QVERIFY(isClosed(dialog));
        QCOMPARE(editableCaptions(view()), sampleValues());
    }

    void deleteRemovesExactlyThatFile()
    {
        QVERIFY(writeFile(inFolder("Flansch.tabelle"), encoded(sampleValues())));
        QVERIFY(writeFile(inFolder("Flansch2.tabelle"), encoded(sampleValues())));
        table().showFileValues(sampleValues());
        table().setPath(inFolder("Flansch.tabelle"));
        messages::setNextAnswer(Answer::Ok);
        deleteCurrentTable(table(), &m_main->window);
        QCOMPARE(messages::shownTexts(), QStringList(inFolder("Flansch.tabelle") + " wird gelöscht."));
        QVERIFY(!QFile::exists(inFolder("Flansch.tabelle")));
        QVERIFY(QFile::exists(inFolder("Flansch2.tabelle")));
        QCOMPARE(shownPath(table().document()), NoTable);
        QCOMPARE(editableCaptions(view()), QStringList(QVector<QString>(71)));
        QCOMPARE(view().labelCaptions().first(), QStringLiteral("0"));
    }

    void deleteCancelledChangesNothing()
    {
        QVERIFY(writeFile(inFolder("Flansch.tabelle"), encoded(sampleValues())));
        table().setPath(inFolder("Flansch.tabelle"));
        messages::setNextAnswer(Answer::Cancel);
        messages::setNextAnswer(Answer::Ok);
        deleteCurrentTable(table(), &m_main->window);
        QCOMPARE(messages::shownTexts().last(),
                 QStringLiteral("Löschvorgang abgebrochen. Tabelle wurde nicht gelöscht"));
        QVERIFY(QFile::exists(inFolder("Flansch.tabelle")));
        QCOMPARE(shownPath(table().document()), inFolder("Flansch.tabelle"));
    }

    void deleteIsRefusedInEditModeAndWithoutATable()
    {
        messages::setNextAnswer(Answer::Ok);
        deleteCurrentTable(table(), &m_main->window);
        table().startNew();
        messages::setNextAnswer(Answer::Ok);
        deleteCurrentTable(table(), &m_main->window);
        QCOMPARE(messages::shownTexts(),
                 QStringList({"Sie müssen die zu löschende Tabelle zuerst auswählen", EditMode}));
    }

    void aFailedDeleteLeavesTheTableShown_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << "fehlt.tabelle"
                                 << "Die Datei ist nicht vorhanden.";
        QTest::newRow("pattern") << "*.tabelle"
                                 << "Die Datei ist nicht vorhanden.";
        QTest::newRow("folder") << "ordner.tabelle"
                                << "Unter diesem Namen steht ein Ordner, keine Datei.";
    }

    void aFailedDeleteLeavesTheTableShown()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, reason);
        QVERIFY(QDir().mkdir(inFolder("ordner.tabelle")));
        QVERIFY(writeFile(inFolder("andere.tabelle"), encoded(sampleValues())));
        const QStringList shown = sampleValues();
        table().showFileValues(shown);
        table().setPath(inFolder(fileName));
        messages::setNextAnswer(Answer::Ok);
        messages::setNextAnswer(Answer::Ok);
        deleteCurrentTable(table(), &m_main->window);
        QCOMPARE(messages::shownTexts().last(),
                 "Die Tabellendatei wurde nicht gelöscht:\n" + inFolder(fileName) + "\n" + reason);
        QCOMPARE(shownPath(table().document()), inFolder(fileName));
        QCOMPARE(editableCaptions(view()), shown);
        QVERIFY(QFile::exists(inFolder("andere.tabelle")));
        QVERIFY(QFileInfo(inFolder("ordner.tabelle")).isDir());
    }
};

QTEST_MAIN(TestOpenAndDelete)
#include "TestOpenAndDelete.moc"
