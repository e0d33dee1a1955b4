#pragma once

#include "transfer/gui/TransferController.h"

#include <QMainWindow>

class CheckedTable;
class QToolBar;
class ToleranceTable;

// The main window `Tabelle`: menu bar, toolbar and the tolerance table. Every
// command of the program starts here; each has its own handler. Commands whose
// windows outlive this one are asked of whoever created it, by signal.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // `hosts` makes the connection to KORVANT for each transfer command.
    explicit MainWindow(HostFactory hosts);

    // The table document with its check, and the view that shows it.
    CheckedTable& table() { return *m_table; }
    const CheckedTable& table() const { return *m_table; }
    ToleranceTable& tableView() { return *m_view; }
    TransferController& transfer() { return *m_transfer; }

    // Runs the command of toolbar button `index` (from 1); the separators 2 and 4 do nothing.
    void toolbarButtonClicked(int index);

signals:
    void setupRequested();
    void aboutRequested();
    void supportRequested();
    void saveRequested();
    void openRequested(); // only in display mode
    void exitRequested(); // after the exit question, if any

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createMenus();
    void createToolbar();

    bool savedFirst();
    void runTransfer();
    void previewTransfer();
    void showLastTransfer();
    void openSetup();
    void exitProgram();
    void editTable();
    void newTable();
    void saveTable();
    void deleteTable();
    void chooseTable();
    void checkTable();
    void releaseTable();

    CheckedTable* m_table;
    ToleranceTable* m_view;
    TransferController* m_transfer;
    QToolBar* m_toolbar = nullptr;
    bool m_leaving = false; // "Setup" or "Beenden" closes the window: no more questions
};
