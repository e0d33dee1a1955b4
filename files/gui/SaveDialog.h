#pragma once

#include "files/gui/TableFileDialog.h"

// `T_Speicher`: the user picks a folder and types a name; "OK" writes the
// table being edited to a ".tabelle" file and returns the main window to
// display mode. A table that cannot be written stays in edit mode.
class SaveDialog : public TableFileDialog
{
    Q_OBJECT

public:
    // The dialog is a top-level window of its own, beside the main window.
    SaveDialog(std::function<CheckedTable*()> currentTable, const QString& startFolder);

private:
    void onOk();
    void reportFailure(const QString& path, const QString& reason);
};
