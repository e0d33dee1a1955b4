// The text a table's "Prüfsumme" is taken of: the same for the same table
// however it was typed and under either locale, different for a different
// table, none for a table with a cell that is no number.
#include "table/core/PlainNumber.h"
#include "table/core/TableCells.h"
#include "table/core/TableFingerprint.h"

#include <QTest>

namespace {

using Edits = std::vector<std::pair<cells::Cell, std::string>>;

cells::Cell at(cells::Column column, int range)
{
    return {column, range};
}

// Ranges 1 and 2 of a small table, written plainly, with these cells typed over.
std::vector<std::string> table(const Edits& edits = {})
{
    std::vector<std::string> captions(cells::LabelCount, std::string());
    captions[0] = cells::FirstLowerBound;
    const Edits plain = {{at(cells::Column::Upper, 1), "3"},   {at(cells::Column::Plus, 1), "0.1"},
                         {at(cells::Column::Minus, 1), "0.1"}, {at(cells::Column::Lower, 2), "3"},
                         {at(cells::Column::Upper, 2), "6"},   {at(cells::Column::Plus, 2), "0.2"},
                         {at(cells::Column::Minus, 2), "0.15"}};
    for (const Edits* each : {&plain, &edits})
        for (const auto& [cell, text] : *each)
            captions[cells::labelIndex(cell)] = text;
    return captions;
}

LocaleNumberReading localeWith(char separator)
{
    return [separator](const std::string& text) { return readPlainNumber(text, separator); };
}

} // namespace

Q_DECLARE_METATYPE(Edits)

class TestTableFingerprint : public QObject
{
    Q_OBJECT

private slots:
    // The file's order, Über2 … Über18, Bis1 … Bis18, PT1 … PT18, MT1 … MT18;
    // blanks as empty lines, no line feed after the last.
    void isTheValuesInTheFilesOrder()
    {
        std::vector<std::string> values = {"3"};
        for (const std::vector<std::string>& column :
             {std::vector<std::string>{"3", "6"}, {"0.1", "0.2"}, {"0.1", "0.15"}}) {
            values.resize(values.size() + 16);
            values.insert(values.end(), column.begin(), column.end());
        }
        values.resize(values.size() + 16);
        QCOMPARE(values.size(), std::size_t(cells::ValueCount));
        std::string expected = values[0];
        for (std::size_t i = 1; i < values.size(); ++i)
            expected += "\n" + values[i];
        QCOMPARE(fingerprintText(table(), localeWith(',')), std::optional<std::string>(expected));
    }

    void sameTableSameText_data()
    {
        QTest::addColumn<Edits>("edits");
        QTest::addColumn<char>("separator");
        QTest::addColumn<bool>("same");
        const auto plus1 = at(cells::Column::Plus, 1);
        const auto minus3 = at(cells::Column::Minus, 3);
        QTest::newRow("as typed plainly, English") << Edits{} << '.' << true;
        QTest::newRow("German comma") << Edits{{plus1, "0,1"}} << ',' << true;
        QTest::newRow("comma under an English locale") << Edits{{plus1, "0,1"}} << '.' << true;
        QTest::newRow("trailing zero") << Edits{{plus1, "0.10"}} << ',' << true;
        QTest::newRow("leading zero") << Edits{{at(cells::Column::Upper, 2), "06"}} << '.' << true;
        QTest::newRow("surrounding blanks and no-break space") << Edits{{plus1, " \u00A00,1 "}} << ',' << true;
        QTest::newRow("a blank cell holding blanks") << Edits{{minus3, "   "}} << '.' << true;
        QTest::newRow("another tolerance") << Edits{{plus1, "0.11"}} << '.' << false;
        QTest::newRow("0 is not blank") << Edits{{minus3, "0"}} << '.' << false;
        QTest::newRow("a bound moved to the next cell")
            << Edits{{at(cells::Column::Lower, 2), ""}, {at(cells::Column::Lower, 3), "3"}} << '.' << false;
        QTest::newRow("a smallest change") << Edits{{plus1, "0.10000000000000002"}} << '.' << false;
    }

    void sameTableSameText()
    {
        QFETCH(Edits, edits);
        QFETCH(char, separator);
        QFETCH(bool, same);
        const auto plain = fingerprintText(table(), localeWith('.'));
        const auto typed = fingerprintText(table(edits), localeWith(separator));
        QVERIFY(plain && typed);
        QCOMPARE(*typed == *plain, same);
    }

    // −0 and 0 give the same text: a table typed with "-0" is the table with "0".
    void minusZeroIsZero()
    {
        const auto minus3 = at(cells::Column::Minus, 3);
        QCOMPARE(fingerprintText(table({{minus3, "-0"}}), localeWith('.')),
                 fingerprintText(table({{minus3, "0"}}), localeWith(',')));
        QCOMPARE(shortestNumber(-0.0), std::string("0"));
    }

    void aCellThatIsNoNumberGivesNone_data()
    {
        QTest::addColumn<std::string>("text");
        QTest::newRow("a unit") << std::string("0,1 mm");
        QTest::newRow("too large") << std::string("1e400");
        QTest::newRow("an invisible character") << std::string("0,1\u200B");
        QTest::newRow("a word") << std::string("frei");
    }

    void aCellThatIsNoNumberGivesNone()
    {
        QFETCH(std::string, text);
        // In a range otherwise blank, as in one in use.
        QCOMPARE(fingerprintText(table({{at(cells::Column::Plus, 9), text}}), localeWith(',')), std::nullopt);
        QCOMPARE(fingerprintText(table({{at(cells::Column::Plus, 1), text}}), localeWith(',')), std::nullopt);
    }

    void shortestForms_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<std::string>("text");
        QTest::newRow("whole") << 3.0 << std::string("3");
        QTest::newRow("tenth") << 0.1 << std::string("0.1");
        QTest::newRow("thousands") << 1200.0 << std::string("1200");
        QTest::newRow("negative") << -0.15 << std::string("-0.15");
        QTest::newRow("the lookup's offset is not added") << 3.00001 << std::string("3.00001");
        QTest::newRow("shorter with an exponent") << 1e-7 << std::string("1e-07");
    }

    void shortestForms()
    {
        QFETCH(double, value);
        QFETCH(std::string, text);
        QCOMPARE(shortestNumber(value), text);
    }
};

QTEST_APPLESS_MAIN(TestTableFingerprint)
#include "TestTableFingerprint.moc"
