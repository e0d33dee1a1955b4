#include "transfer/gui/WindowPort.h"

#include "base/MessageBox.h"
#include "base/Settings.h"
#include "table/gui/LocaleNumbers.h"
#include "table/gui/CheckedTable.h"
#include "table/gui/Sha256.h"
#include "transfer/gui/TransferProgress.h"

#include <QCoreApplication>

WindowPort::WindowPort(const CheckedTable& table, QWidget* window, ProgressTiming timing, CommandState& state)
    : m_table(table), m_window(window), m_timing(timing), m_state(state)
{
}

// The progress window outlives the command and serves the next one.
WindowPort::~WindowPort()
{
    QObject::disconnect(m_cancelConnection);
}

const TableDocument& WindowPort::table() const
{
    return m_table.document();
}

tablecheck::Locale WindowPort::locale() const
{
    return numbersOf();
}

TableDocument::Fingerprinting WindowPort::fingerprinting() const
{
    return sha256Hex;
}

bool WindowPort::keepExistingTolerances() const
{
    return settings::keepExistingTolerances();
}

// The message tells how the command ended: its progress window goes first.
void WindowPort::showMessage(const std::string& text)
{
    if (TransferProgress* progress = existingProgress())
        progress->hide();
    MessageBox::show(m_window, QString::fromStdString(text));
}

void WindowPort::setWaitPointer()
{
    m_window->setCursor(Qt::WaitCursor);
    m_clock.start();
}

void WindowPort::restorePointer()
{
    if (TransferProgress* progress = existingProgress())
        progress->hide();
    m_window->unsetCursor();
}

bool WindowPort::reportProgress(std::size_t done, std::optional<std::size_t> total)
{
    TransferProgress* progress = existingProgress();
    const bool finished = total && done == *total;
    if (m_clock.elapsed() < m_timing.delayMs ||
        (!finished && m_sinceRepaint.isValid() && m_sinceRepaint.elapsed() < m_timing.intervalMs))
        return !m_state.cancelRequested;
    if (!m_progressShown) {
        // The window of an earlier command is used again, as new.
        if (progress)
            progress->reset();
        else
            progress = new TransferProgress(m_window);
        m_cancelConnection =
            QObject::connect(progress, &TransferProgress::cancelPressed, progress, [this] { cancel(); });
        progress->show();
        progress->activateWindow(); // so that Escape reaches it
        m_progressShown = true;
    }
    progress->showCount(done, total);
    m_sinceRepaint.start();
    // Paint, and let "Abbrechen" be pressed: the only input taken while the command runs.
    QCoreApplication::processEvents();
    m_sinceInput.start();
    return !m_state.cancelRequested;
}

// A press waits in the queue while a call runs: it is taken before the next
// call, once an interval has passed since input was last taken.
bool WindowPort::stopRequested()
{
    if (m_progressShown && !m_state.cancelRequested && m_sinceInput.elapsed() >= m_timing.intervalMs) {
        QCoreApplication::processEvents();
        m_sinceInput.start();
    }
    return m_state.cancelRequested;
}

void WindowPort::cancel()
{
    m_state.cancelRequested = true;
    if (TransferProgress* progress = existingProgress())
        progress->showCancelling();
}

TransferProgress* WindowPort::existingProgress() const
{
    return m_window->findChild<TransferProgress*>(QString(), Qt::FindDirectChildrenOnly);
}
