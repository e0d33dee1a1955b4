#pragma once

#include "table/core/TableCells.h"

#include <QStringList>
#include <QWidget>

#include <vector>

class CheckedTable;
class QLabel;
class QLineEdit;

// The tolerance table as the main window shows it: the table-name label
// `Tab_Name`, 72 display labels and 71 edit boxes in two blocks of nine ranges,
// and below them the line that tells what the table check found and the line
// with the table's "Prüfsumme" and whether it is released. It is a view
// of the table document: it mirrors the document into its controls on every
// change, and what the user types goes back into the document. In edit mode
// each box with a finding is tinted, its tooltip the finding.
class ToleranceTable : public QWidget
{
    Q_OBJECT

public:
    explicit ToleranceTable(CheckedTable& table, QWidget* parent = nullptr);
    ~ToleranceTable() override;

    CheckedTable& table() const { return m_table; }

    // What the controls show: the 72 captions (range 1's lower bound first),
    // the 71 box texts in value order.
    QStringList labelCaptions() const;
    QStringList boxTexts() const;

    QLabel* label(const cells::Cell& cell) const;
    QLineEdit* box(const cells::Cell& cell) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void keepTableNameHighlighted();
    void mirror();
    void markBoxes();

    CheckedTable& m_table;
    QLabel* m_tableName = nullptr;
    QLabel* m_checkLine = nullptr;
    QLabel* m_releaseLine = nullptr;
    std::vector<QLabel*> m_labels;   // label order
    std::vector<QLineEdit*> m_boxes; // value order
};
