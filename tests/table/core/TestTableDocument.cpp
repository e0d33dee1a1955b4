// The table document without a window: what each table command leaves of
// its path, mode, values and file notes, and which cells the check and the
// transfer then read.
#include "table/core/PlainNumber.h"
#include "table/core/TableDocument.h"

#include <QTest>

namespace {

TableDocument::Values numbered(const std::string& tag)
{
    TableDocument::Values values;
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = tag + std::to_string(i + 1);
    return values;
}

// The 71 editable cells the check and the transfer read.
TableDocument::Values readCells(const TableDocument& document)
{
    const std::vector<std::string> cells = document.cells();
    TableDocument::Values values;
    std::copy(cells.begin() + 1, cells.end(), values.begin());
    return values;
}

const tablecheck::FileNotes MoreValues{true, false};

} // namespace

class TestTableDocument : public QObject
{
    Q_OBJECT

private slots:
    void startsWithoutTable()
    {
        const TableDocument document;
        QVERIFY(!document.hasPath());
        QCOMPARE(document.mode(), TableDocument::Mode::Display);
        QCOMPARE(document.shown()[0], std::string("0"));
        TableDocument::Values blanks;
        blanks.fill(" "); // the single blanks shown at start
        QCOMPARE(readCells(document), blanks);
        QCOMPARE(document.cells().front(), std::string("0"));
        for (const RangeNumbers& range : document.numbers([](const std::string&) { return std::nullopt; }))
            QVERIFY(!range.upper && !range.plus);
    }

    // Open, edit, type, save: the cells read follow the mode, the file's notes
    // belong to the values they came with, and only a change counts.
    void openEditAndSave()
    {
        TableDocument document;
        document.setPath("/daten/Flansch.tabelle");
        document.showFileValues(numbered("v"), MoreValues);
        QVERIFY(document.fileNotes().moreValues);
        QCOMPARE(readCells(document), numbered("v"));

        document.setTyped(0, "ignored"); // no box takes input in display mode
        QCOMPARE(document.typed()[0], std::string());

        document.editShown();
        QVERIFY(document.isEditing());
        QCOMPARE(document.typed(), numbered("v"));
        QCOMPARE(document.shown()[1], std::string());
        QVERIFY(!document.fileNotes().moreValues);
        QCOMPARE(readCells(document), numbered("v"));

        const auto before = document.changeCount();
        document.setTyped(3, "v4");
        QCOMPARE(document.changeCount(), before);
        document.setTyped(3, "6");
        QCOMPARE(document.changeCount(), before + 1);
        QCOMPARE(readCells(document)[3], std::string("6"));

        document.leaveEditMode(numbered("s"));
        QCOMPARE(document.mode(), TableDocument::Mode::Display);
        QCOMPARE(readCells(document), numbered("s"));
        QCOMPARE(document.typed()[3], std::string("6")); // the boxes keep what was typed
        QCOMPARE(*document.path(), std::string("/daten/Flansch.tabelle"));
    }

    void newTableAndDelete()
    {
        TableDocument document;
        document.setPath("/daten/Flansch.tabelle");
        document.showFileValues(numbered("v"), {});
        document.startNew();
        QVERIFY(document.isEditing());
        QCOMPARE(document.typed(), TableDocument::Values());
        QCOMPARE(*document.path(), std::string("/daten/Flansch.tabelle"));

        document.leaveEditMode(numbered("s"));
        document.clearAfterDelete();
        QVERIFY(!document.hasPath());
        QCOMPARE(document.mode(), TableDocument::Mode::Display);
        QCOMPARE(readCells(document), TableDocument::Values());
        QCOMPARE(document.shown()[0], std::string("0"));
    }

    // The check sees what the transfer reads: in edit mode the typed values.
    void checkAndNumbersReadTheCellsOfTheMode()
    {
        const LocaleNumberReading plain = [](const std::string& text) { return readPlainNumber(text, '.'); };
        TableDocument document;
        TableDocument::Values values;
        values[cells::valueIndex({cells::Column::Upper, 1})] = "3";
        values[cells::valueIndex({cells::Column::Plus, 1})] = "0.1";
        values[cells::valueIndex({cells::Column::Minus, 1})] = "0.1";
        document.showFileValues(values, {});
        QVERIFY(!tablecheck::hasError(document.check({plain, '.'})));
        document.editShown();
        document.setTyped(cells::valueIndex({cells::Column::Plus, 1}), "x");
        QVERIFY(tablecheck::hasError(document.check({plain, '.'})));
        QVERIFY(!document.numbers(plain)[0].plus);
        QCOMPARE(document.numbers(plain)[0].upper, std::optional<double>(3));
    }

    void theRecordFollowsTheFile_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<bool>("held");
        QTest::addColumn<bool>("fehler");
        // o open (released), e edit, t type another tolerance, s save (record read again), d delete, S save
        // under another name (no record there), n new table
        QTest::newRow("opened") << "o" << true << false;
        QTest::newRow("edited, nothing typed") << "oe" << true << false;
        QTest::newRow("edited and typed: the record speaks of the file") << "oet" << true << false;
        QTest::newRow("the changes saved: no longer matching") << "oets" << true << true;
        QTest::newRow("saved unchanged: still matching") << "oes" << true << false;
        QTest::newRow("saved under another name") << "oetS" << false << false;
        QTest::newRow("a new table") << "on" << true << false;
        QTest::newRow("deleted") << "od" << false << false;
    }

    // What was read of the release record lives with the file's values: the
    // check weighs it only against the values shown from that file.
    void theRecordFollowsTheFile()
    {
        QFETCH(QString, steps);
        QFETCH(bool, held);
        QFETCH(bool, fehler);
        const LocaleNumberReading plain = [](const std::string& text) { return readPlainNumber(text, '.'); };
        // A stand-in for the hash: the text itself is a sum that differs where the text does.
        const TableDocument::Fingerprinting sum = [](const std::string& text) { return text; };
        TableDocument::Values values;
        values[cells::valueIndex({cells::Column::Upper, 1})] = "3";
        values[cells::valueIndex({cells::Column::Plus, 1})] = "0.1";
        values[cells::valueIndex({cells::Column::Minus, 1})] = "0.1";
        TableDocument document;
        document.setPath("/daten/Welle.tabelle");
        TableRelease released;
        for (const QChar step : steps) {
            switch (step.toLatin1()) {
            case 'o':
                document.showFileValues(values, {});
                released = {TableRelease::State::Read,
                            {*document.fingerprintText(plain), "3", "", "M. Muster", "2026-12-01T09:15:00+01:00", ""},
                            {}};
                document.showFileValues(values, {}, released);
                break;
            case 'e':
                document.editShown();
                break;
            case 't':
                document.setTyped(cells::valueIndex({cells::Column::Plus, 1}), "0.2");
                break;
            case 's':
                document.leaveEditMode(document.typed(), released);
                break;
            case 'S':
                document.leaveEditMode(document.typed());
                break;
            case 'n':
                document.startNew();
                break;
            case 'd':
                document.clearAfterDelete();
                break;
            }
        }
        QCOMPARE(document.release().state == TableRelease::State::Read, held);
        const std::vector<tablecheck::Finding> findings = document.checkWithRelease({plain, '.'}, document.fingerprint(plain, sum));
        QCOMPARE(tablecheck::hasError(findings), fehler);
        if (fehler)
            QCOMPARE(findings.front().text,
                     std::string("Die Tabelle wurde nach ihrer Freigabe (Stand 3 vom 01.12.2026) geändert."));
        QVERIFY(!tablecheck::hasError(document.check({plain, '.'}))); // the values alone are fine
    }
};

QTEST_APPLESS_MAIN(TestTableDocument)
#include "TestTableDocument.moc"
