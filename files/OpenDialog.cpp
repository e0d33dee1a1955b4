#include "files/OpenDialog.h"

#include "base/MessageBox.h"
#include "files/TableFile.h"
#include "files/TableFileIo.h"
#include "table/ToleranceTable.h"

#include <QPushButton>

OpenDialog::OpenDialog(std::function<ToleranceTable*()> currentTable, const QString& startFolder)
    : TableFileDialog("T_Wahl", std::move(currentTable), startFolder)
{
    QPushButton* ok = addButton("OKButton", "OK", 24);
    QPushButton* cancel = addButton("CancelButton", "Abbrechen", 56);
    setFocusOrder({ok, cancel});
    connect(ok, &QPushButton::clicked, this, &OpenDialog::onOk);
    // Nothing is restored: the table path keeps what the clicks and typing set.
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);
}

void OpenDialog::onOk()
{
    ToleranceTable* table = currentTable();
    if (!table) {
        MessageBox::show(this, QStringLiteral("Es ist kein Hauptfenster geöffnet. Die Tabelle wurde nicht "
                                              "geladen."));
        return;
    }
    const QString path = QString::fromStdString(tablefile::withExtension(table->tablePath().toStdString()));
    table->setTablePath(path);

    const tablefileio::LoadResult loaded = tablefileio::loadTable(path);
    switch (loaded.status) {
    case tablefileio::LoadResult::Status::NotFound:
        MessageBox::show(this, QStringLiteral("Datei mit diesem Namen nicht gefunden, Sie müssen diese Datei "
                                              "erst erzeugen"));
        return;
    case tablefileio::LoadResult::Status::Refused:
        MessageBox::show(this, tablefileio::failureMessage(QStringLiteral("Die Tabelle wurde nicht geladen"),
                                                           path, loaded.reason));
        return;
    case tablefileio::LoadResult::Status::Loaded:
        table->showValues(loaded.values);
        close();
        return;
    }
}
