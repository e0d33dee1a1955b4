// The save dialog driven through its controls: name rules, the overwrite
// question, the table path following the user, and saves that cannot be
// written leaving the table in edit mode with the old file intact.
#include "tests/support/MessageRecorder.h"
#include "base/Version.h"
#include "tests/files/gui/FileDialogTestSupport.h"
#include "tests/support/FileModes.h"
#include "files/gui/SaveDialog.h"
#include "files/gui/TableFileIo.h"

#include <QComboBox>
#include <QLabel>
#include <QWindow>

#include <csignal>
#include <sys/resource.h>

using namespace filetest;
using Answer = MessageBox::Answer;

namespace {

const QString Refused = QStringLiteral("Legen Sie einen neuen Tabellennamen an.");
const QString Question = QStringLiteral("Soll die bestehende Datei überschrieben werden?");
const QString Cancelled =
    QStringLiteral("Speichervorgang wurde abgebrochen. Legen Sie einen neuen Tabellennamen fest.");
const QString Overwriting = QStringLiteral("Tabellendatei wird überschrieben.");
const QString NoNewFile = QStringLiteral("Im Ordner kann keine Datei angelegt werden (keine "
                                         "Schreibberechtigung oder schreibgeschützter Datenträger).");

// Files may grow to `bytes` at most while this lives: writing more fails
// with "file too large", as on a full disk. Works for root too.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_previous);
        const rlimit limit{bytes, m_previous.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_previous); }

private:
    rlimit m_previous{};
};

} // namespace

class TestSaveDialog : public QObject, private FileDialogFixture
{
    Q_OBJECT

private:
    QPointer<QWidget> openDialog(const QString& folder)
    {
        auto* dialog = new SaveDialog([this] { return m_table; }, folder);
        dialog->show();
        return dialog;
    }
    QPointer<QWidget> openDialog() { return openDialog(m_folder->path()); }

private slots:
    void init() { startTest(); }
    void cleanup() { endTest(QStringLiteral("T_Speicher")); }

    void hasTheControlsInPlace()
    {
        const QPointer<QWidget> dialog = openDialog();
        QCOMPARE(dialog->objectName(), QStringLiteral("T_Speicher"));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Dalmerin Version " DALMERIN_VERSION));
        QCOMPARE(dialog->size(), QSize(497, 251));
        QVERIFY(dialog->windowFlags() & Qt::Tool);
        QVERIFY(!(dialog->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QVERIFY(dialog->testAttribute(Qt::WA_DeleteOnClose));
        const QList<std::pair<const char*, QRect>> places = {
            {"Label1", {8, 8, 113, 17}},     {"Text1", {8, 24, 193, 19}},     {"File1", {8, 48, 193, 149}},
            {"Label4", {8, 208, 137, 17}},   {"Label5", {8, 224, 193, 17}},   {"Label2", {208, 8, 113, 17}},
            {"Text2", {208, 24, 193, 19}},   {"Dir1", {208, 48, 193, 156}},   {"Label3", {208, 208, 113, 17}},
            {"Drive1", {208, 224, 193, 21}}, {"OKButton", {408, 24, 81, 25}},
        };
        for (const auto& [name, place] : places) {
            auto* control = guitest::child<QWidget>(dialog, QString::fromUtf8(name));
            QVERIFY2(control, name);
            QCOMPARE(QRect(control->mapTo(dialog, QPoint(0, 0)), control->size()), place);
        }
        QCOMPARE(guitest::child<QLineEdit>(dialog, "Text1")->text(), QStringLiteral("*.tabelle"));
        QCOMPARE(guitest::child<QLabel>(dialog, "Label5")->text(), QStringLiteral("*.tabelle"));
        QCOMPARE(guitest::child<QLineEdit>(dialog, "Text2")->text(), m_folder->path());
        QCOMPARE(guitest::child<QLabel>(dialog, "Label1")->text(), QStringLiteral("Tabellenname"));
        QCOMPARE(guitest::child<QLabel>(dialog, "Label2")->text(), QStringLiteral("Verzeichnisse"));
        QCOMPARE(guitest::child<QLabel>(dialog, "Label3")->text(), QStringLiteral("Laufwerke"));
        QCOMPARE(guitest::child<QLabel>(dialog, "Label4")->text(), QStringLiteral("Dateityp"));

        QCOMPARE(guitest::tabChain(guitest::child<QWidget>(dialog, "OKButton"), 6),
                 QStringList({"OKButton", "Drive1", "Dir1", "File1", "Text1", "Text2"}));
        // Opening leaves the table path alone.
        QCOMPARE(shownPath(table().document()), QStringLiteral("keine Tabelle gewählt"));
    }

    void savesTheTableAndReturnsToDisplayMode()
    {
        QStringList values = sampleValues(QStringLiteral("Über "));
        values[0] = QStringLiteral("0,05");
        values[1] = QStringLiteral(" 5");
        values[2] = QStringLiteral("ab\"c");
        enterTable(view(), values);
        const QPointer<QWidget> dialog = openDialog();

        typeName(dialog, QStringLiteral("Fl"));
        QCOMPARE(shownPath(table().document()), inFolder("Fl"));
        typeName(dialog, QStringLiteral("Flansch"));
        click(dialog, "OKButton");

        const QString path = inFolder("Flansch.tabelle");
        QCOMPARE(messages::shownTexts(), QStringList());
        QCOMPARE(readFile(path), encoded(values));
        QVERIFY(readFile(path).startsWith(QByteArray::fromHex("22302C3035220D0A"
                                                              "222035220D0A"
                                                              "226162226322"
                                                              "0D0A"
                                                              "22DC")));
        QVERIFY(!table().document().isEditing());
        QCOMPARE(editableCaptions(view()), values);
        QCOMPARE(view().labelCaptions().first(), QStringLiteral("0"));
        QCOMPARE(shownPath(table().document()), path);
        QVERIFY(isClosed(dialog));
        QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files), QStringList("Flansch.tabelle"));
    }

    void nameRules_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("fileName");
        QTest::newRow("plain") << "Flansch"
                               << "Flansch.tabelle";
        QTest::newRow("with extension") << "Flansch.tabelle"
                                        << "Flansch.tabelle";
        QTest::newRow("extension in capitals") << "Flansch.TABELLE"
                                               << "Flansch.TABELLE.tabelle";
        QTest::newRow("star later in the name") << "Fl*ansch"
                                                << "Fl*ansch.tabelle";
        QTest::newRow("empty") << ""
                               << ".tabelle";
    }

    void nameRules()
    {
        QFETCH(QString, name);
        QFETCH(QString, fileName);
        enterTable(view(), sampleValues());
        const QPointer<QWidget> dialog = openDialog();
        typeName(dialog, name);
        click(dialog, "OKButton");
        QCOMPARE(messages::shownTexts(), QStringList());
        QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files | QDir::Hidden), QStringList(fileName));
        QCOMPARE(shownPath(table().document()), inFolder(fileName));
        QVERIFY(isClosed(dialog));
    }

    void theUntouchedNameIsRefused()
    {
        enterTable(view(), sampleValues());
        const QPointer<QWidget> dialog = openDialog();
        messages::setNextAnswer(Answer::Ok);
        click(dialog, "OKButton");
        QCOMPARE(messages::shownTexts(), QStringList(Refused));
        QVERIFY(table().document().isEditing());
        QVERIFY(!isClosed(dialog));
        QVERIFY(QDir(m_folder->path()).isEmpty());
    }

    void theOverwriteQuestionCancelsAndReplaces()
    {
        const QString path = inFolder("Welle.tabelle");
        QVERIFY(writeFile(path, encoded(sampleValues(QStringLiteral("alt langer Wert ")))));
        const QStringList values = sampleValues(QStringLiteral("neu"));
        enterTable(view(), values);
        const QPointer<QWidget> dialog = openDialog();
        QVERIFY(clickFile(dialog, "Welle.tabelle"));
        QCOMPARE(guitest::child<QLineEdit>(dialog, "Text1")->text(), QStringLiteral("Welle.tabelle"));
        QCOMPARE(shownPath(table().document()), path);

        messages::setNextAnswer(Answer::Cancel);
        messages::setNextAnswer(Answer::Ok);
        click(dialog, "OKButton");
        QCOMPARE(messages::shownTexts(), QStringList({Question, Cancelled}));
        QCOMPARE(readFile(path), encoded(sampleValues(QStringLiteral("alt langer Wert "))));
        QVERIFY(table().document().isEditing());
        QCOMPARE(shownPath(table().document()), path);
        QVERIFY(!isClosed(dialog));

        messages::clearRecord();
        messages::setNextAnswer(Answer::Ok);
        messages::setNextAnswer(Answer::Ok);
        click(dialog, "OKButton");
        QCOMPARE(messages::shownTexts(), QStringList({Question, Overwriting}));
        // Only the second table is in the file, nothing of the longer first one.
        QCOMPARE(readFile(path), encoded(values));
        QVERIFY(!table().document().isEditing());
        QVERIFY(isClosed(dialog));
    }

    void displayModeIsRefusedAndClosesTheDialog()
    {
        const QPointer<QWidget> dialog = openDialog();
        typeName(dialog, QStringLiteral("Flansch"));
        messages::setNextAnswer(Answer::Ok);
        click(dialog, "OKButton");
        QCOMPARE(messages::shownTexts(),
                 QStringList("Sie müssen eine Tabelle neu erstellen oder bearbeiten, bevor Sie speichern."));
        QVERIFY(isClosed(dialog));
        QVERIFY(QDir(m_folder->path()).isEmpty());
    }

    void withoutAMainWindowOkSaysSo()
    {
        const QPointer<QWidget> dialog = openDialog();
        m_table = nullptr; // the settings dialog replaced the main window
        typeName(dialog, QStringLiteral("Flansch"));
        messages::setNextAnswer(Answer::Ok);
        click(dialog, "OKButton");
        QCOMPARE(messages::shownTexts(),
                 QStringList("Es ist kein Hauptfenster geöffnet. Die Tabelle wurde nicht gespeichert."));
        QVERIFY(!isClosed(dialog));
        QCOMPARE(shownPath(table().document()), QStringLiteral("keine Tabelle gewählt"));
        QVERIFY(QDir(m_folder->path()).isEmpty());
    }

    void aCharacterAFileCannotHoldStopsTheSave()
    {
        const QString path = inFolder("Welle.tabelle");
        const QByteArray old = encoded(sampleValues(QStringLiteral("alt")));
        QVERIFY(writeFile(path, old));
        QStringList values = sampleValues();
        values[1] = QStringLiteral("\u22120,4"); // pasted minus sign: stored as "-"
        values[2] = QStringLiteral("1\u202F000\u00A0\u2009");
        values[55] = QStringLiteral("0,1\u2248"); // minus tolerance of range 3
        values[70] = QStringLiteral("\u03B1");
        enterTable(view(), values);
        const QPointer<QWidget> dialog = openDialog();
        typeName(dialog, QStringLiteral("Welle"));
        messages::setNextAnswer(Answer::Ok);
        click(dialog, "OKButton");
        QCOMPARE(messages::shownTexts(),
                 QStringList(QStringLiteral("Die Tabelle enthält ein Zeichen, das eine Tabellendatei nicht "
                                            "aufnehmen kann: \u201E\u2248\u201C in Minus Tol., Bereich 3.")));
        QCOMPARE(readFile(path), old);
        QVERIFY(table().document().isEditing());
        QVERIFY(!isClosed(dialog));

        // An invisible one is named by its code; the first in value order counts.
        messages::clearRecord();
        view().box(cells::valueOrder()[0])->setText(QStringLiteral("1\u200B"));
        messages::setNextAnswer(Answer::Ok);
        click(dialog, "OKButton");
        QCOMPARE(messages::shownTexts(),
                 QStringList(QStringLiteral("Die Tabelle enthält ein Zeichen, das eine Tabellendatei nicht "
                                            "aufnehmen kann: \u201EU+200B\u201C in über, Bereich 2.")));

        messages::clearRecord();
        view().box(cells::valueOrder()[0])->clear();
        view().box(cells::valueOrder()[55])->clear();
        view().box(cells::valueOrder()[70])->clear();
        messages::setNextAnswer(Answer::Ok);
        messages::setNextAnswer(Answer::Ok);
        click(dialog, "OKButton");
        QCOMPARE(messages::shownTexts(), QStringList({Question, Overwriting}));
        const QList<QByteArray> lines = readFile(path).split('\n');
        QCOMPARE(lines[1], QByteArray("\"-0,4\"\r"));
        QCOMPARE(lines[2], QByteArray("\"1 000  \"\r"));
        QVERIFY(isClosed(dialog));
        // The table shows what the file holds, so that opening it again shows and checks the same.
        QCOMPARE(editableCaptions(view()), tablefileio::loadTable(path).values);
        QCOMPARE(view().label(cells::valueOrder()[1])->text(), QStringLiteral("-0,4"));
    }

    void aMissingFolderIsReportedWithoutTheQuestion()
    {
        const QString gone = inFolder("weg");
        QVERIFY(QDir().mkdir(gone));
        const QStringList values = sampleValues();
        enterTable(view(), values);
        const QPointer<QWidget> dialog = openDialog(gone);
        QVERIFY(QDir(gone).removeRecursively());
        typeName(dialog, QStringLiteral("Flansch"));
        messages::setNextAnswer(Answer::Ok);
        click(dialog, "OKButton");

        const QString path = gone + QStringLiteral("/Flansch.tabelle");
        QCOMPARE(messages::shownTexts(), QStringList("Die Tabelle wurde nicht gespeichert:\n" + path +
                                                       "\nDer Ordner ist nicht vorhanden."));
        QVERIFY(table().document().isEditing());
        QCOMPARE(view().boxTexts(), values);
        QVERIFY(!isClosed(dialog));
    }

    void aReadOnlyFolderIsReported()
    {
        // /proc takes no new files, also from root.
        const QStringList values = sampleValues();
        enterTable(view(), values);
        const QPointer<QWidget> dialog = openDialog(QStringLiteral("/proc"));
        typeName(dialog, QStringLiteral("Flansch"));
        messages::setNextAnswer(Answer::Ok);
        click(dialog, "OKButton");

        QCOMPARE(messages::shownTexts(),
                 QStringList("Die Tabelle wurde nicht gespeichert:\n/proc/Flansch.tabelle\n" + NoNewFile));
        QVERIFY(table().document().isEditing());
        QCOMPARE(view().boxTexts(), values);
        QVERIFY(!isClosed(dialog));
    }

    void aWritableFileInAReadOnlyFolderIsRefusedBeforeTheQuestion()
    {
        const QString path = inFolder("Welle.tabelle");
        const QByteArray old = encoded(sampleValues(QStringLiteral("alt")));
        QVERIFY(writeFile(path, old));
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther |
                                                QFile::WriteOther));
        QVERIFY(QFile::setPermissions(m_folder->path(), QFile::ReadOwner | QFile::WriteOwner |
                                                            QFile::ExeOwner | QFile::ReadOther |
                                                            QFile::ExeOther));
        enterTable(view(), sampleValues(QStringLiteral("neu")));
        const QPointer<QWidget> dialog = openDialog();
        QVERIFY(clickFile(dialog, "Welle.tabelle"));
        messages::setNextAnswer(Answer::Ok);
        {
            const OrdinaryUser user;
            click(dialog, "OKButton");
        }
        QCOMPARE(messages::shownTexts(),
                 QStringList("Die Tabelle wurde nicht gespeichert:\n" + path + "\n" + NoNewFile));
        QCOMPARE(readFile(path), old);
        QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files | QDir::Hidden), QStringList("Welle.tabelle"));
        QVERIFY(table().document().isEditing());
        QVERIFY(!isClosed(dialog));
    }

    void aStartFolderThatIsGoneOrUnreadableGivesWayToHome()
    {
        QTemporaryDir home;
        QVERIFY(QFile::setPermissions(home.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                       QFile::ReadOther | QFile::ExeOther));
        QVERIFY(writeFile(home.filePath("daheim.tabelle"), encoded(sampleValues())));
        const QByteArray previousHome = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(home.path()));
        enterTable(view(), sampleValues());

        const QString gone = inFolder("weg");
        const QString unreadable = inFolder("gesperrt");
        QVERIFY(QDir().mkdir(unreadable));
        QVERIFY(QFile::setPermissions(unreadable, QFile::WriteOther | QFile::ExeOther));
        QVERIFY(QFile::setPermissions(m_folder->path(), QFile::ReadOwner | QFile::WriteOwner |
                                                            QFile::ExeOwner | QFile::ExeOther));
        for (const QString& start : {gone, unreadable}) {
            QPointer<QWidget> dialog;
            {
                const OrdinaryUser user;
                dialog = openDialog(start);
            }
            QCOMPARE(guitest::child<QLineEdit>(dialog, "Text2")->text(), home.path());
            QCOMPARE(fileNames(dialog), QStringList("daheim.tabelle"));
            typeName(dialog, QStringLiteral("Neu"));
            QCOMPARE(shownPath(table().document()), home.filePath("Neu"));
            delete dialog;
        }
        qputenv("HOME", previousHome);
    }

    void aFullDiskLeavesTheOldFileIntact()
    {
        const QString path = inFolder("Welle.tabelle");
        const QByteArray old = encoded(sampleValues(QStringLiteral("alt")));
        QVERIFY(writeFile(path, old));
        const QStringList values = sampleValues(QStringLiteral("neu"));
        enterTable(view(), values);
        const QPointer<QWidget> dialog = openDialog();
        typeName(dialog, QStringLiteral("Welle"));
        for (int i = 0; i < 3; ++i)
            messages::setNextAnswer(Answer::Ok);
        {
            const FileSizeLimit fullDisk(100);
            click(dialog, "OKButton");
        }

        const QStringList shown = messages::shownTexts();
        QCOMPARE(shown.size(), 3);
        QCOMPARE(shown.mid(0, 2), QStringList({Question, Overwriting}));
        QVERIFY2(shown[2].startsWith("Die Tabelle wurde nicht gespeichert:\n" + path + "\n"),
                 qPrintable(shown[2]));
        QVERIFY(shown[2].contains(QStringLiteral("Eine bisherige Datei dieses Namens ist unverändert.")));
        QCOMPARE(readFile(path), old);
        QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files | QDir::Hidden), QStringList("Welle.tabelle"));
        QVERIFY(table().document().isEditing());
        QCOMPARE(view().boxTexts(), values);
        QVERIFY(!isClosed(dialog));
    }

    // A name the file system does not take is told as such: there was no file to replace.
    void aNameTooLongIsReported_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        QTest::newRow("300 characters")
            << QString(300, QLatin1Char('a'))
            << "Der Dateiname ist zu lang: er hat 308 Zeichen, höchstens 255 sind möglich.";
        QTest::newRow("200 umlauts, more bytes than the file system takes")
            << QString(200, QChar(0xE4))
            << "Die Datei kann unter diesem Namen nicht angelegt werden: das Dateisystem nimmt den Namen "
               "nicht an "
               "(zu lang oder mit Zeichen, die es nicht zulässt).";
    }

    void aNameTooLongIsReported()
    {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        const QStringList values = sampleValues();
        enterTable(view(), values);
        const QPointer<QWidget> dialog = openDialog();
        guitest::child<QLineEdit>(dialog, QStringLiteral("Text1"))->setText(name); // pasted
        messages::setNextAnswer(Answer::Ok);
        click(dialog, "OKButton");
        QCOMPARE(messages::shownTexts(), QStringList("Die Tabelle wurde nicht gespeichert:\n" +
                                                       inFolder("") + name + ".tabelle\n" + reason));
        QVERIFY(table().document().isEditing());
        QCOMPARE(view().boxTexts(), values);
        QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    void aFolderOfThatNameIsReported()
    {
        QVERIFY(QDir().mkdir(inFolder("Flansch.tabelle")));
        enterTable(view(), sampleValues());
        const QPointer<QWidget> dialog = openDialog();
        typeName(dialog, QStringLiteral("Flansch"));
        messages::setNextAnswer(Answer::Ok);
        click(dialog, "OKButton");
        QCOMPARE(messages::shownTexts(),
                 QStringList("Die Tabelle wurde nicht gespeichert:\n" + inFolder("Flansch.tabelle") +
                             "\nUnter diesem Namen steht ein Ordner, keine Datei."));
        QVERIFY(table().document().isEditing());
    }

    // The frame's close button and Escape close the dialog without saving.
    void closingWithoutSavingKeepsTheTypedPath_data()
    {
        QTest::addColumn<bool>("byEscape");
        QTest::newRow("the frame") << false;
        QTest::newRow("Escape") << true;
    }

    void closingWithoutSavingKeepsTheTypedPath()
    {
        QFETCH(bool, byEscape);
        enterTable(view(), sampleValues());
        const QPointer<QWidget> dialog = openDialog();
        typeName(dialog, QStringLiteral("Entwurf"));
        if (byEscape)
            QTest::keyClick(guitest::child<QWidget>(dialog, "Text1"), Qt::Key_Escape);
        else
            dialog->windowHandle()->close();
        QVERIFY(isClosed(dialog));
        QCOMPARE(shownPath(table().document()), inFolder("Entwurf"));
        QVERIFY(table().document().isEditing());
        QVERIFY(QDir(m_folder->path()).isEmpty());
    }
};

QTEST_MAIN(TestSaveDialog)
#include "TestSaveDialog.moc"
