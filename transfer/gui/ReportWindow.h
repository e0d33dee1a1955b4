#pragma once

#include "transfer/core/TransferReport.h"

#include <QDialog>

class QFormLayout;
class QLabel;
class QPushButton;
class QTableView;
class ReportModel;

// The report of a transfer, its preview or its undo: a header (table, part
// program, time, for an undo the run it undid, "OldVal", the table's
// "Prüfsumme" and release, user, computer, program, what the table check
// found), a summary line and one table row per dimension.
// Modal beside the main window. It only shows: its buttons "&Ausführen" (a
// preview's), "&Rückgängig" and "&Speichern…" ask whoever opened it.
class ReportWindow : public QDialog
{
    Q_OBJECT

public:
    // A window that deletes itself when it is closed.
    explicit ReportWindow(QWidget* parent);

    // Shows `report`, with "Ausführen" where `offersRun` and "Rückgängig" where
    // `offersUndo`, from its first row on; the rows take the keyboard.
    void showReport(TransferReport report, bool offersRun, bool offersUndo);
    const TransferReport& report() const { return m_report; }

signals:
    void runRequested();
    void undoRequested();
    void saveRequested();

private:
    TransferReport m_report;
    ReportModel* m_model;
    QLabel* m_tablePath;
    QLabel* m_partProgram;
    QLabel* m_time;
    QLabel* m_oldVal;
    QLabel* m_findings;
    QLabel* m_undoOf;
    QLabel* m_fingerprint;
    QLabel* m_release;
    QLabel* m_user;
    QLabel* m_computer;
    QLabel* m_program;
    QFormLayout* m_header = nullptr;
    QLabel* m_summary;
    QTableView* m_rows;
    QPushButton* m_run;
    QPushButton* m_save;
    QPushButton* m_undo;
    QPushButton* m_close;
};
