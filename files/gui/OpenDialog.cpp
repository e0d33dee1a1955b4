#include "files/gui/OpenDialog.h"

#include "base/MessageBox.h"
#include "files/core/TableFile.h"
#include "files/gui/TableFileIo.h"
#include "table/gui/ToleranceTable.h"

#include <QPushButton>

OpenDialog::OpenDialog(std::function<ToleranceTable*()> currentTable, const QString& startFolder)
    : TableFileDialog("T_Wahl", std::move(currentTable), startFolder)
{
    QPushButton* cancel = addButton("CancelButton", "Abbrechen", 56);
    setFocusOrder({cancel});
    connect(okButton(), &QPushButton::clicked, this, &OpenDialog::onOk);
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);
}

// "Abbrechen", Escape and the frame leave the table path as it was before the
// clicks and typing in the dialog, so that it names the table on screen.
void OpenDialog::closeEvent(QCloseEvent* event)
{
    if (!m_loaded)
        restoreTablePath();
    TableFileDialog::closeEvent(event);
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
    setTablePath(*table, path);

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
        table->setFileNotes({loaded.moreValues, loaded.byteOrderMark});
        m_loaded = true;
        close();
        return;
    }
}
