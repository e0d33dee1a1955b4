#pragma once

#include "transfer/core/TransferPort.h"

#include <QElapsedTimer>
#include <QMetaObject>

class CheckedTable;
class QWidget;
class TransferProgress;

// A command as its controller keeps it: under way, and whether "Abbrechen" was asked for.
struct CommandState
{
    bool running = false;
    bool cancelRequested = false;
};

// When a long run shows its progress window, and how often it is brought up to date.
struct ProgressTiming
{
    int delayMs = 500; // a run shorter than this shows no progress window
    int intervalMs = 100; // also how often "Abbrechen" is looked for between calls
};

// The transfer's port on a window: the main window's table, the user's
// locale and settings, message boxes over `window`, its wait pointer, and
// the progress window it owns while a long command goes on. Whoever runs the
// command keeps every other window from taking input meanwhile.
class WindowPort : public TransferPort
{
public:
    // "Abbrechen" is kept in `state`, the controller's.
    WindowPort(const CheckedTable& table, QWidget* window, ProgressTiming timing, CommandState& state);
    ~WindowPort() override;
    WindowPort(const WindowPort&) = delete;
    WindowPort& operator=(const WindowPort&) = delete;

    const TableDocument& table() const override;
    tablecheck::Locale locale() const override;
    TableDocument::Fingerprinting fingerprinting() const override;
    bool keepExistingTolerances() const override;

    void showMessage(const std::string& text) override;
    void setWaitPointer() override;
    void restorePointer() override;
    bool reportProgress(std::size_t done, std::optional<std::size_t> total) override;
    bool stopRequested() override;

private:
    TransferProgress* existingProgress() const;
    void cancel();

    const CheckedTable& m_table;
    QWidget* m_window;
    ProgressTiming m_timing;
    QElapsedTimer m_clock;
    QElapsedTimer m_sinceRepaint;
    QElapsedTimer m_sinceInput; // since "Abbrechen" could last be pressed
    CommandState& m_state;
    bool m_progressShown = false; // by this command
    QMetaObject::Connection m_cancelConnection;
};
