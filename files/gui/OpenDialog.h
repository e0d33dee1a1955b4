#pragma once

#include "files/gui/TableFileDialog.h"

// `T_Wahl`: the user picks a table file; "OK" shows its 71 values in the
// main window's display labels and leaves its path in `Tab_Name`. Closed
// without a table loaded, it gives `Tab_Name` back what it showed before.
class OpenDialog : public TableFileDialog
{
    Q_OBJECT

public:
    // The dialog is a top-level window of its own, beside the main window.
    OpenDialog(std::function<CheckedTable*()> currentTable, const QString& startFolder);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void onOk();

    bool m_loaded = false;
};
