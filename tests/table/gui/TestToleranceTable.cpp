// The tolerance table on its own: its start state, headers and plain-text
// captions, and the commands that start a new table or edit the shown one.
#include "tests/support/MessageRecorder.h"
#include "base/MessageBox.h"
#include "table/gui/TableCommands.h"
#include "table/gui/CheckedTable.h"
#include "table/gui/ToleranceTable.h"
#include "tests/support/GuiTestSupport.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>

#include <memory>

using guitest::child;

namespace {

// Fills the 71 display captions with their own cell names, as an opened table would.
// The last one, range 18's minus tolerance, as the initial single blank.
void showNamedValues(CheckedTable& table)
{
    QStringList values;
    for (const auto& cell : cells::valueOrder())
        values << QString::fromStdString(cells::boxName(cell));
    values.last() = QStringLiteral(" ");
    table.showFileValues(values);
}

} // namespace

class TestToleranceTable : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QWidget> m_window;
    CheckedTable* m_table = nullptr;
    ToleranceTable* m_view = nullptr;

    CheckedTable& table() { return *m_table; }
    ToleranceTable& view() { return *m_view; }
    bool boxesShown()
    {
        for (QLineEdit* box : view().findChildren<QLineEdit*>())
            if (!box->isVisible())
                return false;
        return true;
    }
    bool labelsShown()
    {
        for (const auto& cell : cells::labelOrder())
            if (!view().label(cell)->isVisible())
                return false;
        return true;
    }
    bool labelsHidden()
    {
        for (const auto& cell : cells::labelOrder())
            if (view().label(cell)->isVisible())
                return false;
        return true;
    }

private slots:
    void init()
    {
        messages::clearRecord();
        m_window = std::make_unique<QWidget>();
        m_table = new CheckedTable(m_window.get());
        m_view = new ToleranceTable(*m_table, m_window.get());
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void cleanup()
    {
        QVERIFY(!messages::hasPendingAnswers());
        m_window.reset();
    }

    void startsInDisplayModeWithoutTable()
    {
        QCOMPARE(child<QLabel>(&view(), QStringLiteral("Tab_Name"))->text(),
                 QStringLiteral("keine Tabelle gewählt"));
        const QStringList captions = view().labelCaptions();
        QCOMPARE(captions.size(), 72);
        QCOMPARE(child<QLabel>(&view(), QStringLiteral("Über1_T"))->text(), QStringLiteral("0"));
        QCOMPARE(captions.mid(1), QStringList(71, QStringLiteral(" ")));
        QVERIFY(labelsShown());
        QCOMPARE(view().findChildren<QLineEdit*>().size(), 71);
        for (QLineEdit* box : view().findChildren<QLineEdit*>())
            QVERIFY(!box->isVisible());
        QVERIFY(!child<QLineEdit>(&view(), QStringLiteral("Über1")));
        QVERIFY(child<QLineEdit>(&view(), QStringLiteral("MT18")));
        QVERIFY(child<QLabel>(&view(), QStringLiteral("MT18_T")));
    }

    void headersNameTheColumns()
    {
        const QStringList texts = {"Nennmaßbereich", "Lineartoleranz", "über", "bis",
                                   "Plus Tol.",      "Minus Tol."};
        for (int i = 0; i < 12; ++i)
            QCOMPARE(child<QLabel>(&view(), QStringLiteral("Label%1").arg(i + 1))->text(), texts[i % 6]);
    }

    void newTableEmptiesEverythingButTheFixedBound()
    {
        showNamedValues(table());
        table().setPath(QStringLiteral("/daten/Flansch.tabelle"));
        startNewTable(table());
        QVERIFY(table().document().isEditing());
        QVERIFY(boxesShown());
        QVERIFY(labelsHidden());
        QCOMPARE(view().boxTexts(), QStringList(71, QString()));
        QCOMPARE(view().labelCaptions().first(), QStringLiteral("0"));
        QCOMPARE(view().labelCaptions().mid(1), QStringList(71, QString()));
        QCOMPARE(shownPath(table().document()), QStringLiteral("/daten/Flansch.tabelle"));

        // During an edit, "Neu erstellen" empties the boxes again without a question.
        view().box({cells::Column::Plus, 4})->setText(QStringLiteral("0,1"));
        startNewTable(table());
        QCOMPARE(view().boxTexts(), QStringList(71, QString()));
        QVERIFY(messages::shownTexts().isEmpty());
    }

    void editIsRefusedWithoutTable()
    {
        messages::setNextAnswer(MessageBox::Answer::Ok);
        editShownTable(table(), m_window.get());
        QCOMPARE(messages::shownTexts(),
                 QStringList{"Sie müssen erst eine zu bearbeitende Tabelle auswählen"});
        QVERIFY(!table().document().isEditing());
        QVERIFY(labelsShown());
    }

    void editCopiesEachCaptionIntoItsOwnBox()
    {
        showNamedValues(table());
        view().label({cells::Column::Minus, 18})->setText(QStringLiteral(" ")); // the initial single blank
        table().setPath(QStringLiteral("/daten/Flansch.tabelle"));
        editShownTable(table(), m_window.get());
        QVERIFY(table().document().isEditing());
        QVERIFY(labelsHidden());
        for (const auto& cell : cells::valueOrder()) {
            const QString expected = cell == cells::Cell{cells::Column::Minus, 18}
                                         ? QStringLiteral(" ")
                                         : QString::fromStdString(cells::boxName(cell));
            QCOMPARE(view().box(cell)->text(), expected);
        }
        QCOMPARE(view().labelCaptions().mid(1), QStringList(71, QString()));
        QCOMPARE(view().labelCaptions().first(), QStringLiteral("0"));

        // A second "Bearbeiten" keeps what was typed.
        view().box({cells::Column::Upper, 2})->setText(QStringLiteral("6"));
        editShownTable(table(), m_window.get());
        QCOMPARE(view().box({cells::Column::Upper, 2})->text(), QStringLiteral("6"));
        QCOMPARE(view().box({cells::Column::Plus, 1})->text(), QStringLiteral("PT1"));
        QVERIFY(messages::shownTexts().isEmpty());
    }

    // What a value label or the table path shows is never taken as formatting.
    void valuesAndPathsShowAsPlainText()
    {
        table().showFileValues(QStringList(71, QStringLiteral("<b>5</b>")));
        table().setPath(QStringLiteral("/daten/<i>a</i>.tabelle"));
        auto* path = child<QLabel>(&view(), QStringLiteral("Tab_Name"));
        QCOMPARE(path->textFormat(), Qt::PlainText);
        QCOMPARE(path->text(), QStringLiteral("/daten/<i>a</i>.tabelle"));
        for (const auto& cell : cells::labelOrder())
            QCOMPARE(view().label(cell)->textFormat(), Qt::PlainText);
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

        for (QLabel* label : view().findChildren<QLabel*>())
            QVERIFY2(label->palette().color(QPalette::Inactive, label->foregroundRole()) !=
                         windowsLike.color(QPalette::Inactive, QPalette::Window),
                     qPrintable(label->objectName()));
        const QImage name = child<QLabel>(&view(), QStringLiteral("Tab_Name"))->grab().toImage();
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
