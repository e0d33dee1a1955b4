// The report's numbers: never rounded, whatever the process's locale, and
// the limits a dimension carries after the run, added exactly.
#include "transfer/core/DecimalSum.h"
#include "transfer/core/TransferReport.h"

#include <QTest>

#include <algorithm>
#include <charconv>
#include <clocale>

Q_DECLARE_METATYPE(TransferReport::Kind)

class TestReportNumbers : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void numbersAreNeverRounded_data();
    void numbersAreNeverRounded();
    void numbersAreNeverCutShort();
    void decimalSums_data();
    void decimalSums();
    void limitsAfterTheRun_data();
    void limitsAfterTheRun();
    void limitsAreExactSums_data();
    void limitsAreExactSums();
};

// A German C locale, as on a German Linux desktop: nothing here may follow it.
void TestReportNumbers::initTestCase()
{
    QVERIFY2(std::setlocale(LC_ALL, "de_DE.UTF-8"),
             "the locale de_DE.UTF-8 is missing (tools/deps.sh makes it)");
}

void TestReportNumbers::cleanupTestCase()
{
    std::setlocale(LC_ALL, "C");
}

void TestReportNumbers::decimalSums_data()
{
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("right");
    QTest::addColumn<QString>("sum");
    QTest::newRow("no point") << "3" << "4" << "7";
    QTest::newRow("points of different length") << "3.00002" << "0.2" << "3,20002";
    QTest::newRow("trailing zeros go") << "0.15" << "0.05" << "0,2";
    QTest::newRow("both negative") << "-3.5" << "-0.15" << "-3,65";
    QTest::newRow("the negative one larger") << "0.05" << "-0.1" << "-0,05";
    QTest::newRow("the positive one larger") << "-0.05" << "0.1" << "0,05";
    QTest::newRow("zero has no sign") << "-0.1" << "0.1" << "0";
    QTest::newRow("borrow across digits") << "1000" << "-0.001" << "999,999";
    QTest::newRow("carry into a new digit") << "999.9" << "0.1" << "1000";
}

void TestReportNumbers::decimalSums()
{
    QFETCH(QString, left);
    QFETCH(QString, right);
    QFETCH(QString, sum);
    QCOMPARE(QString::fromStdString(decimalSum(left.toStdString(), right.toStdString(), ',')), sum);
}

void TestReportNumbers::numbersAreNeverRounded_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<char>("separator");
    QTest::addColumn<QString>("shown");
    QTest::newRow("German separator") << 0.1 << ',' << "0,1";
    QTest::newRow("English separator") << 0.1 << '.' << "0.1";
    QTest::newRow("negative") << -0.15 << '.' << "-0.15";
    QTest::newRow("whole") << 600.0 << ',' << "600";
    QTest::newRow("just above a range's end") << 3.0000004 << ',' << "3,0000004";
    QTest::newRow("more than six decimals") << 1.23456789 << ',' << "1,23456789";
    QTest::newRow("tiny, negative") << -0.0000001 << ',' << "-0,0000001";
    QTest::newRow("minus zero") << -0.0 << ',' << "0";
    QTest::newRow("no exponent") << 1e-20 << ',' << "0,00000000000000000001";
    QTest::newRow("a sum's last digit") << 0.1 + 0.2 << ',' << "0,30000000000000004";
}

// Each number is the shortest text that reads back as the value, whatever the
// process's C locale: a nominal of 3.0000004 never shows as the 3 a range ends at.
void TestReportNumbers::numbersAreNeverRounded()
{
    QFETCH(double, value);
    QFETCH(char, separator);
    QFETCH(QString, shown);
    const std::string text = formatNumber(value, separator);
    QCOMPARE(QString::fromStdString(text), shown);
    std::string point = text;
    std::replace(point.begin(), point.end(), separator, '.');
    double read = 1;
    std::from_chars(point.data(), point.data() + point.size(), read);
    QCOMPARE(read, value);
}

void TestReportNumbers::numbersAreNeverCutShort()
{
    QCOMPARE(formatNumber(-1e100, '.').size(), std::size_t(102));
}

// The limits a dimension carries after the run, row by row: what was put
// where KORVANT took it, what it had where nothing was put, nothing where a
// put went unanswered or the dimension was not read in full.
void TestReportNumbers::limitsAfterTheRun_data()
{
    QTest::addColumn<TransferReport::Kind>("kind");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<Put>("plusPut");
    QTest::addColumn<Put>("minusPut");
    QTest::addColumn<bool>("readInFull");
    QTest::addColumn<QString>("limits");
    using K = TransferReport::Kind;
    QTest::newRow("written") << K::Run << Outcome::Written << Put::Done << Put::Done << true << "-9.8|-10.15";
    QTest::newRow("kept its own") << K::Run << Outcome::KeepsOwnTolerances << Put::NotTried << Put::NotTried
                                  << true << "-9.95|-10.05";
    QTest::newRow("plus refused") << K::Run << Outcome::PartlyWritten << Put::Failed << Put::Done << true
                                  << "-9.95|-10.15";
    QTest::newRow("minus unanswered") << K::Run << Outcome::PartlyWritten << Put::Done << Put::Unanswered
                                      << true << "-9.8|";
    QTest::newRow("preview") << K::Preview << Outcome::Written << Put::NotTried << Put::NotTried << true
                             << "-9.8|-10.15";
    QTest::newRow("undo, one needed") << K::Undo << Outcome::Written << Put::NotNeeded << Put::Done << true
                                      << "-9.95|-10.15";
    QTest::newRow("not read in full") << K::Run << Outcome::ReadFailed << Put::NotTried << Put::NotTried
                                      << false << "|";
}

void TestReportNumbers::limitsAfterTheRun()
{
    QFETCH(TransferReport::Kind, kind);
    QFETCH(Outcome, outcome);
    QFETCH(Put, plusPut);
    QFETCH(Put, minusPut);
    QFETCH(bool, readInFull);
    QFETCH(QString, limits);
    ReportRow row;
    row.nominal = -10; // the nominal with its sign, as KORVANT gives it
    row.plusBefore = 0.05;
    if (readInFull)
        row.minusBefore = -0.05;
    row.plusNew = 0.2;
    row.minusNew = -0.15;
    row.outcome = outcome;
    row.plusPut = plusPut;
    row.minusPut = minusPut;
    QCOMPARE(QString::fromStdString(upperLimitText(row, kind, '.') + "|" + lowerLimitText(row, kind, '.')),
             limits);
}

void TestReportNumbers::limitsAreExactSums_data()
{
    QTest::addColumn<double>("nominal");
    QTest::addColumn<double>("tolerance");
    QTest::addColumn<QString>("limit");
    QTest::newRow("a binary sum would be 3.2000200000000003") << 3.00002 << 0.2 << "3,20002";
    QTest::newRow("negative nominal") << -10.0 << 0.2 << "-9,8";
    QTest::newRow("minus tolerance crosses zero") << 0.05 << -0.1 << "-0,05";
    QTest::newRow("to zero, without a sign") << 0.1 << -0.1 << "0";
    QTest::newRow("carry into a new digit") << 999.9 << 0.1 << "1000";
    QTest::newRow("borrow across digits") << 1000.0 << -0.001 << "999,999";
    QTest::newRow("far apart") << 1.0 << 1e-20 << "1,00000000000000000001";
    QTest::newRow("never cut") << 1e22 << 0.5 << "10000000000000000000000,5";
}

// A limit is what anyone adding the shown nominal and tolerance gets.
void TestReportNumbers::limitsAreExactSums()
{
    QFETCH(double, nominal);
    QFETCH(double, tolerance);
    QFETCH(QString, limit);
    ReportRow row;
    row.nominal = nominal;
    row.plusBefore = row.minusBefore = 0;
    row.plusNew = tolerance;
    row.plusPut = Put::Done;
    QCOMPARE(QString::fromStdString(upperLimitText(row, TransferReport::Kind::Run, ',')), limit);
}

QTEST_APPLESS_MAIN(TestReportNumbers)
#include "TestReportNumbers.moc"
