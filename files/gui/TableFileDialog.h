#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>
#include <optional>
#include <string>

class FileChooser;
class QPushButton;
class CheckedTable;

// What the open and the save dialog share: a small top-level tool window
// captioned with the program's title and version, the file chooser, the "OK"
// button, and the main window's table path following every click and
// keystroke in it. A double click on a file, or Enter on it, chooses it and
// presses "OK"; Enter elsewhere presses the focused button or else "OK";
// Escape closes the dialog as its frame does.
// The table is asked for at each event, never kept: while the settings
// dialog is open there is no main window; then the table path is not
// followed, and "OK" says that there is no main window.
class TableFileDialog : public QWidget
{
    Q_OBJECT

protected:
    TableFileDialog(const char* objectName, std::function<CheckedTable*()> currentTable,
                    const QString& startFolder);

    CheckedTable* currentTable() const;
    FileChooser* chooser() const;
    QPushButton* okButton() const;
    // A push button in the button column at this top.
    QPushButton* addButton(const char* objectName, const char* caption, int top);
    // Focus goes through "OK", these buttons, then through the chooser's lists and boxes.
    void setFocusOrder(const QList<QWidget*>& moreButtons);

    // Sets the table path, keeping what the table showed before this dialog changed it.
    void setTablePath(CheckedTable& table, const QString& path);
    // Gives the table back that path, unless another command has set one since.
    void restoreTablePath();

    void keyPressEvent(QKeyEvent* event) override;

private:
    std::function<CheckedTable*()> m_currentTable;
    FileChooser* m_chooser = nullptr;
    QPushButton* m_ok = nullptr;
    // The table whose path this dialog changes, the path it showed before, and
    // the path this dialog wrote last.
    QPointer<CheckedTable> m_changedTable;
    std::optional<std::string> m_pathBefore;
    std::optional<std::string> m_pathWritten;
};
