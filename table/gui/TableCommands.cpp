#include "table/gui/TableCommands.h"

#include "base/MessageBox.h"
#include "table/gui/CheckedTable.h"

void startNewTable(CheckedTable& table)
{
    table.startNew();
}

void editShownTable(CheckedTable& table, QWidget* messageParent)
{
    if (!table.document().hasPath()) {
        MessageBox::show(messageParent,
                         QStringLiteral("Sie müssen erst eine zu bearbeitende Tabelle auswählen"));
        return;
    }
    if (table.document().isEditing())
        return;
    table.editShown();
}
