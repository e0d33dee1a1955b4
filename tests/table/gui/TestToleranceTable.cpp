// The tolerance table on its own: its start state, headers and plain-text
// captions, and the commands that start a new table or edit the shown one.
#include "base/MessageBox.h"
#include "table/gui/TableCommands.h"
#include "table/gui/ToleranceTable.h"
#include "tests/support/GuiTestSupport.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>

#include <memory>

using guitest::child;

namespace {

// Fills the 71 display captions with their own cell names, as an opened table would.
void showNamedValues(ToleranceTable& table)
{
    QStringList values;
    for (const auto& cell : cells::valueOrder())
        values << QString::fromStdString(cells::boxName(cell));
    table.showValues(values);
}

} // namespace

class TestToleranceTable : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QWidget> m_window;
    ToleranceTable* m_table = nullptr;

    ToleranceTable& table() { return *m_table; }
    bool boxesShown()
    {
        for (QLineEdit* box : table().findChildren<QLineEdit*>())
            if (!box->isVisible())
                return false;
        return true;
    }
    bool labelsShown()
    {
        for (const auto& cell : cells::labelOrder())
            if (!table().label(cell)->isVisible())
                return false;
        return true;
    }
    bool labelsHidden()
    {
        for (const auto& cell : cells::labelOrder())
            if (table().label(cell)->isVisible())
                return false;
        return true;
    }

private slots:
    void init()
    {
        MessageBox::clearRecord();
        m_window = std::make_unique<QWidget>();
        m_table = new ToleranceTable(m_window.get());
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void cleanup()
    {
        QVERIFY(!MessageBox::hasPendingAnswers());
        m_window.reset();
    }

    void startsInDisplayModeWithoutTable()
    {
        QCOMPARE(child<QLabel>(&table(), QStringLiteral("Tab_Name"))->text(),
                 QStringLiteral("keine Tabelle gewählt"));
        const QStringList captions = table().labelCaptions();
        QCOMPARE(captions.size(), 72);
        QCOMPARE(child<QLabel>(&table(), QStringLiteral("Über1_T"))->text(), QStringLiteral("0"));
        QCOMPARE(captions.mid(1), QStringList(71, QStringLiteral(" ")));
        QVERIFY(labelsShown());
        QCOMPARE(table().findChildren<QLineEdit*>().size(), 71);
        for (QLineEdit* box : table().findChildren<QLineEdit*>())
            QVERIFY(!box->isVisible());
        QVERIFY(!child<QLineEdit>(&table(), QStringLiteral("Über1")));
        QVERIFY(child<QLineEdit>(&table(), QStringLiteral("MT18")));
        QVERIFY(child<QLabel>(&table(), QStringLiteral("MT18_T")));
    }

    void headersNameTheColumns()
    {
        const QStringList texts = {"Nennmaßbereich", "Lineartoleranz", "über", "bis",
                                   "Plus Tol.",      "Minus Tol."};
        for (int i = 0; i < 12; ++i)
            QCOMPARE(child<QLabel>(&table(), QStringLiteral("Label%1").arg(i + 1))->text(), texts[i % 6]);
    }

    void newTableEmptiesEverythingButTheFixedBound()
    {
        showNamedValues(table());
        table().setTablePath(QStringLiteral("/daten/Flansch.tabelle"));
        startNewTable(table());
        QVERIFY(table().isEditMode());
        QVERIFY(boxesShown());
        QVERIFY(labelsHidden());
        QCOMPARE(table().boxTexts(), QStringList(71, QString()));
        QCOMPARE(table().labelCaptions().first(), QStringLiteral("0"));
        QCOMPARE(table().labelCaptions().mid(1), QStringList(71, QString()));
        QCOMPARE(table().tablePath(), QStringLiteral("/daten/Flansch.tabelle"));

        // During an edit, "Neu erstellen" empties the boxes again without a question.
        table().box({cells::Column::Plus, 4})->setText(QStringLiteral("0,1"));
        startNewTable(table());
        QCOMPARE(table().boxTexts(), QStringList(71, QString()));
        QVERIFY(MessageBox::shownTexts().isEmpty());
    }

    void editIsRefusedWithoutTable()
    {
        MessageBox::setNextAnswer(MessageBox::Answer::Ok);
        editShownTable(table(), m_window.get());
        QCOMPARE(MessageBox::shownTexts(),
                 QStringList{"Sie müssen erst eine zu bearbeitende Tabelle auswählen"});
        QVERIFY(!table().isEditMode());
        QVERIFY(labelsShown());
    }

    void editCopiesEachCaptionIntoItsOwnBox()
    {
        showNamedValues(table());
        table().label({cells::Column::Minus, 18})->setText(QStringLiteral(" ")); // the initial single blank
        table().setTablePath(QStringLiteral("/daten/Flansch.tabelle"));
        editShownTable(table(), m_window.get());
        QVERIFY(table().isEditMode());
        QVERIFY(labelsHidden());
        for (const auto& cell : cells::valueOrder()) {
            const QString expected = cell == cells::Cell{cells::Column::Minus, 18}
                                         ? QStringLiteral(" ")
                                         : QString::fromStdString(cells::boxName(cell));
            QCOMPARE(table().box(cell)->text(), expected);
        }
        QCOMPARE(table().labelCaptions().mid(1), QStringList(71, QString()));
        QCOMPARE(table().labelCaptions().first(), QStringLiteral("0"));

        // A second "Bearbeiten" keeps what was typed.
        table().box({cells::Column::Upper, 2})->setText(QStringLiteral("6"));
        editShownTable(table(), m_window.get());
        QCOMPARE(table().box({cells::Column::Upper, 2})->text(), QStringLiteral("6"));
        QCOMPARE(table().box({cells::Column::Plus, 1})->text(), QStringLiteral("PT1"));
        QVERIFY(MessageBox::shownTexts().isEmpty());
    }

    // What a value label or the table path shows is never taken as formatting.
    void valuesAndPathsShowAsPlainText()
    {
        table().showValues(QStringList(71, QStringLiteral("<b>5</b>")));
        table().setTablePath(QStringLiteral("/daten/<i>a</i>.tabelle"));
        auto* path = child<QLabel>(&table(), QStringLiteral("Tab_Name"));
        QCOMPARE(path->textFormat(), Qt::PlainText);
        QCOMPARE(path->text(), QStringLiteral("/daten/<i>a</i>.tabelle"));
        for (const auto& cell : cells::labelOrder())
            QCOMPARE(table().label(cell)->textFormat(), Qt::PlainText);
    }

    // Windows' palette gives the inactive highlight the window's background
    // colour. The table name stays in the highlight colour while another
    // window is active, and no label turns the colour of the background.
    void labelsStayReadableWhileTheWindowIsInactive()
    {
        const QPalette before = QApplication::palette();
        QPalette windowsLike = before;
        const QColor highlight(0, 120, 215);
        windowsLike.setColor(QPalette::Active, QPalette::Highlight, highlight);
        windowsLike.setColor(QPalette::Inactive, QPalette::Highlight,
                             windowsLike.color(QPalette::Inactive, QPalette::Window));
        QApplication::setPalette(windowsLike);
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QVERIFY(!m_window->isActiveWindow());

        for (QLabel* label : table().findChildren<QLabel*>())
            QVERIFY2(label->palette().color(QPalette::Inactive, label->foregroundRole()) !=
                         windowsLike.color(QPalette::Inactive, QPalette::Window),
                     qPrintable(label->objectName()));
        const QImage name = child<QLabel>(&table(), QStringLiteral("Tab_Name"))->grab().toImage();
        int highlighted = 0;
        for (int y = 0; y < name.height(); ++y)
            for (int x = 0; x < name.width(); ++x)
                highlighted += name.pixelColor(x, y) == highlight;
        QApplication::setPalette(before);
        QVERIFY(highlighted > 20);
    }
};

QTEST_MAIN(TestToleranceTable)
#include "TestToleranceTable.moc"
