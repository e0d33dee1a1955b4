#pragma once

#include "transfer/TransferReport.h"
#include "transfer/TransferTolerances.h"

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;
class QTableView;
class ReportModel;
class ToleranceTable;

// The report of a transfer, its preview or its undo: a header (table, part
// program, time, "OldVal"), a summary line and one table row per dimension.
// Modal beside the main window; "&Ausführen" runs the transfer from a preview,
// "&Rückgängig" undoes the last run, "&Speichern…" writes the rows as a CSV file.
class ReportWindow : public QDialog
{
    Q_OBJECT

public:
    // Shows `report` in a new window that deletes itself when it is closed.
    static ReportWindow* open(ToleranceTable& table, QWidget* parent, const HostFactory& hosts,
                              ProgressTiming timing, TransferReport report);

    const TransferReport& report() const { return m_report; }

    // Test seam: answers the save dialog with a path ("" cancels) instead of showing it.
    using SavePathChooser = std::function<QString(QWidget* parent, const QString& suggested)>;
    static void setSavePathChooser(SavePathChooser chooser);

    // "<table's name> <yyyy-mm-dd hh-mm>.csv" in the user's documents folder.
    static QString suggestedCsvPath(const TransferReport& report);

protected:
    // Neither Escape nor the window frame closes the window while its command runs.
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    ReportWindow(ToleranceTable& table, QWidget* parent, const HostFactory& hosts, ProgressTiming timing);

    void showReport(TransferReport report);
    void runTransfer();
    void saveCsv();
    void undo();

    ToleranceTable& m_table;
    HostFactory m_hosts;
    ProgressTiming m_timing;
    bool m_busy = false;
    TransferReport m_report;
    ReportModel* m_model;
    QLabel* m_tablePath;
    QLabel* m_partProgram;
    QLabel* m_time;
    QLabel* m_oldVal;
    QLabel* m_summary;
    QTableView* m_rows;
    QPushButton* m_run;
    QPushButton* m_save;
    QPushButton* m_undo;
    QPushButton* m_close;
};
