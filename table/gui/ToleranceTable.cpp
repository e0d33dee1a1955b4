#include "table/gui/ToleranceTable.h"

#include "base/NamedFont.h"
#include "base/Twips.h"
#include "table/gui/CheckedTable.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>

namespace {

using twips::toPixels;
constexpr int ToolbarTwips = twips::ToolbarHeight;

// Layout values count from the window's top; the table sits below the toolbar.
QRect rectFromTwips(int left, int top, int width, int height)
{
    return twipsRect(left, top - ToolbarTwips, width, height);
}

constexpr int BlockOffset = 4680; // block B lies this far right of block A
constexpr int CellWidth = 855;
constexpr int LabelHeight = 255;
constexpr int BoxHeight = 285;
constexpr int RowsPerBlock = 9;

int columnLeft(cells::Column column)
{
    switch (column) {
    case cells::Column::Lower:
        return 240;
    case cells::Column::Upper:
        return 1320;
    case cells::Column::Plus:
        return 2400;
    case cells::Column::Minus:
        return 3480;
    }
    return 0;
}

QPoint cellOrigin(const cells::Cell& cell)
{
    const int block = (cell.range - 1) / RowsPerBlock;
    const int row = (cell.range - 1) % RowsPerBlock;
    return QPoint(columnLeft(cell.column) + block * BlockOffset, 2280 + 480 * row);
}

struct Header
{
    std::string text;
    int left, top, width;
};

// "Plus Tol." takes its whole cell (same centre as its 615-twip layout box) so
// that it is not clipped in fonts wider than the original one.
const Header Headers[] = {
    {"Nennmaßbereich", 240, 1320, 1935},
    {"Lineartoleranz", 2400, 1320, 1935},
    {cells::columnCaption(cells::Column::Lower), 240, 1800, 855},
    {cells::columnCaption(cells::Column::Upper), 1320, 1800, 855},
    {cells::columnCaption(cells::Column::Plus), 2400, 1800, 855},
    {cells::columnCaption(cells::Column::Minus), 3480, 1800, 855},
};

// What a screen reader says for a cell: its column and its range.
QString accessibleCellName(const cells::Cell& cell)
{
    static const char* const ColumnNames[] = {"Über", "Bis", "Plus-Toleranz", "Minus-Toleranz"};
    return QString::fromUtf8(ColumnNames[static_cast<int>(cell.column)]) +
           QStringLiteral(", Bereich %1").arg(cell.range);
}

// The lines below the grid, which the window grows by: the check's, then the
// table's "Prüfsumme" and release, too long to share one line.
constexpr int CheckLineTop = 6600;
constexpr int CheckLineHeight = 255;
constexpr int ReleaseLineTop = CheckLineTop + CheckLineHeight;

// Tints that show through the Windows style, which draws a box's own base
// colour: Qt's style sheets are not built into the Windows program.
const QColor ErrorTint(248, 208, 208);
const QColor NoteTint(255, 242, 179);

// Lines of at most this many characters, broken between words: Qt's own
// wrapping of a tooltip makes a narrow column of a long sentence.
constexpr int ToolTipLineLength = 60;

QStringList brokenIntoLines(const QString& text)
{
    QStringList lines;
    QString line;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!line.isEmpty() && line.size() + 1 + word.size() > ToolTipLineLength) {
            lines << line;
            line.clear();
        }
        line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word;
    }
    if (!line.isEmpty())
        lines << line;
    return lines;
}

// The findings of one box, one paragraph each, as rich text whose lines are
// kept as broken here; what the user typed is escaped, never taken as markup.
QString wrappedToolTip(const QStringList& texts)
{
    if (texts.isEmpty())
        return QString();
    QString html = QStringLiteral("<qt>");
    for (const QString& text : texts) {
        QStringList lines;
        for (const QString& line : brokenIntoLines(text))
            lines << line.toHtmlEscaped();
        html += QStringLiteral("<p style=\"white-space:pre\">") + lines.join(QStringLiteral("<br>")) +
                QStringLiteral("</p>");
    }
    return html + QStringLiteral("</qt>");
}

} // namespace

ToleranceTable::ToleranceTable(CheckedTable& table, QWidget* parent) : QWidget(parent), m_table(table)
{
    m_tableName = new QLabel(this);
    m_tableName->setObjectName(QStringLiteral("Tab_Name"));
    m_tableName->setTextFormat(Qt::PlainText); // a path or a typed value is shown as it stands
    m_tableName->setGeometry(rectFromTwips(120, 720, 9015, 315));
    m_tableName->setAlignment(Qt::AlignCenter);
    m_tableName->setFont(namedFont("MS Sans Serif", 9.75, true));
    m_tableName->setForegroundRole(QPalette::Highlight);
    keepTableNameHighlighted();
    m_tableName->setAccessibleName(QStringLiteral("Gewählte Tabelle"));

    m_checkLine = new QLabel(this);
    m_checkLine->setObjectName(QStringLiteral("TableCheckLine"));
    m_checkLine->setTextFormat(Qt::PlainText);
    m_checkLine->setGeometry(rectFromTwips(120, CheckLineTop, 9015, CheckLineHeight));

    m_releaseLine = new QLabel(this);
    m_releaseLine->setObjectName(QStringLiteral("TableReleaseLine"));
    m_releaseLine->setTextFormat(Qt::PlainText); // a name typed into the record is shown as it stands
    m_releaseLine->setGeometry(rectFromTwips(120, ReleaseLineTop, 9015, CheckLineHeight));

    int headerNumber = 1;
    for (int block = 0; block < 2; ++block) {
        for (const Header& header : Headers) {
            auto* label = new QLabel(QString::fromStdString(header.text), this);
            label->setObjectName(QStringLiteral("Label%1").arg(headerNumber++));
            label->setAlignment(Qt::AlignCenter);
            label->setGeometry(
                rectFromTwips(header.left + block * BlockOffset, header.top, header.width, 255));
        }
    }

    for (const cells::Cell& cell : cells::labelOrder()) {
        auto* label = new QLabel(this);
        label->setObjectName(QString::fromStdString(cells::labelName(cell)));
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setAccessibleName(accessibleCellName(cell));
        const QPoint origin = cellOrigin(cell);
        label->setGeometry(rectFromTwips(origin.x(), origin.y(), CellWidth, LabelHeight));
        m_labels.push_back(label);
    }

    m_boxes.resize(cells::ValueCount);
    for (const cells::Cell& cell : cells::valueOrder()) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QString::fromStdString(cells::boxName(cell)));
        box->setAlignment(Qt::AlignRight);
        box->setAccessibleName(accessibleCellName(cell));
        const QPoint origin = cellOrigin(cell);
        box->setGeometry(rectFromTwips(origin.x(), origin.y(), CellWidth, BoxHeight));
        box->hide();
        connect(box, &QLineEdit::textChanged, this,
                [this, cell](const QString& text) { m_table.setTyped(cell, text); });
        m_boxes[cells::valueIndex(cell)] = box;
    }

    const auto& order = cells::keyboardOrder();
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(box(order[i - 1]), box(order[i]));

    setMinimumSize(toPixels(9360), toPixels(ReleaseLineTop + CheckLineHeight + 120 - ToolbarTwips));
    connect(&m_table, &CheckedTable::changed, this, &ToleranceTable::mirror);
    mirror();
}

ToleranceTable::~ToleranceTable() = default;

// The table name is drawn in the active highlight colour also while the window
// is inactive: Windows' inactive highlight is the window's own background.
void ToleranceTable::keepTableNameHighlighted()
{
    QPalette colours;
    colours.setColor(QPalette::Highlight, palette().color(QPalette::Active, QPalette::Highlight));
    m_tableName->setPalette(colours);
}

void ToleranceTable::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        keepTableNameHighlighted();
    QWidget::changeEvent(event);
}

// Every control shows the document as it is now; a box is set only where its
// text differs, so that typing keeps its cursor.
void ToleranceTable::mirror()
{
    const TableDocument& document = m_table.document();
    m_tableName->setText(shownPath(document));
    const bool editing = document.isEditing();
    for (std::size_t i = 0; i < m_labels.size(); ++i) {
        m_labels[i]->setText(QString::fromStdString(document.shown()[i]));
        m_labels[i]->setVisible(!editing);
    }
    for (std::size_t i = 0; i < m_boxes.size(); ++i) {
        const QString typed = QString::fromStdString(document.typed()[i]);
        if (m_boxes[i]->text() != typed)
            m_boxes[i]->setText(typed);
        m_boxes[i]->setVisible(editing);
    }
    m_checkLine->setText(QString::fromStdString(tablecheck::summaryLine(m_table.findings())));
    m_releaseLine->setText(QString::fromStdString(releaseLine(document, m_table.fingerprint())));
    markBoxes();
}

void ToleranceTable::markBoxes()
{
    // Per box its Fehler, then its Hinweise.
    std::vector<QStringList> errorTexts(m_boxes.size());
    std::vector<QStringList> noteTexts(m_boxes.size());
    for (const tablecheck::Finding& finding : m_table.findings()) {
        if (finding.range == 0)
            continue;
        // A finding of the range as a whole marks its two tolerances.
        std::vector<cells::Column> columns{cells::Column::Plus, cells::Column::Minus};
        if (finding.column)
            columns = {*finding.column};
        const bool error = finding.kind == tablecheck::Kind::Error;
        for (cells::Column column : columns) {
            const std::size_t at = cells::valueIndex({column, finding.range});
            (error ? errorTexts : noteTexts)[at]
                << QString::fromUtf8(tablecheck::kindName(finding.kind)) + QStringLiteral(": ") +
                       QString::fromStdString(finding.text);
        }
    }
    for (std::size_t i = 0; i < m_boxes.size(); ++i) {
        QLineEdit* box = m_boxes[i];
        const QStringList texts = errorTexts[i] + noteTexts[i];
        box->setToolTip(wrappedToolTip(texts));
        if (texts.isEmpty()) {
            box->setPalette(QPalette());
            continue;
        }
        QPalette tinted = box->palette();
        tinted.setColor(QPalette::Base, errorTexts[i].isEmpty() ? NoteTint : ErrorTint);
        box->setPalette(tinted);
    }
}

QStringList ToleranceTable::labelCaptions() const
{
    QStringList captions;
    for (QLabel* label : m_labels)
        captions.append(label->text());
    return captions;
}

QStringList ToleranceTable::boxTexts() const
{
    QStringList texts;
    for (QLineEdit* box : m_boxes)
        texts.append(box->text());
    return texts;
}

QLabel* ToleranceTable::label(const cells::Cell& cell) const
{
    return m_labels[cells::labelIndex(cell)];
}

QLineEdit* ToleranceTable::box(const cells::Cell& cell) const
{
    return m_boxes[cells::valueIndex(cell)];
}

void ToleranceTable::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    auto line = [&painter](int x1, int y1, int x2, int y2) {
        painter.drawLine(toPixels(x1), toPixels(y1 - ToolbarTwips), toPixels(x2),
                         toPixels(y2 - ToolbarTwips));
    };
    for (int block = 0; block < 2; ++block) {
        const int left = 120 + block * BlockOffset;
        const int right = 4440 + block * BlockOffset;
        for (int y : {1200, 1680})
            line(left, y, right, y);
        for (int y = 2160; y <= 6480; y += 480)
            line(left, y, right, y);
        line(left, 1200, left, 6480);
        line(right, 1200, right, 6480);
        line(2280 + block * BlockOffset, 1200, 2280 + block * BlockOffset, 6480);
        line(1200 + block * BlockOffset, 1680, 1200 + block * BlockOffset, 6480);
        line(3360 + block * BlockOffset, 1680, 3360 + block * BlockOffset, 6480);
    }
}
