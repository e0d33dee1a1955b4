// The table check: a row per rule, the shipped ISO 2768 tables and the cases
// that once transferred what a table could not mean, read as the transfer
// reads them under a German and an English locale.
#include "files/gui/TableFileIo.h"
#include "table/gui/LocaleNumbers.h"
#include "table/core/TableCheck.h"

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

void TestTableCheck::findings_data()
{
    QTest::addColumn<bool>("german");
    QTest::addColumn<QStringList>("changes");
    QTest::addColumn<bool>("moreValues");
    QTest::addColumn<bool>("byteOrderMark");
    QTest::addColumn<QStringList>("expected");
    const auto row = [](const char* name, bool german, QStringList changes, QStringList expected,
                        bool moreValues = false, bool byteOrderMark = false) {
        QTest::newRow(name) << german << changes << moreValues << byteOrderMark << expected;
    };
    row("ISO 2768-m, German", true, {}, {});
    row("ISO 2768-m, English", false, {}, {});
    row("no number", true, {"5 PT=0,1 mm"}, {"Fehler: Bereich 5, Plus Tol.: „0,1 mm“ ist keine Zahl."});
    row("plus-minus sign", true, {"5 MT=±0,5"}, {"Fehler: Bereich 5, Minus Tol.: „±0,5“ ist keine Zahl."});
    row("two points", false, {"2 B=0.1.2"},
        {"Fehler: Bereich 2, bis: „0.1.2“ ist keine Zahl.",
         "Hinweis: Bereich 3, über: Maße über 3 bis 6 erhalten keine Toleranz."});
    row("upper bound blank", true, {"8 B= "},
        {"Fehler: Bereich 8, bis: Die Obergrenze fehlt; aus diesem Bereich erhält kein Maß eine Toleranz."});
    row("lower bound blank", true, {"3 U="},
        {"Fehler: Bereich 3, über: Die Untergrenze fehlt; der Bereich begänne so bei 0."});
    row("upper bound below lower", true, {"4 B=20"},
        {"Fehler: Bereich 4, bis: 20 liegt unter „über“ (30).",
         "Hinweis: Bereich 5, über: Maße über 30 bis 120 erhalten keine Toleranz."});
    row("lower bound below the one before", true, {"5 U=20"},
        {"Fehler: Bereich 5, über: 20 liegt unter „über“ von Bereich 4 (30); die Bereiche müssen "
         "aufsteigen."});
    row("signed minus, German", true, {"2 MT=-0,1"},
        {"Fehler: Bereich 2, Minus Tol.: Geschrieben würden Plus +0,1 und Minus +0,1, ein Toleranzfeld ohne "
         "Breite. Minustoleranzen werden ohne Vorzeichen eingegeben."});
    row("signed minus, English", false, {"2 MT=-0.1"},
        {"Fehler: Bereich 2, Minus Tol.: Geschrieben würden Plus +0.1 und Minus +0.1, ein Toleranzfeld ohne "
         "Breite. Minustoleranzen werden ohne Vorzeichen eingegeben."});
    row("inverted zone", true, {"2 MT=-0,2"},
        {"Fehler: Bereich 2, Minus Tol.: Geschrieben würden Plus +0,1 und Minus +0,2, ein umgekehrtes "
         "Toleranzfeld. Minustoleranzen werden ohne Vorzeichen eingegeben."});
    row("gap", true, {"4 U=40"}, {"Hinweis: Bereich 4, über: Maße über 30 bis 40 erhalten keine Toleranz."});
    row("gap over blank rows", true,
        {"8 U=", "8 B=", "8 PT=", "8 MT=", "9 U=3000", "9 B=4000", "9 PT=2", "9 MT=2"},
        {"Hinweis: Bereich 9, über: Maße über 2000 bis 3000 erhalten keine Toleranz."});
    row("overlap", true, {"4 U=20"},
        {"Hinweis: Bereich 4, über: Maße über 20 bis 30 liegen auch in Bereich 3; dort gilt Bereich 3."});
    row("reading depends on the separator", true, {"7 PT=1.250"},
        {"Hinweis: Bereich 7, Plus Tol.: „1.250“ wird als 1,25 gelesen."});
    row("reading depends on the separator, English", false, {"7 PT=1,250"},
        {"Hinweis: Bereich 7, Plus Tol.: „1,250“ wird als 1.25 gelesen."});
    row("1.000 as a bound, German", true, {"6 B=1.000"},
        {"Hinweis: Bereich 6, bis: „1.000“ wird als 1 gelesen.",
         "Fehler: Bereich 6, bis: 1 liegt unter „über“ (400).",
         "Hinweis: Bereich 7, über: Maße über 400 bis 1000 erhalten keine Toleranz."});
    row("1.000 as a bound, English", false, {"6 B=1.000"},
        {"Hinweis: Bereich 6, bis: „1.000“ wird als 1 gelesen.",
         "Fehler: Bereich 6, bis: 1 liegt unter „über“ (400).",
         "Hinweis: Bereich 7, über: Maße über 400 bis 1000 erhalten keine Toleranz."});
    row("negative minus tolerance", true, {"4 MT=-0,05"},
        {"Hinweis: Bereich 4, Minus Tol.: -0,05 ist negativ; das Toleranzfeld liegt ganz über dem Nennmaß "
         "(+0,05 "
         "bis +0,3)."});
    row("negative plus tolerance", true, {"4 PT=-0,1"},
        {"Hinweis: Bereich 4, Plus Tol.: -0,1 ist negativ; das Toleranzfeld liegt ganz unter dem Nennmaß "
         "(-0,3 bis "
         "-0,1)."});
    row("no tolerance", true, {"3 PT=", "3 MT=0"},
        {"Hinweis: Bereich 3: Beide Toleranzen sind 0 oder leer; Maße über 6 bis 30 erhalten keine "
         "Toleranz."});
    row("no tolerance in range 1", true, {"1 PT=0", "1 MT=0"},
        {"Hinweis: Bereich 1: Beide Toleranzen sind 0 oder leer; Maße von 0 bis 3 erhalten keine Toleranz."});
    row("smaller than the range before", true, {"5 PT=0,25"},
        {"Hinweis: Bereich 5, Plus Tol.: 0,25 ist kleiner als in Bereich 4 (0,3)."});
    row("a file of more than 71 values", true, {},
        {"Hinweis: Die Datei enthielt mehr als 71 Werte; die übrigen wurden nicht gelesen."}, true);
    row("a file with a byte-order mark", true, {},
        {"Hinweis: Die Datei begann mit einer Byte-Reihenfolge-Markierung (BOM); sie wurde übersprungen."},
        false, true);
    row("a blank table", true, {"1 B=", "1 PT=", "1 MT="}, {});
}

void TestTableCheck::findings()
{
    QFETCH(bool, german);
    QFETCH(QStringList, changes);
    QFETCH(bool, moreValues);
    QFETCH(bool, byteOrderMark);
    QFETCH(QStringList, expected);
    const QLocale locale(german ? QLocale::German : QLocale::English,
                         german ? QLocale::Germany : QLocale::UnitedStates);
    std::vector<std::string> shown = captions(changes, german ? ',' : '.');
    if (QTest::currentDataTag() == QByteArray("a blank table"))
        for (std::size_t i = 1; i < shown.size(); ++i)
            shown[i] = " ";
    const auto findings = tablecheck::check(shown, numbersOf(locale), {moreValues, byteOrderMark});
    QCOMPARE(shownFindings(findings), expected);
    for (const tablecheck::Finding& finding : findings)
        QVERIFY(finding.range == 0 || finding.text.rfind("Bereich " + std::to_string(finding.range), 0) == 0);
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
