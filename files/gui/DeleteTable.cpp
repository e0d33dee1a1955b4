#include "files/gui/DeleteTable.h"

#include "base/MessageBox.h"
#include "files/gui/TableFileIo.h"
#include "table/gui/ToleranceTable.h"

void deleteCurrentTable(ToleranceTable& table, QWidget* messageParent)
{
    if (table.isEditMode()) {
        MessageBox::show(messageParent, QString::fromUtf8(cells::SaveFirst));
        return;
    }
    if (!table.hasTableChosen()) {
        MessageBox::show(messageParent,
                         QStringLiteral("Sie müssen die zu löschende Tabelle zuerst auswählen"));
        return;
    }
    const QString path = table.tablePath();
    const auto answer = MessageBox::show(messageParent, path + QStringLiteral(" wird gelöscht."),
                                         MessageBox::Buttons::OkCancel);
    if (answer != MessageBox::Answer::Ok) {
        MessageBox::show(messageParent,
                         QStringLiteral("Löschvorgang abgebrochen. Tabelle wurde nicht gelöscht"));
        return;
    }
    if (const auto failure = tablefileio::deleteTable(path)) {
        MessageBox::show(messageParent,
                         tablefileio::failureMessage(QStringLiteral("Die Tabellendatei wurde nicht gelöscht"),
                                                     path, *failure));
        return;
    }
    table.setTablePath(QString::fromUtf8(cells::NoTableChosen));
    table.clearValues();
}
