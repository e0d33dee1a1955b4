#include "files/gui/OpenDialog.h"

#include "base/MessageBox.h"
#include "files/core/TableFile.h"
#include "files/gui/TableFileIo.h"
#include "table/gui/CheckedTable.h"

#include <QPushButton>

OpenDialog::OpenDialog(std::function<CheckedTable*()> currentTable, const QString& startFolder)
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
    CheckedTable* table = currentTable();
    if (!table) {
        MessageBox::show(this, QStringLiteral("Es ist kein Hauptfenster geöffnet. Die Tabelle wurde nicht "
                                              "geladen."));
        return;
    }
    // With no table chosen, the name shown for none is taken as a file name, as typed.
    const QString path = QString::fromStdString(
        tablefile::withExtension(table->document().path().value_or(cells::NoTableChosen)));
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
        table->showFileValues(loaded.values, {loaded.moreValues, loaded.byteOrderMark},
                              tablefileio::loadRelease(path));
        m_loaded = true;
        close();
        return;
    }
}
