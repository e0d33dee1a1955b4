// The table file format without a window: codec, exact bytes, reading and the save-name rules.
#include "files/core/TableFile.h"

#include <QRandomGenerator>
#include <QTest>

#include <iterator>

namespace {

using Values = std::array<std::string, tablefile::ValueCount>;

QByteArray bytes(const std::string& text)
{
    return QByteArray(text.data(), qsizetype(text.size()));
}

// The file's line for value `index` (0-based) of a file written by encodeTable.
QByteArray line(const std::string& file, int index)
{
    return bytes(file).split('\n').at(index) + '\n';
}

std::string repeated(const std::string& value, int count, const std::string& separator)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += value + separator;
    return text;
}

std::vector<std::string> texts(const tablefile::ReadResult& result)
{
    std::vector<std::string> list;
    for (const auto& value : result.values)
        list.push_back(value.text);
    return list;
}

std::vector<std::optional<double>> numbers(const tablefile::ReadResult& result)
{
    std::vector<std::optional<double>> list;
    for (const auto& value : result.values)
        list.push_back(value.number);
    return list;
}

// The file fed in pieces of this many bytes, as long as the reader wants more.
tablefile::ReadResult readInPieces(std::string_view file, std::size_t piece)
{
    tablefile::TableReader reader;
    for (std::size_t i = 0; i < file.size() && reader.feed(file.substr(i, piece)); i += piece) {
    }
    return reader.finish();
}

std::string text(const QByteArray& bytes)
{
    return bytes.toStdString();
}

// Lines of one value each, "1" up to `count`: quoted as the writer writes them, or bare.
QByteArray numberedLines(int count, bool quoted)
{
    QByteArray file;
    for (int i = 1; i <= count; ++i)
        file += (quoted ? '"' + QByteArray::number(i) + '"' : QByteArray::number(i)) + "\r\n";
    return file;
}

// Every character Windows-1252 has, except control characters and the
// no-break space (stored as a blank).
std::vector<char32_t> windows1252Characters()
{
    std::vector<char32_t> characters;
    for (char32_t c = 0x20; c < 0x7F; ++c)
        characters.push_back(c);
    for (char32_t c = 0xA1; c <= 0xFF; ++c)
        characters.push_back(c);
    for (char32_t c : {0x20AC, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030,
                       0x0160, 0x2039, 0x0152, 0x017D, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                       0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x017E, 0x0178})
        characters.push_back(c);
    return characters;
}

} // namespace

class TestTableFile : public QObject
{
    Q_OBJECT

private slots:
    void emptyTableIs284Bytes()
    {
        const std::string file = tablefile::encodeTable(Values{});
        QCOMPARE(file.size(), std::size_t(284));
        QCOMPARE(bytes(file), QByteArray("\"\"\r\n").repeated(71));
    }

    void valuesAreWrittenExactlyAsTyped()
    {
        Values values;
        values[0] = "0,05";
        values[1] = " 5";
        values[2] = "ab\"c";
        values[3] = "Über";
        values[70] = "last";
        const std::string file = tablefile::encodeTable(values);
        QCOMPARE(line(file, 0), QByteArray::fromHex("22302C3035220D0A"));
        QCOMPARE(line(file, 1), QByteArray("\" 5\"\r\n"));
        QCOMPARE(line(file, 2), QByteArray::fromHex("226162226322"
                                                    "0D0A"));
        QCOMPARE(line(file, 3), QByteArray::fromHex("22DC626572220D0A"));
        QVERIFY(bytes(file).endsWith("\"last\"\r\n"));
        QCOMPARE(file.size(), std::size_t(284 + 4 + 2 + 4 + 4 + 4));
    }

    void codecUsesSingleBytesAndQuestionMarks()
    {
        QCOMPARE(bytes(tablefile::toWindows1252("äß°±€")), QByteArray::fromHex("E4DFB0B180"));
        QCOMPARE(tablefile::fromWindows1252("\xE4\xDF\xB0\xB1\x80"), std::string("äß°±€"));
        // Characters Windows-1252 lacks, line breaks and broken UTF-8 become "?".
        QCOMPARE(tablefile::toWindows1252("α→😀"), std::string("???"));
        QCOMPARE(tablefile::toWindows1252("a\r\nb\tc"), std::string("a??b\tc"));
        QCOMPARE(tablefile::toWindows1252("x\xC3"), std::string("x?"));
        QVERIFY(!tablefile::isTextByte(0x00));
        QVERIFY(!tablefile::isTextByte(0x81));
        QVERIFY(tablefile::isTextByte(0x80));
        QVERIFY(tablefile::isTextByte('\t'));
    }

    void randomTextsSurviveTheRoundTrip()
    {
        const std::vector<char32_t> characters = windows1252Characters();
        QRandomGenerator random(20240611);
        for (int round = 0; round < 20; ++round) {
            Values values;
            for (std::string& value : values) {
                const int length = random.bounded(12);
                std::u32string text;
                for (int i = 0; i < length; ++i)
                    text += characters[random.bounded(int(characters.size()))];
                value = QString::fromStdU32String(text).toStdString();
            }
            const tablefile::ReadResult read = tablefile::readTable(tablefile::encodeTable(values));
            QCOMPARE(int(read.problem), int(tablefile::ReadProblem::None));
            QVERIFY(texts(read) == std::vector<std::string>(values.begin(), values.end()));
        }
    }

    void everyWrittenTableReadsBackValueForValue()
    {
        Values values;
        const char* const awkward[] = {"1\",5", "\"",    "\"\"", "a\",\"b", "\",",    "x\" , \"y",
                                       " 5 ",   "\"1\"", ",",    "\" ,",    "\t\"\t", "ab\"c"};
        for (std::size_t i = 0; i < values.size(); ++i)
            values[i] = awkward[i % std::size(awkward)];
        const std::string file = tablefile::encodeTable(values);
        const tablefile::ReadResult read = tablefile::readTable(file);
        QCOMPARE(int(read.problem), int(tablefile::ReadProblem::None));
        QVERIFY(texts(read) == std::vector<std::string>(values.begin(), values.end()));
        QCOMPARE(read.bytesRead, file.size() - 1); // up to the 71st line's CR
        // Also with LF line ends, blanks around the quotes and anything after the 71st line.
        const std::string handled = bytes(file).replace("\r\n", " \n  ").toStdString() + "\"x\",1\r\n";
        QVERIFY(texts(tablefile::readTable(handled)) == texts(read));
        // Without its last line end, and in pieces of any size.
        QVERIFY(texts(tablefile::readTable(file.substr(0, file.size() - 2))) == texts(read));
        for (std::size_t piece : {1, 5}) {
            tablefile::TableReader reader;
            for (std::size_t i = 0; i < file.size() && reader.feed(std::string_view(file).substr(i, piece));
                 i += piece) {
            }
            QVERIFY(texts(reader.finish()) == texts(read));
        }
    }

    void filesOfOtherShapesKeepTheirRules()
    {
        // 70 lines: the second line's two values count as two.
        const std::string seventyLines = "\"1\"\r\n\"x\",\"y\"\r\n" + repeated("\"\"", 68, "\r\n");
        const tablefile::ReadResult read = tablefile::readTable(seventyLines);
        QCOMPARE(int(read.problem), int(tablefile::ReadProblem::None));
        QCOMPARE(read.values[1].text, std::string("x"));
        QCOMPARE(read.values[2].text, std::string("y"));
        // One unquoted line among 71: values as before, numbers recognised.
        const std::string oneUnquoted = "0.5\r\n" + repeated("\"a\",\"b\"", 70, "\r\n");
        const tablefile::ReadResult mixed = tablefile::readTable(oneUnquoted);
        QCOMPARE(mixed.values[0].number, std::optional<double>(0.5));
        QCOMPARE(mixed.values[1].text, std::string("a"));
        QCOMPARE(mixed.values[2].text, std::string("b"));
    }

    void charactersATableFileCannotHoldAreFound()
    {
        // The minus sign and the no-break and thin spaces are stored as "-" and " ".
        QCOMPARE(bytes(tablefile::toWindows1252("\u22120,4\u00A01\u20092\u202F3")), QByteArray("-0,4 1 2 3"));
        QCOMPARE(tablefile::firstUnstorable("\u22120,4\u00A0\u2009\u202F€\t\""), std::optional<char32_t>());
        QCOMPARE(tablefile::firstUnstorable("a\u03B1\u2192"), std::optional<char32_t>(0x03B1));
        QCOMPARE(tablefile::firstUnstorable("a\rb"), std::optional<char32_t>('\r'));
        QCOMPARE(tablefile::firstUnstorable("x\xC3"), std::optional<char32_t>(0xFFFD));
        QCOMPARE(tablefile::firstUnstorable("\xC0\xAF"), std::optional<char32_t>(0xFFFD)); // overlong "/"

        Values values;
        values[70] = "\u03B1";
        values[59] = "1\u2192"; // minus tolerance of range 7
        const std::optional<tablefile::Unstorable> found = tablefile::findUnstorable(values);
        QVERIFY(found);
        QVERIFY((found->cell == cells::Cell{cells::Column::Minus, 7}));
        QCOMPARE(found->character, char32_t(0x2192));
        QVERIFY(!tablefile::findUnstorable(Values{}));
    }

    void valuesMaySitOnOneLineSeparatedByCommas()
    {
        const std::vector<std::string> expected(71, "1,5");
        const std::string onePerLine = repeated("\"1,5\"", 71, "\r\n");
        const std::string oneLine = repeated("\"1,5\"", 70, ",") + "\"1,5\"\r\n";
        const std::string mixed = repeated("\"1,5\" , ", 35, "\n") + repeated("\"1,5\"", 36, ",\r");
        for (const std::string& file : {onePerLine, oneLine, mixed}) {
            const tablefile::ReadResult read = tablefile::readTable(file);
            QCOMPARE(int(read.problem), int(tablefile::ReadProblem::None));
            QVERIFY(texts(read) == expected);
        }
    }

    void unquotedValuesAreTrimmedAndNumbersRecognised()
    {
        const std::string file = " 0.5 ,abc, -.25e1,1.2.3,\"0.5\",,7\t\n" + repeated("x", 64, "\n");
        const tablefile::ReadResult read = tablefile::readTable(file);
        QCOMPARE(int(read.problem), int(tablefile::ReadProblem::None));
        QCOMPARE(read.values[0].text, std::string("0.5"));
        QCOMPARE(read.values[0].number, std::optional<double>(0.5));
        QCOMPARE(read.values[1].number, std::optional<double>());
        QCOMPARE(read.values[2].number, std::optional<double>(-2.5));
        QCOMPARE(read.values[3].number, std::optional<double>());
        QCOMPARE(read.values[4].number, std::optional<double>()); // quoted: text, not a number
        QCOMPARE(read.values[5].text, std::string());
        QCOMPARE(read.values[6].text, std::string("7"));
    }

    void aQuoteInsideAValueIsKept()
    {
        const std::string file = "\"ab\"c\"\r\n\"x\" , \"y\"\r\n\"\"\"\r\n" + repeated("\"\"", 67, "\r\n");
        const tablefile::ReadResult read = tablefile::readTable(file);
        QCOMPARE(int(read.problem), int(tablefile::ReadProblem::None));
        QCOMPARE(read.values[0].text, std::string("ab\"c"));
        QCOMPARE(read.values[1].text, std::string("x"));
        QCOMPARE(read.values[2].text, std::string("y"));
        QCOMPARE(read.values[3].text, std::string("\""));
    }

    void incompleteOrBinaryFilesAreRefused_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("problem");
        QTest::addColumn<int>("valuesRead");
        const QByteArray value("\"1\"\r\n");
        using P = tablefile::ReadProblem;
        QTest::newRow("empty") << QByteArray() << int(P::TooFewValues) << 0;
        QTest::newRow("20 values") << value.repeated(20) << int(P::TooFewValues) << 20;
        QTest::newRow("70 values and a line end") << value.repeated(70) + "\r\n" << int(P::None) << 71;
        QTest::newRow("70 values") << value.repeated(70) << int(P::TooFewValues) << 70;
        QTest::newRow("NUL") << value.repeated(3) + QByteArray("\"1\0\"", 4) << int(P::NotText) << 3;
        QTest::newRow("unused byte") << value + "\x81" << int(P::NotText) << 1;
        QTest::newRow("open quote") << value + "\"1\r\n" << int(P::MissingQuote) << 1;
        QTest::newRow("open quote at the end") << value.repeated(70) + "\"1" << int(P::MissingQuote) << 70;
        QTest::newRow("long value") << QByteArray(int(tablefile::MaxValueBytes) + 3, 'x')
                                    << int(P::ValueTooLong) << 0;
    }

    void incompleteOrBinaryFilesAreRefused()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, problem);
        QFETCH(int, valuesRead);
        const tablefile::ReadResult read =
            tablefile::readTable(std::string_view(file.constData(), file.size()));
        QCOMPARE(int(read.problem), problem);
        QCOMPARE(int(read.values.size()), valuesRead);
        if (read.problem != tablefile::ReadProblem::None)
            QVERIFY(!tablefile::describeProblem(read).empty());
    }

    void theProblemIsNamedInGerman()
    {
        const tablefile::ReadResult read = tablefile::readTable(repeated("\"1\"", 20, "\r\n"));
        QCOMPARE(tablefile::describeProblem(read),
                 std::string("Die Datei enthält nur 20 der 71 Werte einer Tabelle."));
    }

    void readingStopsAfterThe71stValue()
    {
        const std::string table = repeated("\"1\"", 71, "\r\n");
        const std::string file = table + std::string(1000, '\0');
        const tablefile::ReadResult read = tablefile::readTable(file);
        QCOMPARE(int(read.problem), int(tablefile::ReadProblem::None));
        // The 71st value ends with its CR; nothing after it is taken.
        QCOMPARE(read.bytesRead, table.size() - 1);
        QVERIFY(read.moreValues); // the NULs after it

        tablefile::TableReader reader;
        std::size_t fed = 0;
        while (fed < file.size() && reader.feed(std::string_view(file).substr(fed, 1)))
            ++fed;
        // Past the table only the LF was wanted; the first NUL holds more.
        QCOMPARE(fed, table.size());
        QVERIFY(!reader.feed("more"));
        QCOMPARE(reader.finish().bytesRead, read.bytesRead);
    }

    // Saved by an editor with a byte-order mark, a file reads as without it,
    // also when the mark comes in pieces.
    void aByteOrderMarkIsSkipped_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("piece");
        Values values;
        values[0] = "0.1";
        values[1] = "1\",5"; // whole only when read line by line
        const QByteArray lines = bytes(tablefile::encodeTable(values));
        const QByteArray bare = numberedLines(71, false);
        for (int piece : {0, 1, 2}) {
            const QByteArray pieces = piece == 0 ? "whole" : QByteArray::number(piece) + "-byte pieces";
            QTest::addRow("lines, %s", pieces.constData()) << lines << piece;
            QTest::addRow("values, %s", pieces.constData()) << bare << piece;
        }
    }

    void aByteOrderMarkIsSkipped()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, piece);
        const tablefile::ReadResult plain = tablefile::readTable(text(file));
        const std::string marked = "\xEF\xBB\xBF" + text(file);
        const tablefile::ReadResult read =
            piece == 0 ? tablefile::readTable(marked) : readInPieces(marked, std::size_t(piece));
        QCOMPARE(int(read.problem), int(tablefile::ReadProblem::None));
        QVERIFY(texts(read) == texts(plain));
        QVERIFY(numbers(read) == numbers(plain));
        QVERIFY(read.byteOrderMark);
        QVERIFY(!plain.byteOrderMark);
        QCOMPARE(read.bytesRead, plain.bytesRead + 3);
    }

    // Only the three bytes together, at the very start, are a mark; else they are text.
    void bytesOfAMarkElsewhereAreText_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<bool>("mark");
        const QByteArray mark("\xEF\xBB\xBF");
        QTest::newRow("part of a mark") << mark.left(2) << QStringList{"ï»"} << false;
        QTest::newRow("part of a mark before values")
            << mark.left(2) + "0,1" << QStringList{"ï»0", "1"} << false;
        QTest::newRow("on the second line") << "0\r\n" + mark + "1" << QStringList{"0", "ï»¿1"} << false;
        QTest::newRow("twice") << mark + mark + "1" << QStringList{"ï»¿1"} << true;
        QTest::newRow("only the mark") << mark << QStringList() << true;
    }

    void bytesOfAMarkElsewhereAreText()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, values);
        QFETCH(bool, mark);
        for (std::size_t piece : {std::size_t(file.size()), std::size_t(1)}) {
            const tablefile::ReadResult read = readInPieces(text(file), piece);
            QStringList readTexts;
            for (const std::string& value : texts(read))
                readTexts << QString::fromStdString(value);
            QCOMPARE(readTexts, values);
            QCOMPARE(read.byteOrderMark, mark);
        }
    }

    // Reading ends after the 71st value; what follows it, as far as the reader
    // looks, tells whether the file holds more values than a table.
    void valuesAfterThe71stAreNoted_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("moreValues");
        const QByteArray lines = numberedLines(71, true);
        const QByteArray bare = numberedLines(71, false);
        const QByteArray commas = QByteArray("1,").repeated(71);
        const int lookAhead = int(tablefile::LookAheadBytes);
        QTest::newRow("71 lines") << lines << false;
        QTest::newRow("72 lines, one doubled") << numberedLines(1, true) + lines << true;
        QTest::newRow("72 bare lines, one doubled") << numberedLines(1, false) + bare << true;
        QTest::newRow("an empty 72nd value") << lines + "\"\"" << true;
        QTest::newRow("trailing blank lines") << lines + "\r\n\n\r\r\n" << false;
        QTest::newRow("trailing blanks") << bare + " \t \r\n\t" << false;
        QTest::newRow("a comma after the 71st value") << commas + " \r\n" << false;
        QTest::newRow("a 72nd value after a comma") << commas + "1" << true;
        QTest::newRow("an empty 72nd value between commas") << commas + "," << true;
        QTest::newRow("beside the 71st value") << bare.chopped(2) + ",72\r\n" << true;
        // The reader looks on from the LF that ends the 71st value.
        const QByteArray lineFeeds = QByteArray("1\n").repeated(71);
        QTest::newRow("at the end of the look") << lineFeeds + QByteArray(lookAhead - 1, ' ') + "1" << true;
        QTest::newRow("beyond the look") << lineFeeds + QByteArray(lookAhead, ' ') + "1" << false;
    }

    void valuesAfterThe71stAreNoted()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, moreValues);
        for (std::size_t piece : {std::size_t(file.size()), std::size_t(1), std::size_t(1000)}) {
            const tablefile::ReadResult read = readInPieces(text(file), piece);
            QCOMPARE(int(read.problem), int(tablefile::ReadProblem::None));
            QCOMPARE(read.moreValues, moreValues);
        }
    }

    void piecesReadLikeTheWhole()
    {
        const std::string file = repeated("\"a\"", 30, "\r\n") + repeated(" 1.5 ", 41, ",\r\n");
        const tablefile::ReadResult whole = tablefile::readTable(file);
        QCOMPARE(int(whole.problem), int(tablefile::ReadProblem::None));
        for (std::size_t piece : {1, 2, 3, 7}) {
            tablefile::TableReader reader;
            for (std::size_t i = 0; i < file.size(); i += piece)
                reader.feed(std::string_view(file).substr(i, piece));
            const tablefile::ReadResult read = reader.finish();
            QVERIFY(texts(read) == texts(whole));
            QCOMPARE(read.bytesRead, whole.bytesRead);
        }
    }

    void saveNameRules()
    {
        QVERIFY(tablefile::isRefusedName("*.tabelle"));
        QVERIFY(tablefile::isRefusedName("*"));
        QVERIFY(!tablefile::isRefusedName("Fl*ansch"));
        QVERIFY(!tablefile::isRefusedName(""));
        QCOMPARE(tablefile::withExtension("Flansch"), std::string("Flansch.tabelle"));
        QCOMPARE(tablefile::withExtension("Flansch.tabelle"), std::string("Flansch.tabelle"));
        QCOMPARE(tablefile::withExtension("Flansch.TABELLE"), std::string("Flansch.TABELLE.tabelle"));
        QCOMPARE(tablefile::withExtension(""), std::string(".tabelle"));
        QCOMPARE(tablefile::withExtension("abelle"), std::string("abelle.tabelle"));
        QCOMPARE(tablefile::joinPath("/daten", "a.tabelle", '/'), std::string("/daten/a.tabelle"));
        QCOMPARE(tablefile::joinPath("/", "a.tabelle", '/'), std::string("//a.tabelle"));
        QCOMPARE(tablefile::joinPath("C:\\", "a.tabelle", '\\'), std::string("C:\\\\a.tabelle"));
    }
};

QTEST_APPLESS_MAIN(TestTableFile)
#include "TestTableFile.moc"
