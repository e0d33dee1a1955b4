// The table check: a row per rule, the shipped ISO 2768 tables and the cases
// that once transferred what a table could not mean, read as the transfer
// reads them under a German and an English locale.
#include "files/core/TableFile.h"
#include "files/gui/TableFileIo.h"
#include "table/gui/LocaleNumbers.h"
#include "table/core/TableCheck.h"
#include "table/core/TableNumbers.h"
#include "transfer/core/RangeSet.h"

#include <QDir>
#include <QTest>

namespace {

// ISO 2768-m as a user types it: ranges 1 to 8, "über", "bis", "Plus Tol.", "Minus Tol.".
const char* const IsoM[8][4] = {{"", "3", "0,1", "0,1"},        {"3", "6", "0,1", "0,1"},
                                {"6", "30", "0,2", "0,2"},      {"30", "120", "0,3", "0,3"},
                                {"120", "400", "0,5", "0,5"},   {"400", "1000", "0,8", "0,8"},
                                {"1000", "2000", "1,2", "1,2"}, {"2000", "4000", "2", "2"}};

// The 72 captions of ISO 2768-m, with changes: "5 PT=0,1 mm" sets range 5's
// plus tolerance ("U" lower, "B" upper, "PT", "MT"), "9 B=x" another row.
std::vector<std::string> captions(const QStringList& changes, char separator)
{
    std::vector<std::string> shown(cells::LabelCount, " ");
    shown[0] = cells::FirstLowerBound;
    const cells::Column columns[] = {cells::Column::Lower, cells::Column::Upper, cells::Column::Plus,
                                     cells::Column::Minus};
    for (int range = 1; range <= 8; ++range)
        for (int column = 0; column < 4; ++column) {
            if (range == 1 && column == 0)
                continue;
            std::string text = IsoM[range - 1][column];
            std::replace(text.begin(), text.end(), ',', separator);
            shown[cells::labelIndex({columns[column], range})] = text;
        }
    for (const QString& change : changes) {
        const int space = int(change.indexOf(QLatin1Char(' ')));
        const int equals = int(change.indexOf(QLatin1Char('=')));
        const int range = change.left(space).toInt();
        const QString column = change.mid(space + 1, equals - space - 1);
        const cells::Column which = column == QLatin1String("U")    ? cells::Column::Lower
                                    : column == QLatin1String("B")  ? cells::Column::Upper
                                    : column == QLatin1String("PT") ? cells::Column::Plus
                                                                    : cells::Column::Minus;
        shown[cells::labelIndex({which, range})] = change.mid(equals + 1).toStdString();
    }
    return shown;
}

// The 71 values of ISO 2768-m as the file holds them.
std::array<std::string, tablefile::ValueCount> isoValues()
{
    const std::vector<std::string> shown = captions({}, '.');
    std::array<std::string, tablefile::ValueCount> values;
    std::copy(shown.begin() + 1, shown.end(), values.begin());
    return values;
}

// A file's bytes with one line (1-based) written twice.
QByteArray withLineDoubled(const std::string& bytes, int line)
{
    QList<QByteArray> lines = QByteArray::fromStdString(bytes).split('\n');
    lines.insert(line - 1, lines.at(line - 1));
    return lines.join('\n');
}

QStringList shownFindings(const std::vector<tablecheck::Finding>& findings)
{
    QStringList shown;
    for (const tablecheck::Finding& finding : findings)
        shown << QString::fromUtf8(tablecheck::kindName(finding.kind)) + QStringLiteral(": ") +
                     QString::fromStdString(finding.text);
    return shown;
}

} // namespace

class TestTableCheck : public QObject
{
    Q_OBJECT

private slots:
    void findings_data();
    void findings();
    void theShippedIsoTablesGiveNoFinding_data();
    void theShippedIsoTablesGiveNoFinding();
    void summaryLine();
};

// The nominals each row's transfer is shown for, and the ranges ISO 2768-m gives them (0: none).
const double Sweep[] = {0, 3, 4, 6, 10, 30, 45, 60, 100, 500, 1000, 1100, 1500, 3000};
const char* const IsoRanges = "1 1 2 2 3 3 4 4 4 6 6 7 7 8";

void TestTableCheck::findings_data()
{
    QTest::addColumn<bool>("german");
    QTest::addColumn<QStringList>("changes");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("byteOrderMark");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("ranges");
    const auto row = [](const char* name, bool german, QStringList changes, QStringList expected,
                        const char* ranges = IsoRanges, QByteArray file = {}, bool byteOrderMark = false) {
        QTest::newRow(name) << german << changes << file << byteOrderMark << expected << QString(ranges);
    };
    row("ISO 2768-m, German", true, {}, {});
    row("ISO 2768-m, English", false, {}, {});
    row("no number", true, {"5 PT=0,1 mm"}, {"Fehler: Bereich 5, Plus Tol.: „0,1 mm“ ist keine Zahl."});
    row("plus-minus sign", true, {"5 MT=±0,5"}, {"Fehler: Bereich 5, Minus Tol.: „±0,5“ ist keine Zahl."});
    row("too large for a double", true, {"8 B=1e400"}, {"Fehler: Bereich 8, bis: „1e400“ ist zu groß."},
        "1 1 2 2 3 3 4 4 4 6 6 7 7 0");
    row("two points", false, {"2 B=0.1.2"},
        {"Fehler: Bereich 2, bis: „0.1.2“ ist keine Zahl.",
         "Hinweis: Bereich 3, über: Maße über 3 bis 6 erhalten keine Toleranz."},
        "1 1 0 0 3 3 4 4 4 6 6 7 7 8");
    row("upper bound blank", true, {"8 B= "},
        {"Fehler: Bereich 8, bis: Die Obergrenze fehlt; aus diesem Bereich erhält kein Maß eine Toleranz."},
        "1 1 2 2 3 3 4 4 4 6 6 7 7 0");
    row("lower bound blank", true, {"3 U="},
        {"Fehler: Bereich 3, über: Die Untergrenze fehlt; der Bereich begänne so bei 0."});
    row("lower bound blank, upper bound no number", true, {"3 U=", "3 B=x"},
        {"Fehler: Bereich 3, bis: „x“ ist keine Zahl.",
         "Hinweis: Bereich 4, über: Maße über 6 bis 30 erhalten keine Toleranz."},
        "1 1 2 2 0 0 4 4 4 6 6 7 7 8");
    row("upper bound below lower", true, {"4 B=20"},
        {"Fehler: Bereich 4, bis: 20 liegt unter „über“ (30).",
         "Hinweis: Bereich 5, über: Maße über 30 bis 120 erhalten keine Toleranz."},
        "1 1 2 2 3 3 0 0 0 6 6 7 7 8");
    row("range 3 up to its own lower bound", true, {"3 B=6"},
        {"Fehler: Bereich 3: über 6 bis 6 enthält kein Maß.",
         "Hinweis: Bereich 4, über: Maße über 6 bis 30 erhalten keine Toleranz."},
        "1 1 2 2 0 0 4 4 4 6 6 7 7 8");
    row("range 2 up to 60 hides range 3 and part of range 4", true, {"2 B=60"},
        {"Fehler: Bereich 3 (über 6 bis 30) wird nie angewandt: Bereich 2 reicht bis 60.",
         "Hinweis: Bereich 4, über: Maße über 30 bis 60 erhalten die Toleranz von Bereich 2, nicht von "
         "Bereich 4."},
        "1 1 2 2 2 2 2 2 4 6 6 7 7 8");
    row("range 1 up to 30 hides ranges 2 and 3", true, {"1 B=30"},
        {"Fehler: Bereich 2 (über 3 bis 6) wird nie angewandt: Bereich 1 reicht bis 30.",
         "Fehler: Bereich 3 (über 6 bis 30) wird nie angewandt: Bereich 1 reicht bis 30."},
        "1 1 1 1 1 1 4 4 4 6 6 7 7 8");
    row("range 4 up to 1200 hides ranges 5 and 6 and part of range 7", true, {"4 B=1200"},
        {"Fehler: Bereich 5 (über 120 bis 400) wird nie angewandt: Bereich 4 reicht bis 1200.",
         "Fehler: Bereich 6 (über 400 bis 1000) wird nie angewandt: Bereich 4 reicht bis 1200.",
         "Hinweis: Bereich 7, über: Maße über 1000 bis 1200 erhalten die Toleranz von Bereich 4, nicht von "
         "Bereich 7."},
        "1 1 2 2 3 3 4 4 4 4 4 4 7 8");
    row("lower bound below the one before", true, {"5 U=20"},
        {"Fehler: Bereich 5, über: 20 liegt unter „über“ von Bereich 4 (30); die Bereiche müssen "
         "aufsteigen."});
    row("signed minus, German", true, {"2 PT=0,2", "2 MT=-0,1"},
        {"Fehler: Bereich 2, Minus Tol.: Minustoleranzen werden ohne Vorzeichen eingegeben."});
    row("signed minus, English", false, {"2 PT=0.2", "2 MT=-0.1"},
        {"Fehler: Bereich 2, Minus Tol.: Minustoleranzen werden ohne Vorzeichen eingegeben."});
    row("negative plus tolerance", true, {"2 PT=-0,1", "2 MT=0"},
        {"Fehler: Bereich 2, Plus Tol.: Plustoleranzen werden ohne Minuszeichen eingegeben."});
    row("minus zero", true, {"2 PT=0,1", "2 MT=-0"},
        {"Hinweis: Bereich 2, Minus Tol.: 0 ist kleiner als in Bereich 1 (0,1)."});
    row("gap", true, {"4 U=40"}, {"Hinweis: Bereich 4, über: Maße über 30 bis 40 erhalten keine Toleranz."},
        IsoRanges);
    row("gap over blank rows", true,
        {"8 U=", "8 B=", "8 PT=", "8 MT=", "9 U=3000", "9 B=4000", "9 PT=2", "9 MT=2"},
        {"Hinweis: Bereich 9, über: Maße über 2000 bis 3000 erhalten keine Toleranz."},
        "1 1 2 2 3 3 4 4 4 6 6 7 7 0");
    row("overlap", true, {"4 U=20"},
        {"Hinweis: Bereich 4, über: Maße über 20 bis 30 erhalten die Toleranz von Bereich 3, nicht von "
         "Bereich 4."});
    row("thousands written with a point, German", true, {"6 B=1.000", "7 U=1.000", "7 B=2.000", "8 U=2.000"},
        {"Fehler: Bereich 6, bis: „1.000“ ist mehrdeutig (1 oder 1000): 1000 oder 1,0 schreiben.",
         "Fehler: Bereich 6, bis: 1 liegt unter „über“ (400).",
         "Fehler: Bereich 7, über: „1.000“ ist mehrdeutig (1 oder 1000): 1000 oder 1,0 schreiben.",
         "Fehler: Bereich 7, bis: „2.000“ ist mehrdeutig (2 oder 2000): 2000 oder 2,0 schreiben.",
         "Fehler: Bereich 7, über: 1 liegt unter „über“ von Bereich 5 (120); die Bereiche müssen aufsteigen.",
         "Fehler: Bereich 8, über: „2.000“ ist mehrdeutig (2 oder 2000): 2000 oder 2,0 schreiben.",
         "Fehler: Bereich 8, über: 2 liegt unter „über“ von Bereich 5 (120); die Bereiche müssen aufsteigen."},
        "1 1 2 2 3 3 4 4 4 8 8 8 8 8");
    row("a separator before three digits, English", false, {"7 PT=2,500"},
        {"Fehler: Bereich 7, Plus Tol.: „2,500“ ist mehrdeutig (2.5 oder 2500): 2500 oder 2.5 schreiben.",
         "Hinweis: Bereich 8, Plus Tol.: 2 ist kleiner als in Bereich 7 (2.5)."});
    row("a leading zero before the separator", true, {"2 MT=0,050"},
        {"Hinweis: Bereich 2, Minus Tol.: 0,05 ist kleiner als in Bereich 1 (0,1)."});
    row("leading zeros", true, {"2 B=006"}, {"Hinweis: Bereich 2, bis: „006“ wird als 6 gelesen."});
    row("an invisible character", true, {"5 PT=0,5\u200B"},
        {"Fehler: Bereich 5, Plus Tol.: „0,5\u200B“ enthält das unsichtbare Zeichen U+200B."});
    row("a lone no-break space in an unused range", true, {"9 PT=\u00A0"}, {});
    row("tolerances 0 in unused ranges", true, {"9 PT=0", "9 MT=0", "10 PT=0", "10 MT=0"},
        {"Hinweis: Bereich 9: Toleranzen ohne „über“ und „bis“; aus diesem Bereich wird keine Toleranz "
         "geschrieben.",
         "Hinweis: Bereich 10: Toleranzen ohne „über“ und „bis“; aus diesem Bereich wird keine Toleranz "
         "geschrieben."});
    for (const bool german : {true, false})
        row(german ? "numbers padded with no-break spaces, German" : "numbers padded with no-break spaces, English",
            german, {"4 U=\u00A030\u00A0", "4 B=\u202F120\u2007", "4 PT=\u30000,3", "4 MT=0.3\u00A0\t"}, {});
    row("no tolerance", true, {"3 PT=", "3 MT=0"},
        {"Hinweis: Bereich 3: Beide Toleranzen sind 0 oder leer; Maße über 6 bis 30 erhalten keine "
         "Toleranz."});
    row("no tolerance in range 1", true, {"1 PT=0", "1 MT=0"},
        {"Hinweis: Bereich 1: Beide Toleranzen sind 0 oder leer; Maße von 0 bis 3 erhalten keine Toleranz."});
    row("smaller than the range before", true, {"5 PT=0,25"},
        {"Hinweis: Bereich 5, Plus Tol.: 0,25 ist kleiner als in Bereich 4 (0,3)."});
    row("a file with line 5 doubled", true, {},
        {"Fehler: Bereich 2: über 3 bis 3 enthält kein Maß.", "Fehler: Bereich 3: über 6 bis 6 enthält kein Maß.",
         "Fehler: Bereich 4: über 30 bis 30 enthält kein Maß.",
         "Fehler: Bereich 5: über 120 bis 120 enthält kein Maß.",
         "Fehler: Bereich 6: über 400 bis 400 enthält kein Maß.",
         "Fehler: Die Datei enthält mehr als die 71 Werte einer Tabelle; ab einer zusätzlichen Zeile wären alle "
         "folgenden Werte verschoben."},
        "0 0 0 0 0 0 0 0 0 7 7 8 8 9", withLineDoubled(tablefile::encodeTable(isoValues()), 5));
    row("a file with a byte-order mark", true, {},
        {"Hinweis: Die Datei begann mit einer Byte-Reihenfolge-Markierung (BOM); sie wurde übersprungen."},
        IsoRanges, {}, true);
    row("a blank table", true, {"1 B=", "1 PT=", "1 MT="}, {}, "0 0 0 0 0 0 0 0 0 0 0 0 0 0");
}

void TestTableCheck::findings()
{
    QFETCH(bool, german);
    QFETCH(QStringList, changes);
    QFETCH(QByteArray, file);
    QFETCH(bool, byteOrderMark);
    QFETCH(QStringList, expected);
    QFETCH(QString, ranges);
    const QLocale locale(german ? QLocale::German : QLocale::English,
                         german ? QLocale::Germany : QLocale::UnitedStates);
    std::vector<std::string> shown = captions(changes, german ? ',' : '.');
    if (QTest::currentDataTag() == QByteArray("a blank table"))
        for (std::size_t i = 1; i < shown.size(); ++i)
            shown[i] = " ";
    bool moreValues = false;
    if (!file.isEmpty()) {
        const tablefile::ReadResult read = tablefile::readTable(file.toStdString());
        QCOMPARE(read.problem, tablefile::ReadProblem::None);
        moreValues = read.moreValues;
        for (std::size_t i = 0; i < read.values.size(); ++i)
            shown[i + 1] = read.values[i].text;
    }
    const tablecheck::Locale numbers = numbersOf(locale);
    const auto findings = tablecheck::check(shown, numbers, {moreValues, byteOrderMark});
    QCOMPARE(shownFindings(findings), expected);
    for (const tablecheck::Finding& finding : findings)
        QVERIFY(finding.range == 0 || finding.text.rfind("Bereich " + std::to_string(finding.range), 0) == 0);
    const RangeSet transfer = RangeSet::fromNumbers(readTableNumbers(shown, numbers.read));
    QStringList taken;
    for (const double nominal : Sweep) {
        const auto found = transfer.lookUp(nominal);
        taken << QString::number(found ? found->range : 0);
    }
    QCOMPARE(taken.join(QLatin1Char(' ')), ranges);
}

void TestTableCheck::theShippedIsoTablesGiveNoFinding_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("german");
    for (const char* isoClass : {"f", "m", "c", "v"})
        for (const bool german : {true, false})
            QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(isoClass, german ? "German" : "English")))
                << QStringLiteral("ISO 2768-%1.tabelle").arg(isoClass) << german;
}

void TestTableCheck::theShippedIsoTablesGiveNoFinding()
{
    QFETCH(QString, file);
    QFETCH(bool, german);
    const QLocale locale(german ? QLocale::German : QLocale::English,
                         german ? QLocale::Germany : QLocale::UnitedStates);
    QLocale::setDefault(locale);
    const tablefileio::LoadResult table =
        tablefileio::loadTable(QDir(QStringLiteral(DALMERIN_TABLES_DIR)).filePath(file));
    QCOMPARE(table.status, tablefileio::LoadResult::Status::Loaded);
    std::vector<std::string> shown{cells::FirstLowerBound};
    for (const QString& value : table.values)
        shown.push_back(value.toStdString());
    QCOMPARE(shownFindings(tablecheck::check(shown, numbersOf(locale))), QStringList());
}

void TestTableCheck::summaryLine()
{
    using tablecheck::Kind;
    QCOMPARE(tablecheck::summaryLine({}), "Tabelle geprüft: keine Auffälligkeiten");
    QCOMPARE(tablecheck::summaryLine(
                 {{Kind::Error, 1, {}, "a"}, {Kind::Error, 2, {}, "b"}, {Kind::Note, 3, {}, "c"}}),
             "2 Fehler, 1 Hinweis – F8 zeigt sie");
    QCOMPARE(tablecheck::summaryLine({{Kind::Note, 1, {}, "a"}, {Kind::Note, 2, {}, "b"}}),
             "0 Fehler, 2 Hinweise – F8 zeigt sie");
}

QTEST_APPLESS_MAIN(TestTableCheck)
#include "TestTableCheck.moc"
