#pragma once

class QWidget;
class CheckedTable;

// "Löschen": deletes the file the table path names, after the confirmation,
// with its release record beside it, and clears the shown table. Refused in
// edit mode and with no table chosen; a file that cannot be deleted is
// reported and the table stays shown.
void deleteCurrentTable(CheckedTable& table, QWidget* messageParent);
