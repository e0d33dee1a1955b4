#include "files/gui/SaveDialog.h"

#include "files/gui/FileChooser.h"
#include "base/MessageBox.h"
#include "files/core/TableFile.h"
#include "files/gui/TableFileIo.h"
#include "table/gui/CheckedTable.h"

#include <QFileInfo>
#include <QPushButton>

SaveDialog::SaveDialog(std::function<CheckedTable*()> currentTable, const QString& startFolder)
    : TableFileDialog("T_Speicher", std::move(currentTable), startFolder)
{
    setFocusOrder({});
    connect(okButton(), &QPushButton::clicked, this, &SaveDialog::onOk);
}

void SaveDialog::onOk()
{
    CheckedTable* table = currentTable();
    if (!table) {
        MessageBox::show(this, QStringLiteral("Es ist kein Hauptfenster geöffnet. Die Tabelle wurde nicht "
                                              "gespeichert."));
        return;
    }
    if (!table->document().isEditing()) {
        MessageBox::show(this,
                         QStringLiteral("Sie müssen eine Tabelle neu erstellen oder bearbeiten, bevor Sie "
                                        "speichern."));
        close();
        return;
    }
    const std::string name = chooser()->name().toStdString();
    if (tablefile::isRefusedName(name)) {
        MessageBox::show(this, QStringLiteral("Legen Sie einen neuen Tabellennamen an."));
        return;
    }
    const QString path = chooser()->pathFor(QString::fromStdString(tablefile::withExtension(name)));
    setTablePath(*table, path);

    if (const auto notice = tablefileio::unstorableCharacterNotice(toTexts(table->document().typed()))) {
        MessageBox::show(this, *notice);
        return;
    }
    // Before the overwrite question, so that it is never asked for a save that cannot be made.
    if (const auto problem = tablefileio::saveTargetProblem(path)) {
        reportFailure(path, *problem);
        return;
    }
    if (QFileInfo::exists(path)) {
        const auto answer =
            MessageBox::show(this, QStringLiteral("Soll die bestehende Datei überschrieben werden?"),
                             MessageBox::Buttons::OkCancel);
        if (answer != MessageBox::Answer::Ok) {
            MessageBox::show(this, QStringLiteral("Speichervorgang wurde abgebrochen. Legen Sie einen neuen "
                                                  "Tabellennamen fest."));
            return;
        }
        MessageBox::show(this, QStringLiteral("Tabellendatei wird überschrieben."));
        // The message boxes ran their own event loops; the main window may have changed meanwhile.
        table = currentTable();
        if (!table || !table->document().isEditing())
            return;
    }
    const QStringList values = toTexts(table->document().typed());
    if (const auto failure = tablefileio::writeTable(path, values)) {
        reportFailure(path, *failure);
        return;
    }
    QStringList asStored;
    for (const QString& value : values)
        asStored.append(QString::fromStdString(tablefile::asStored(value.toStdString())));
    // A record already beside the file stays and is judged against the new values; none is copied.
    table->leaveEditMode(asStored, tablefileio::loadRelease(path));
    close();
}

void SaveDialog::reportFailure(const QString& path, const QString& reason)
{
    MessageBox::show(this, tablefileio::failureMessage(QStringLiteral("Die Tabelle wurde nicht gespeichert"),
                                                       path, reason));
}
