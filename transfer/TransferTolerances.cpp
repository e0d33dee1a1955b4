#include "transfer/TransferTolerances.h"

#include "base/MessageBox.h"
#include "base/Settings.h"
#include "table/ToleranceTable.h"
#include "transfer/KorvantHost.h"
#include "transfer/TransferCommand.h"
#include "transfer/ReportWindow.h"
#include "transfer/TransferProgress.h"
#include "transfer/TransferUndo.h"
#include "transfer/TransferWindow.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QLocale>

namespace {

class WindowSide : public TransferWindow
{
public:
    WindowSide(ToleranceTable& table, QWidget* window, ProgressTiming timing)
        : m_table(table), m_window(window), m_timing(timing)
    {
    }

    bool isEditMode() const override { return m_table.isEditMode(); }
    std::string tablePath() const override { return m_table.tablePath().toStdString(); }

    std::vector<std::string> labelCaptions() const override
    {
        std::vector<std::string> captions;
        for (const QString& caption : m_table.labelCaptions())
            captions.push_back(caption.toStdString());
        return captions;
    }

    std::optional<double> readLocaleNumber(const std::string& text) const override
    {
        // Without group separators: in a German locale "0.05" would read as 5.
        QLocale locale;
        locale.setNumberOptions(locale.numberOptions() | QLocale::RejectGroupSeparator);
        bool ok = false;
        const double value = locale.toDouble(QString::fromStdString(text), &ok);
        return ok ? std::optional<double>(value) : std::nullopt;
    }

    // The transfer reads the setting for every dimension that has a tolerance.
    std::string oldValSetting() const override { return settings::keepExistingTolerances() ? "1" : "0"; }

    void showMessage(const std::string& text) override
    {
        MessageBox::show(m_window, QString::fromStdString(text));
    }

    void setWaitPointer() override
    {
        m_window->setCursor(Qt::WaitCursor);
        m_clock.start();
    }

    void restorePointer() override
    {
        if (TransferProgress* progress = existingProgress())
            progress->hide();
        m_window->unsetCursor();
    }

    void reportProgress(std::size_t done, std::optional<std::size_t> total) override
    {
        const bool finished = total && done == *total;
        if (m_clock.elapsed() < m_timing.delayMs ||
            (!finished && m_sinceRepaint.isValid() && m_sinceRepaint.elapsed() < m_timing.intervalMs))
            return;
        TransferProgress* progress = existingProgress();
        if (!progress)
            progress = new TransferProgress(m_window);
        progress->showCount(done, total);
        progress->show();
        m_sinceRepaint.start();
        // Paint, but take no input: no other command can start while this one runs.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }

private:
    TransferProgress* existingProgress() const
    {
        return m_window->findChild<TransferProgress*>(QString(), Qt::FindDirectChildrenOnly);
    }

    ToleranceTable& m_table;
    QWidget* m_window;
    ProgressTiming m_timing;
    QElapsedTimer m_clock;
    QElapsedTimer m_sinceRepaint;
};

// The time of the run, and the setting as it stands where the run had no cause to read it.
std::optional<TransferReport> stamped(std::optional<TransferReport> report, const QDateTime& started)
{
    if (report) {
        report->time = started.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toStdString();
        if (report->oldVal.empty())
            report->oldVal = settings::keepExistingTolerances() ? "1" : "0";
    }
    return report;
}

} // namespace

bool transferTolerances(ToleranceTable& table, QWidget* window, korvant::Host& host, ProgressTiming timing)
{
    WindowSide side(table, window, timing);
    const QDateTime started = QDateTime::currentDateTime();
    auto report = stamped(runTransfer(side, host), started);
    if (!report)
        return false;
    lastTransferReport() = std::move(report);
    return true;
}

std::optional<TransferReport>& lastTransferReport()
{
    static std::optional<TransferReport> last;
    return last;
}

void previewTransfer(ToleranceTable& table, QWidget* window, const HostFactory& hosts, ProgressTiming timing)
{
    WindowSide side(table, window, timing);
    const QDateTime started = QDateTime::currentDateTime();
    const auto preview = stamped(runTransfer(side, *hosts(), TransferMode::Preview), started);
    if (preview)
        ReportWindow::open(table, window, hosts, timing, *preview);
}

void showLastTransfer(ToleranceTable& table, QWidget* window, const HostFactory& hosts, ProgressTiming timing)
{
    if (lastTransferReport())
        ReportWindow::open(table, window, hosts, timing, *lastTransferReport());
    else
        MessageBox::show(window, QString::fromUtf8(reporttexts::NoRunYet));
}

std::optional<TransferReport> undoLastTransfer(ToleranceTable& table, QWidget* window, korvant::Host& host,
                                               ProgressTiming timing)
{
    if (!lastTransferReport())
        return std::nullopt;
    WindowSide side(table, window, timing);
    const QDateTime started = QDateTime::currentDateTime();
    return stamped(undoTransfer(side, host, *lastTransferReport()), started);
}
