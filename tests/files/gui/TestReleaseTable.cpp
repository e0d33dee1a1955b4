// "Freigeben…" and the release record driven through the real windows: its
// refusals, the record byte for byte, the question before one is replaced, a
// disk that refuses it, and what opening, saving and deleting do with it.
#include "base/Workstation.h"
#include "files/gui/DeleteTable.h"
#include "files/gui/OpenDialog.h"
#include "files/gui/ReleaseDialog.h"
#include "files/gui/SaveDialog.h"
#include "tests/files/gui/FileDialogTestSupport.h"
#include "tests/support/FileModes.h"
#include "table/gui/CheckedTable.h"

#include <QDateTime>
#include <QLabel>
#include <QRegularExpression>

using namespace filetest;
using Answer = MessageBox::Answer;

namespace {

// Range 1 up to 3 with ±0,1, the rest blank: a table without findings.
QStringList shaftValues(const QString& plus = QStringLiteral("0,1"))
{
    QStringList values(tablefile::ValueCount, QString());
    values[int(cells::valueIndex({cells::Column::Upper, 1}))] = QStringLiteral("3");
    values[int(cells::valueIndex({cells::Column::Plus, 1}))] = plus;
    values[int(cells::valueIndex({cells::Column::Minus, 1}))] = QStringLiteral("0,1");
    return values;
}

// The sums of shaftValues() and of shaftValues("0,2"), by sha256sum of their fingerprint texts.
const char* const ShaftSum = "3465FEE3DD54033A3C569926D19085D909D4562062FACAD6655AD9213F508C18";
const char* const WiderShaftSum = "A0CB95DDB01C6C1B36295C70D65B814CB0449D96F0D51F2B0AD51718BF31E850";

QByteArray record(const char* sum, const char* version)
{
    return QByteArray("Prüfsumme: ") + sum + "\r\nStand: " + version +
           "\r\nGrundlage:\r\nFreigegeben von: M. Muster\r\nFreigegeben am: 2026-12-01T09:15:00+01:00\r\n"
           "Bemerkung:\r\n";
}

} // namespace

class TestReleaseTable : public QObject, private FileDialogFixture
{
    Q_OBJECT

private:
    QString shaftPath() const { return inFolder("Welle.tabelle"); }
    QString recordPath() const { return inFolder("Welle.tabelle.freigabe"); }

    // Welle.tabelle on disk, with this record beside it, opened through the open dialog.
    void openShaft(const QByteArray& releaseRecord = {})
    {
        QVERIFY(writeFile(shaftPath(), encoded(shaftValues())));
        if (!releaseRecord.isEmpty())
            QVERIFY(writeFile(recordPath(), releaseRecord));
        auto* dialog = new OpenDialog([this] { return m_table; }, m_folder->path());
        dialog->show();
        typeName(dialog, QStringLiteral("Welle"));
        click(dialog, "OKButton");
        QCOMPARE(shownPath(table().document()), shaftPath());
    }

    QDialog* releaseWindow() const
    {
        return m_main->window.findChild<QDialog*>(QStringLiteral("ReleaseTable"));
    }

    QDialog* startRelease()
    {
        releaseCurrentTable(table(), &m_main->window);
        return releaseWindow();
    }

    void fill(QDialog* window, const QString& version, const QString& by)
    {
        guitest::child<QLineEdit>(window, QStringLiteral("Stand"))->setText(version);
        guitest::child<QLineEdit>(window, QStringLiteral("FreigegebenVon"))->setText(by);
    }

    QString releaseLine() const
    {
        return guitest::child<QLabel>(&m_main->window, QStringLiteral("TableReleaseLine"))->text();
    }

private slots:
    void init() { startTest(); }
    void cleanup()
    {
        delete releaseWindow();
        endTest(QStringLiteral("T_Wahl"));
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<QString>("message");
        QTest::newRow("edit mode") << "edit" << "Sie müssen die aktuellen Tabellenwerte zuerst speichern";
        QTest::newRow("no table chosen") << "none" << "Sie müssen die freizugebende Tabelle zuerst auswählen";
        QTest::newRow("a Fehler") << "error"
                                  << "Die Tabelle enthält Fehler und wird nicht freigegeben.\n"
                                     "Bereich 1, Plus Tol.: „0,1 mm“ ist keine Zahl.";
        QTest::newRow("the file changed since it was opened")
            << "changed"
            << "Die angezeigten Werte weichen von der Datei ab. Öffnen Sie die Tabelle erneut, bevor Sie sie "
               "freigeben.";
        QTest::newRow("the file is gone") << "gone" << "Die Tabelle wurde nicht freigegeben:\n%1\n"
                                                       "Die Datei ist nicht vorhanden.";
    }

    // Each refusal is a message; no window opens and no record is written.
    void refusals()
    {
        QFETCH(QString, situation);
        QFETCH(QString, message);
        if (situation != "none")
            openShaft();
        if (situation == "edit")
            table().editShown();
        if (situation == "error")
            table().showFileValues(shaftValues(QStringLiteral("0,1 mm")));
        if (situation == "changed")
            QVERIFY(writeFile(shaftPath(), encoded(shaftValues(QStringLiteral("0,2")))));
        if (situation == "gone")
            QVERIFY(QFile::remove(shaftPath()));
        messages::setNextAnswer(Answer::Ok);
        QVERIFY(!startRelease());
        QCOMPARE(messages::shownTexts(), QStringList(message.contains("%1") ? message.arg(shaftPath()) : message));
        QVERIFY(!QFile::exists(recordPath()));
    }

    // The record beside the table, byte for byte; the table's file stays as it was.
    void okWritesTheRecord()
    {
        openShaft();
        const QByteArray table = readFile(shaftPath());
        QCOMPARE(releaseLine(), QStringLiteral("Prüfsumme 3465 FEE3 DD54 033A – nicht freigegeben"));
        QDialog* window = startRelease();
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->windowTitle(), QStringLiteral("Dalmerin – Tabelle freigeben"));
        auto* by = guitest::child<QLineEdit>(window, QStringLiteral("FreigegebenVon"));
        QCOMPARE(by->text(), workstation::loginName());
        QVERIFY(!by->text().isEmpty());
        fill(window, QStringLiteral("3"), QStringLiteral("M. Muster"));
        guitest::child<QLineEdit>(window, QStringLiteral("Grundlage"))->setText("ISO 2768-1:1989 m");
        auto* remark = guitest::child<QLineEdit>(window, QStringLiteral("Bemerkung"));
        remark->setText(QStringLiteral("Erstfreigabe; Prüfplan „A“"));
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        QTest::keyClick(remark, Qt::Key_Return); // Enter is OK
        const QDateTime after = QDateTime::currentDateTime().addSecs(1);

        QVERIFY(messages::shownTexts().isEmpty());
        QTRY_VERIFY(!releaseWindow());
        const QByteArray written = readFile(recordPath());
        const QRegularExpression time(
            QStringLiteral("Freigegeben am: (\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d[+-]\\d\\d:\\d\\d)\r\n"));
        const QRegularExpressionMatch at = time.match(QString::fromUtf8(written));
        QVERIFY2(at.hasMatch(), written.constData());
        const QDateTime releasedAt = QDateTime::fromString(at.captured(1), Qt::ISODate);
        QVERIFY(releasedAt >= before && releasedAt <= after);
        QCOMPARE(written, QByteArray("Prüfsumme: ") + ShaftSum +
                              "\r\nStand: 3\r\nGrundlage: ISO 2768-1:1989 m\r\nFreigegeben von: M. Muster\r\n"
                              "Freigegeben am: " +
                              at.captured(1).toUtf8() + "\r\nBemerkung: Erstfreigabe; Prüfplan „A“\r\n");
        QCOMPARE(readFile(shaftPath()), table);
        QCOMPARE(releaseLine(), QStringLiteral("Prüfsumme 3465 FEE3 DD54 033A – Freigegeben: Stand 3, M. Muster, ") +
                                    releasedAt.toString(QStringLiteral("dd.MM.yyyy")));
    }

    void stopsWithoutARecord_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("by");
        QTest::addColumn<QString>("message");
        QTest::newRow("no Stand") << "" << "M. Muster" << "Geben Sie den Stand der Freigabe an.";
        QTest::newRow("blank Stand") << "  " << "M. Muster" << "Geben Sie den Stand der Freigabe an.";
        QTest::newRow("nobody releases") << "3" << "" << "Geben Sie an, wer die Tabelle freigibt.";
        QTest::newRow("Escape") << "3" << "M. Muster" << "";
    }

    // A required field left empty is asked for and the window stays; Escape writes nothing.
    void stopsWithoutARecord()
    {
        QFETCH(QString, version);
        QFETCH(QString, by);
        QFETCH(QString, message);
        openShaft();
        QDialog* window = startRelease();
        fill(window, version, by);
        if (message.isEmpty()) {
            QTest::keyClick(guitest::child<QLineEdit>(window, QStringLiteral("Stand")), Qt::Key_Escape);
            QTRY_VERIFY(!releaseWindow());
        } else {
            messages::setNextAnswer(Answer::Ok);
            QTest::keyClick(guitest::child<QLineEdit>(window, QStringLiteral("Stand")), Qt::Key_Return);
            QCOMPARE(messages::shownTexts(), QStringList(message));
            QVERIFY(releaseWindow() && releaseWindow()->isVisible());
        }
        QVERIFY(!QFile::exists(recordPath()));
    }

    void anExistingRecordIsReplacedOnlyAfterTheQuestion_data()
    {
        QTest::addColumn<Answer>("answer");
        QTest::newRow("OK") << Answer::Ok;
        QTest::newRow("Abbrechen") << Answer::Cancel;
    }

    void anExistingRecordIsReplacedOnlyAfterTheQuestion()
    {
        QFETCH(Answer, answer);
        const QByteArray old = record(WiderShaftSum, "2");
        openShaft(old);
        QDialog* window = startRelease();
        fill(window, QStringLiteral("3"), QStringLiteral("M. Muster"));
        messages::setNextAnswer(answer);
        QTest::keyClick(guitest::child<QLineEdit>(window, QStringLiteral("Stand")), Qt::Key_Return);
        QCOMPARE(messages::shownTexts(), QStringList("Soll die bestehende Freigabe ersetzt werden?"));
        if (answer == Answer::Cancel) {
            QCOMPARE(readFile(recordPath()), old);
            QVERIFY(releaseWindow());
            return;
        }
        QVERIFY(readFile(recordPath()).startsWith(QByteArray("Prüfsumme: ") + ShaftSum + "\r\nStand: 3\r\n"));
        QVERIFY(!tablecheck::hasError(table().findings()));
    }

    // A folder that takes no new file: the message names the record; nothing is written.
    void aDiskThatRefusesTheRecord()
    {
        openShaft();
        QDialog* window = startRelease();
        fill(window, QStringLiteral("3"), QStringLiteral("M. Muster"));
        QVERIFY(QFile::setPermissions(m_folder->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                            QFile::ReadOther | QFile::ExeOther));
        messages::setNextAnswer(Answer::Ok);
        {
            const OrdinaryUser user;
            QTest::keyClick(guitest::child<QLineEdit>(window, QStringLiteral("Stand")), Qt::Key_Return);
        }
        QVERIFY(QFile::setPermissions(m_folder->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QCOMPARE(messages::shownTexts(),
                 QStringList("Die Tabelle wurde nicht freigegeben:\n" + recordPath() +
                             "\nIm Ordner kann keine Datei angelegt werden (keine Schreibberechtigung oder "
                             "schreibgeschützter Datenträger)."));
        QVERIFY(!QFile::exists(recordPath()));
        QVERIFY(releaseWindow());
        QCOMPARE(releaseLine(), QStringLiteral("Prüfsumme 3465 FEE3 DD54 033A – nicht freigegeben"));
    }

    void openingReadsTheRecord_data()
    {
        QTest::addColumn<QByteArray>("releaseRecord");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("fehler");
        const QString notReleased = QStringLiteral("Prüfsumme 3465 FEE3 DD54 033A – nicht freigegeben");
        QTest::newRow("released") << record(ShaftSum, "3")
                                  << "Prüfsumme 3465 FEE3 DD54 033A – Freigegeben: Stand 3, M. Muster, 01.12.2026"
                                  << "";
        QTest::newRow("changed since") << record(WiderShaftSum, "2") << notReleased
                                       << "Die Tabelle wurde nach ihrer Freigabe (Stand 2 vom 01.12.2026) geändert.";
        QTest::newRow("damaged") << record(ShaftSum, "").replace("Stand:\r\n", "") << notReleased
                                 << "Die Freigabe der Tabelle kann nicht gelesen werden: Die Zeile „Stand“ fehlt.";
        QTest::newRow("cut short") << record(ShaftSum, "3").left(40) << notReleased
                                   << "Die Freigabe der Tabelle kann nicht gelesen werden: Die Prüfsumme ist keine "
                                      "Folge von 64 Hexadezimalziffern.";
        QTest::newRow("none") << QByteArray() << notReleased << "";
    }

    // A record that does not match or cannot be read is the table's first Fehler.
    void openingReadsTheRecord()
    {
        QFETCH(QByteArray, releaseRecord);
        QFETCH(QString, line);
        QFETCH(QString, fehler);
        openShaft(releaseRecord);
        QCOMPARE(releaseLine(), line);
        const tablecheck::Finding* error = tablecheck::firstError(table().findings());
        QCOMPARE(error ? QString::fromStdString(error->text) : QString(), fehler);
    }

    // Saved changes leave the old record, which then no longer matches; saved
    // under another name the table has none.
    void savingLeavesTheRecordWhereItIs_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("changedSince");
        QTest::newRow("same name") << "Welle" << true;
        QTest::newRow("another name") << "Welle2" << false;
    }

    void savingLeavesTheRecordWhereItIs()
    {
        QFETCH(QString, name);
        QFETCH(bool, changedSince);
        openShaft(record(ShaftSum, "3"));
        table().editShown();
        view().box({cells::Column::Plus, 1})->setText(QStringLiteral("0,2"));
        auto* dialog = new SaveDialog([this] { return m_table; }, m_folder->path());
        dialog->show();
        typeName(dialog, name);
        if (!changedSince) {
            click(dialog, "OKButton");
        } else {
            messages::setNextAnswer(Answer::Ok);
            messages::setNextAnswer(Answer::Ok);
            click(dialog, "OKButton");
        }
        QVERIFY(!table().document().isEditing());
        QCOMPARE(readFile(recordPath()), record(ShaftSum, "3"));
        QVERIFY(!QFile::exists(inFolder("Welle2.tabelle.freigabe")));
        QCOMPARE(tablecheck::hasError(table().findings()), changedSince);
    }

    void deletingTakesTheRecordAlong()
    {
        openShaft(record(ShaftSum, "3"));
        messages::setNextAnswer(Answer::Ok);
        deleteCurrentTable(table(), &m_main->window);
        QVERIFY(!QFile::exists(shaftPath()));
        QVERIFY(!QFile::exists(recordPath()));
        QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files | QDir::Hidden), QStringList());
        QVERIFY(releaseLine().endsWith(QStringLiteral(" – nicht freigegeben")));
    }

    // A record that cannot be deleted is told of; the table is gone all the same.
    void aRecordThatCannotBeDeletedIsToldOf()
    {
        QVERIFY(QDir().mkdir(recordPath()));
        openShaft();
        QCOMPARE(QString::fromStdString(tablecheck::firstError(table().findings())->text),
                 QStringLiteral("Die Freigabe der Tabelle kann nicht gelesen werden: Unter diesem Namen steht ein "
                                "Ordner, keine Datei."));
        messages::setNextAnswer(Answer::Ok);
        messages::setNextAnswer(Answer::Ok);
        deleteCurrentTable(table(), &m_main->window);
        QCOMPARE(messages::shownTexts().last(),
                 "Die Freigabe der Tabelle wurde nicht gelöscht:\n" + recordPath() +
                     "\nUnter diesem Namen steht ein Ordner, keine Datei.");
        QVERIFY(!QFile::exists(shaftPath()));
        QVERIFY(!table().document().hasPath());
    }
};

QTEST_MAIN(TestReleaseTable)
#include "TestReleaseTable.moc"
