// The release record's bytes: written byte for byte, read back, and every way
// a record can be damaged named.
#include "files/core/ReleaseFile.h"

#include <QTest>

namespace {

const std::string Sum = "3465FEE3DD54033A3C569926D19085D909D4562062FACAD6655AD9213F508C18";

const std::string Written = "Prüfsumme: " + Sum +
                            "\r\nStand: 3\r\nGrundlage: ISO 2768-1:1989 m\r\nFreigegeben von: M. Muster\r\n"
                            "Freigegeben am: 2026-12-09T14:30:05+01:00\r\nBemerkung:\r\n";

ReleaseRecord released()
{
    return {Sum, "3", "ISO 2768-1:1989 m", "M. Muster", "2026-12-09T14:30:05+01:00", ""};
}

bool operator==(const ReleaseRecord& a, const ReleaseRecord& b)
{
    return a.fingerprint == b.fingerprint && a.version == b.version && a.basis == b.basis &&
           a.releasedBy == b.releasedBy && a.releasedAt == b.releasedAt && a.remark == b.remark;
}

// The text with `from` replaced by `to` once.
std::string with(std::string text, const std::string& from, const std::string& to)
{
    return text.replace(text.find(from), from.size(), to);
}

} // namespace

class TestReleaseFile : public QObject
{
    Q_OBJECT

private slots:
    void isWrittenByteForByte()
    {
        QCOMPARE(releasefile::encode(released()), Written);
        QCOMPARE(releasefile::pathFor("/Tabellen/ISO 2768-m.tabelle"),
                 std::string("/Tabellen/ISO 2768-m.tabelle.freigabe"));
    }

    // A line end typed into a value cannot start a line of its own.
    void aValueStaysOnItsLine()
    {
        ReleaseRecord record = released();
        record.remark = "erste\r\nZeile: zweite";
        QCOMPARE(releasefile::encode(record), with(Written, "Bemerkung:\r\n", "Bemerkung: erste  Zeile: zweite\r\n"));
        QVERIFY(std::get<ReleaseRecord>(releasefile::decode(releasefile::encode(record))).remark ==
                "erste  Zeile: zweite");
    }

    void readsWhatOthersMayHaveWritten_data()
    {
        QTest::addColumn<std::string>("bytes");
        QTest::newRow("as written") << Written;
        QTest::newRow("byte-order mark") << "\xEF\xBB\xBF" + Written;
        QTest::newRow("line feeds only") << QByteArray::fromStdString(Written).replace("\r\n", "\n").toStdString();
        QTest::newRow("lines in another order, a blank line")
            << "Stand: 3\r\n\r\n" + with(Written, "Stand: 3\r\n", "");
        QTest::newRow("the sum in lower case")
            << with(Written, Sum, QByteArray::fromStdString(Sum).toLower().toStdString());
        QTest::newRow("no Grundlage and no Bemerkung line")
            << with(with(Written, "Grundlage: ISO 2768-1:1989 m\r\n", ""), "Bemerkung:\r\n", "")
                   .insert(0, "Grundlage: ISO 2768-1:1989 m\n");
    }

    void readsWhatOthersMayHaveWritten()
    {
        QFETCH(std::string, bytes);
        const auto read = releasefile::decode(bytes);
        if (const auto* problem = std::get_if<std::string>(&read))
            QFAIL(problem->c_str());
        QVERIFY(std::get<ReleaseRecord>(read) == released());
    }

    void namesWhatIsDamaged_data()
    {
        QTest::addColumn<std::string>("bytes");
        QTest::addColumn<std::string>("problem");
        QTest::newRow("empty") << std::string() << std::string("Die Zeile „Prüfsumme“ fehlt.");
        QTest::newRow("no Stand") << with(Written, "Stand: 3\r\n", "") << std::string("Die Zeile „Stand“ fehlt.");
        QTest::newRow("Stand empty") << with(Written, "Stand: 3", "Stand:  ")
                                     << std::string("Die Zeile „Stand“ fehlt.");
        QTest::newRow("nobody released it") << with(Written, "Freigegeben von: M. Muster\r\n", "")
                                            << std::string("Die Zeile „Freigegeben von“ fehlt.");
        QTest::newRow("no date") << with(Written, "Freigegeben am: 2026-12-09T14:30:05+01:00\r\n", "")
                                 << std::string("Die Zeile „Freigegeben am“ fehlt.");
        QTest::newRow("cut short in the sum") << Written.substr(0, 40)
                                              << std::string("Die Prüfsumme ist keine Folge von 64 "
                                                             "Hexadezimalziffern.");
        QTest::newRow("a digit too many") << with(Written, Sum, Sum + "0")
                                          << std::string("Die Prüfsumme ist keine Folge von 64 Hexadezimalziffern.");
        QTest::newRow("no hex digit") << with(Written, Sum, "G" + Sum.substr(1))
                                      << std::string("Die Prüfsumme ist keine Folge von 64 Hexadezimalziffern.");
        QTest::newRow("a line twice") << Written + "Stand: 4\r\n" << std::string("Die Zeile „Stand“ steht zweimal darin.");
        QTest::newRow("a stranger's line") << Written + "Gültig bis: 2027\r\n"
                                           << std::string("Die Zeile „Gültig bis: 2027“ gehört nicht in eine Freigabe.");
        QTest::newRow("a line without colon") << Written + "Stand 4\r\n"
                                              << std::string("Die Zeile „Stand 4“ gehört nicht in eine Freigabe.");
        QTest::newRow("larger than a record")
            << Written + std::string(releasefile::LongestRecord, '\n') << std::string("Die Datei ist zu groß.");
    }

    void namesWhatIsDamaged()
    {
        QFETCH(std::string, bytes);
        QFETCH(std::string, problem);
        const auto read = releasefile::decode(bytes);
        QVERIFY(std::holds_alternative<std::string>(read));
        QCOMPARE(std::get<std::string>(read), problem);
    }
};

QTEST_APPLESS_MAIN(TestReleaseFile)
#include "TestReleaseFile.moc"
