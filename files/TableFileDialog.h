#pragma once

#include <QWidget>

#include <functional>

class FileChooser;
class QPushButton;
class ToleranceTable;

// What the open and the save dialog share: a small top-level tool window
// captioned with the program's title and version, the file chooser, and the
// main window's table path following every click and keystroke in it.
// The table is asked for at each event, never kept: while the settings
// dialog is open there is no main window; then the table path is not
// followed, and "OK" says that there is no main window.
class TableFileDialog : public QWidget
{
    Q_OBJECT

protected:
    TableFileDialog(const char* objectName, std::function<ToleranceTable*()> currentTable,
                    const QString& startFolder);

    ToleranceTable* currentTable() const;
    FileChooser* chooser() const;
    // A push button in the button column at this top.
    QPushButton* addButton(const char* objectName, const char* caption, int top);
    // Focus goes through these buttons first, then through the chooser's lists and boxes.
    void setFocusOrder(const QList<QWidget*>& buttons);

private:
    std::function<ToleranceTable*()> m_currentTable;
    FileChooser* m_chooser = nullptr;
};
