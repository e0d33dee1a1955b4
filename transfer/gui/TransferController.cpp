#include "transfer/gui/TransferController.h"

#include "base/AppInfo.h"
#include "base/IsoTime.h"
#include "base/MessageBox.h"
#include "base/Settings.h"
#include "base/Workstation.h"
#include "files/gui/TableFileIo.h"
#include "table/gui/CheckedTable.h"
#include "transfer/core/KorvantHost.h"
#include "transfer/core/ReportCsv.h"
#include "transfer/core/TransferCommand.h"
#include "transfer/core/TransferTexts.h"
#include "transfer/core/TransferUndo.h"
#include "transfer/gui/ReportModel.h"
#include "transfer/gui/ReportWindow.h"
#include "transfer/gui/TransferProgress.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <QStandardPaths>

namespace {

// The time of the command, who made it where with which program, and the
// setting as it stands where the run had no cause to read it.
std::optional<TransferReport> stamped(std::optional<TransferReport> report, const QDateTime& started)
{
    if (report) {
        report->time = isoTimeWithOffset(started).toStdString();
        report->user = workstation::loginName().toStdString();
        report->computer = workstation::computerName().toStdString();
        report->program = std::string(appinfo::Title) + " " + appinfo::versionText();
        if (report->oldVal.empty())
            report->oldVal = settings::keepExistingTolerances() ? "1" : "0";
    }
    return report;
}

QString chooseSavePath(QWidget* parent, const QString& suggested)
{
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Bericht speichern"), suggested,
                                        QStringLiteral("CSV-Dateien (*.csv)"));
}

} // namespace

// While a command runs, only its progress window ("Abbrechen") and its
// messages take input: every other key, click, shortcut and close request
// (the frame's close button, Alt+F4) is dropped, and so is what is still
// queued when the command ends, rather than carried out after it.
class TransferController::RunScope : public QObject
{
public:
    explicit RunScope(TransferController& controller) : m_controller(controller)
    {
        m_controller.m_state = {true, false};
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~RunScope() override
    {
        QCoreApplication::processEvents();
        QCoreApplication::instance()->removeEventFilter(this);
        m_controller.m_state = {};
    }

    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        if (!isInput(event->type()) || takesInput(receiver, event->type()))
            return false;
        // An accepted override keeps the shortcut from firing; an ignored close keeps the window.
        event->setAccepted(event->type() == QEvent::ShortcutOverride);
        return true;
    }

private:
    static bool isInput(QEvent::Type type)
    {
        switch (type) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::Close:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::InputMethod:
            return true;
        default:
            return false;
        }
    }

    // Events for a platform window go on to its widgets, and are judged there;
    // a shortcut for anything but a widget is a menu command.
    static bool takesInput(const QObject* receiver, QEvent::Type type)
    {
        const auto* widget = qobject_cast<const QWidget*>(receiver);
        if (!widget)
            return type != QEvent::Shortcut && receiver->isWindowType();
        const QWidget* window = widget->window();
        return qobject_cast<const TransferProgress*>(window) || qobject_cast<const QMessageBox*>(window);
    }

    TransferController& m_controller;
};

TransferController::TransferController(CheckedTable& table, QWidget* window, HostFactory hosts,
                                       ProgressTiming timing)
    : QObject(window), m_table(table), m_window(window), m_hosts(std::move(hosts)), m_timing(timing),
      m_choosePath(chooseSavePath)
{
}

TransferController::~TransferController() = default;

ReportWindow* TransferController::reportWindow() const
{
    return m_reportWindow;
}

bool TransferController::transfer(QWidget* window)
{
    WindowPort port(m_table, window, m_timing, m_state);
    const QDateTime started = QDateTime::currentDateTime();
    auto report = stamped(runTransfer(port, *m_hosts()), started);
    if (!report)
        return false;
    m_lastReport = std::move(report);
    return true;
}

void TransferController::run()
{
    if (m_state.running)
        return;
    const RunScope scope(*this);
    transfer(m_window);
}

void TransferController::preview()
{
    if (m_state.running)
        return;
    std::optional<TransferReport> preview;
    {
        const RunScope scope(*this);
        WindowPort port(m_table, m_window, m_timing, m_state);
        const QDateTime started = QDateTime::currentDateTime();
        preview = stamped(runTransfer(port, *m_hosts(), TransferMode::Preview), started);
    }
    if (preview)
        openReportWindow(*preview, true);
}

void TransferController::showLastReport()
{
    if (m_state.running)
        return;
    if (m_lastReport)
        openReportWindow(*m_lastReport, false);
    else
        MessageBox::show(m_window, QString::fromUtf8(transfertexts::NoRunYet));
}

void TransferController::openReportWindow(const TransferReport& report, bool offersRun)
{
    auto* window = new ReportWindow(m_window);
    m_reportWindow = window;
    connect(window, &ReportWindow::runRequested, this, &TransferController::runFromReport);
    connect(window, &ReportWindow::undoRequested, this, &TransferController::undoFromReport);
    connect(window, &ReportWindow::saveRequested, this, &TransferController::saveReport);
    window->show();
    window->showReport(report, offersRun, report.kind == TransferReport::Kind::Run && report.canBeUndone());
}

void TransferController::runFromReport()
{
    ReportWindow* window = m_reportWindow;
    if (m_state.running || !window)
        return;
    const RunScope scope(*this);
    if (transfer(window))
        window->showReport(*m_lastReport, false, m_lastReport->canBeUndone());
}

void TransferController::undoFromReport()
{
    ReportWindow* window = m_reportWindow;
    if (m_state.running || !window || !m_lastReport)
        return;
    const RunScope scope(*this);
    WindowPort port(m_table, window, m_timing, m_state);
    const QDateTime started = QDateTime::currentDateTime();
    if (auto undone = stamped(undoTransfer(port, *m_hosts(), *m_lastReport), started)) {
        // The undo puts back what was there before the run of this table.
        undone->fingerprint = m_lastReport->fingerprint;
        undone->release = m_lastReport->release;
        window->showReport(std::move(*undone), false, m_lastReport->canBeUndone());
    }
}

QString TransferController::suggestedCsvPath(const TransferReport& report)
{
    QString name = QString::fromStdString(report.tablePath);
    name = name.mid(std::max(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\'))) + 1);
    if (name.endsWith(QStringLiteral(".tabelle"), Qt::CaseInsensitive))
        name.chop(int(sizeof ".tabelle") - 1);
    // "2026-12-09T14:30:05+01:00" as "2026-12-09 14-30": without seconds, with a "-" that a file name can hold.
    const QString time = QString::fromStdString(report.time)
                             .left(16)
                             .replace(QLatin1Char('T'), QLatin1Char(' '))
                             .replace(QLatin1Char(':'), QLatin1Char('-'));
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(folder).filePath(name + QLatin1Char(' ') + time + QStringLiteral(".csv"));
}

void TransferController::saveReport()
{
    ReportWindow* window = m_reportWindow;
    if (m_state.running || !window)
        return;
    const QString path = m_choosePath(window, suggestedCsvPath(window->report()));
    if (path.isEmpty())
        return;
    std::optional<QString> failure = tablefileio::saveTargetProblem(path);
    if (!failure)
        failure = tablefileio::writeAtomically(
            path, reportCsv(window->report(), ReportModel::localeDecimalSeparator()));
    if (failure)
        MessageBox::show(window,
                         tablefileio::failureMessage(QStringLiteral("Der Bericht wurde nicht gespeichert"),
                                                     QDir::toNativeSeparators(path), *failure));
}
