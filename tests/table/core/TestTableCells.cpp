// Cell names and the orders over them; no window involved.
#include "table/core/TableCells.h"

#include <QTest>

#include <set>

namespace {

QString names(const std::array<cells::Cell, cells::ValueCount>& order, std::size_t first, std::size_t count)
{
    QStringList list;
    for (std::size_t i = first; i < first + count; ++i)
        list << QString::fromStdString(cells::boxName(order[i]));
    return list.join(QLatin1Char(' '));
}

} // namespace

class TestTableCells : public QObject
{
    Q_OBJECT

private slots:
    void valueOrderMatchesTheFileLines()
    {
        const auto& values = cells::valueOrder();
        QCOMPARE(names(values, 0, 2), QStringLiteral("Über2 Über3"));
        QCOMPARE(names(values, 16, 2), QStringLiteral("Über18 Bis1"));
        QCOMPARE(names(values, 34, 2), QStringLiteral("Bis18 PT1"));
        QCOMPARE(names(values, 52, 2), QStringLiteral("PT18 MT1"));
        QCOMPARE(names(values, 70, 1), QStringLiteral("MT18"));
    }

    void labelOrderIsValueOrderAfterTheFixedLabel()
    {
        const auto& labels = cells::labelOrder();
        QCOMPARE(QString::fromStdString(cells::labelName(labels[0])), QStringLiteral("Über1_T"));
        for (int i = 0; i < cells::ValueCount; ++i)
            QVERIFY(labels[i + 1] == cells::valueOrder()[i]);
    }

    // The index functions find every cell where the orders put it.
    void indicesPointIntoTheOrders()
    {
        for (std::size_t i = 0; i < cells::LabelCount; ++i)
            QCOMPARE(cells::labelIndex(cells::labelOrder()[i]), i);
        for (std::size_t i = 0; i < cells::ValueCount; ++i)
            QCOMPARE(cells::valueIndex(cells::valueOrder()[i]), i);
    }

    void keyboardOrderGoesRangeByRange()
    {
        const auto& keys = cells::keyboardOrder();
        QCOMPARE(names(keys, 0, 8), QStringLiteral("Bis1 PT1 MT1 Über2 Bis2 PT2 MT2 Über3"));
        QCOMPARE(names(keys, 67, 4), QStringLiteral("Über18 Bis18 PT18 MT18"));
        std::set<std::string> distinct;
        for (const auto& cell : keys)
            distinct.insert(cells::boxName(cell));
        QCOMPARE(distinct.size(), std::size_t(71));
        QVERIFY(!distinct.count("Über1"));
    }
};

QTEST_APPLESS_MAIN(TestTableCells)
#include "TestTableCells.moc"
