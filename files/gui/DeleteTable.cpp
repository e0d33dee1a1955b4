#include "files/gui/DeleteTable.h"

#include "base/MessageBox.h"
#include "files/gui/TableFileIo.h"
#include "table/gui/CheckedTable.h"

#include <QFileInfo>

void deleteCurrentTable(CheckedTable& table, QWidget* messageParent)
{
    if (table.document().isEditing()) {
        MessageBox::show(messageParent, QString::fromUtf8(cells::SaveFirst));
        return;
    }
    if (!table.document().hasPath()) {
        MessageBox::show(messageParent,
                         QStringLiteral("Sie müssen die zu löschende Tabelle zuerst auswählen"));
        return;
    }
    const QString path = QString::fromStdString(*table.document().path());
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
    table.clearAfterDelete();
    // The table's record goes with it, so that no later table of that name finds it.
    const QString record = tablefileio::releasePath(path);
    if (!QFileInfo::exists(record) && !QFileInfo(record).isSymLink())
        return;
    if (const auto failure = tablefileio::deleteTable(record))
        MessageBox::show(messageParent,
                         tablefileio::failureMessage(QStringLiteral("Die Freigabe der Tabelle wurde nicht gelöscht"),
                                                     record, *failure));
}
