#include "table/gui/TableCommands.h"

#include "base/MessageBox.h"
#include "table/gui/ToleranceTable.h"

void startNewTable(ToleranceTable& table)
{
    table.enterEditModeEmpty();
}

void editShownTable(ToleranceTable& table, QWidget* messageParent)
{
    if (!table.hasTableChosen()) {
        MessageBox::show(messageParent,
                         QStringLiteral("Sie müssen erst eine zu bearbeitende Tabelle auswählen"));
        return;
    }
    if (table.isEditMode())
        return;
    table.enterEditModeFromShown();
}
