#pragma once

#include "table/core/TableCells.h"
#include "table/core/TableCheck.h"

#include <QStringList>
#include <QWidget>

#include <vector>

class QLabel;
class QLineEdit;

// The tolerance table as the main window shows it: the table-name label
// `Tab_Name`, 72 display labels and 71 edit boxes in two blocks of nine ranges,
// and below them the line that tells what the table check found. Its
// controls are its whole state: the table path is the caption of `Tab_Name`,
// the mode is whether the edit boxes are shown. In edit mode each box with a
// finding is tinted, its tooltip the finding, as the user types.
class ToleranceTable : public QWidget
{
    Q_OBJECT

public:
    explicit ToleranceTable(QWidget* parent = nullptr);
    ~ToleranceTable() override;

    QString tablePath() const;
    void setTablePath(const QString& path);
    bool hasTableChosen() const;

    // Edit mode: the boxes are shown (tested on `Über2`; all 71 switch together).
    bool isEditMode() const;

    // Hide and empty the labels, show the boxes empty ("Neu erstellen").
    void enterEditModeEmpty();
    // Hide and empty the labels, show the boxes holding the captions they had ("Bearbeiten").
    void enterEditModeFromShown();
    // Show the labels with the boxes' texts and hide the boxes (after a save).
    void leaveEditMode();

    // The 71 display captions in value order (an opened table); the mode is untouched.
    void showValues(const QStringList& values);
    // Empty the 71 display captions (a deleted table); the mode is untouched.
    void clearValues();

    // All 72 captions, range 1's lower bound first.
    QStringList labelCaptions() const;
    // The 71 box texts in value order.
    QStringList boxTexts() const;

    QLabel* label(const cells::Cell& cell) const;
    QLineEdit* box(const cells::Cell& cell) const;

    // What the reader saw of the file the shown values come from; forgotten
    // when other values are shown or the table is edited.
    void setFileNotes(const tablecheck::FileNotes& notes);
    // The check of the table as it stands: the boxes in edit mode, the labels otherwise.
    const std::vector<tablecheck::Finding>& findings() const { return m_findings; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void keepTableNameHighlighted();
    void setLabelsVisible(bool visible);
    void setBoxesVisible(bool visible);
    void setEditableCaptions(const QStringList& captions);
    void recheck();
    void markBoxes();

    QLabel* m_tableName = nullptr;
    QLabel* m_checkLine = nullptr;
    tablecheck::FileNotes m_fileNotes;
    std::vector<tablecheck::Finding> m_findings;
    std::vector<QLabel*> m_labels;   // label order
    std::vector<QLineEdit*> m_boxes; // value order
};
