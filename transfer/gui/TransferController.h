#pragma once

#include "transfer/core/TransferReport.h"
#include "transfer/gui/WindowPort.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>

class QWidget;
class ReportWindow;
class CheckedTable;

namespace korvant {
class Host;
}

// A connection to KORVANT, made afresh for each command.
using HostFactory = std::function<std::unique_ptr<korvant::Host>()>;

// Runs the transfer's commands of the main window: "Ausführen", "Vorschau…"
// and "Letzte Übertragung…", and of the report window it opens: its
// "Ausführen", "Rückgängig" and "Speichern…". Holds the report of the last
// run, in memory only, and whether a command is under way; while one is, no
// window it runs over can be closed.
class TransferController : public QObject
{
    Q_OBJECT

public:
    // `window` is the main window: it shows the wait pointer, the messages and
    // the progress of a command started there, and is the report window's parent.
    TransferController(CheckedTable& table, QWidget* window, HostFactory hosts, ProgressTiming timing = {});
    ~TransferController() override;

    bool isRunning() const { return m_state.running; }
    // "Abbrechen" was pressed in the command under way's progress window.
    bool isCancelling() const { return m_state.running && m_state.cancelRequested; }
    const std::optional<TransferReport>& lastReport() const { return m_lastReport; }
    // A report carried over from an earlier main window.
    void setLastReport(std::optional<TransferReport> report) { m_lastReport = std::move(report); }
    // The open report window, or nullptr.
    ReportWindow* reportWindow() const;

    void run();
    void preview();
    void showLastReport();

    // Test seam: when a command's progress window comes up.
    void setProgressTiming(ProgressTiming timing) { m_timing = timing; }
    // Test seam: answers the save dialog with a path ("" cancels) instead of showing it.
    using SavePathChooser = std::function<QString(QWidget* parent, const QString& suggested)>;
    void setSavePathChooser(SavePathChooser chooser) { m_choosePath = std::move(chooser); }
    // "<table's name> <yyyy-mm-dd hh-mm>.csv" in the user's documents folder.
    static QString suggestedCsvPath(const TransferReport& report);

private:
    class RunScope;

    // "Ausführen" with `window` as the port's window; true when it reached a part program.
    bool transfer(QWidget* window);
    void openReportWindow(const TransferReport& report, bool offersRun);
    void runFromReport();
    void undoFromReport();
    void saveReport();

    CheckedTable& m_table;
    QWidget* m_window;
    HostFactory m_hosts;
    ProgressTiming m_timing;
    std::optional<TransferReport> m_lastReport;
    CommandState m_state;
    QPointer<ReportWindow> m_reportWindow;
    SavePathChooser m_choosePath;
};
