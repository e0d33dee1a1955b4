#include "files/gui/ReleaseDialog.h"

#include "base/IsoTime.h"
#include "base/MessageBox.h"
#include "base/Workstation.h"
#include "files/core/ReleaseFile.h"
#include "files/gui/TableFileIo.h"
#include "table/core/TableFingerprint.h"
#include "table/gui/CheckedTable.h"
#include "table/gui/LocaleNumbers.h"

#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString NotReleased = QStringLiteral("Die Tabelle wurde nicht freigegeben");

// The file as it lies on disk now, read as the shown table is read: a table
// released must be the one its file holds, not one shown from it earlier.
std::optional<QString> fileDiffers(const TableDocument& document, const QString& path)
{
    const tablefileio::LoadResult loaded = tablefileio::loadTable(path);
    if (loaded.status == tablefileio::LoadResult::Status::NotFound)
        return tablefileio::failureMessage(NotReleased, path, QStringLiteral("Die Datei ist nicht vorhanden."));
    if (loaded.status == tablefileio::LoadResult::Status::Refused)
        return tablefileio::failureMessage(NotReleased, path, loaded.reason);
    std::vector<std::string> captions{cells::FirstLowerBound};
    for (const QString& value : loaded.values)
        captions.push_back(value.toStdString());
    const LocaleNumberReading read = numbersOf().read;
    if (fingerprintText(captions, read) == document.fingerprintText(read))
        return std::nullopt;
    return QStringLiteral("Die angezeigten Werte weichen von der Datei ab. Öffnen Sie die Tabelle erneut, "
                          "bevor Sie sie freigeben.");
}

} // namespace

void releaseCurrentTable(CheckedTable& table, QWidget* parent)
{
    const TableDocument& document = table.document();
    if (document.isEditing()) {
        MessageBox::show(parent, QString::fromUtf8(cells::SaveFirst));
        return;
    }
    if (!document.hasPath()) {
        MessageBox::show(parent, QStringLiteral("Sie müssen die freizugebende Tabelle zuerst auswählen"));
        return;
    }
    // The record's own Fehler do not count: a changed or damaged record is what a new release replaces.
    const std::vector<tablecheck::Finding> findings = document.check(numbersOf());
    if (const tablecheck::Finding* error = tablecheck::firstError(findings)) {
        MessageBox::show(parent, QStringLiteral("Die Tabelle enthält Fehler und wird nicht freigegeben.\n") +
                                     QString::fromStdString(error->text));
        return;
    }
    const QString path = QString::fromStdString(*document.path());
    if (const std::optional<QString> differs = fileDiffers(document, path)) {
        MessageBox::show(parent, *differs);
        return;
    }
    // Without a Fehler every cell is blank or a number, so the table has its sum.
    auto* dialog = new ReleaseDialog(table, path, table.fingerprint().value_or(std::string()), parent);
    dialog->open();
}

ReleaseDialog::ReleaseDialog(CheckedTable& table, const QString& tablePath, std::string fingerprint,
                             QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_table(&table), m_tablePath(tablePath), m_fingerprint(std::move(fingerprint)),
      m_version(new QLineEdit(this)), m_basis(new QLineEdit(this)), m_releasedBy(new QLineEdit(this)),
      m_remark(new QLineEdit(this))
{
    setObjectName(QStringLiteral("ReleaseTable"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::ApplicationModal);
    setWindowTitle(QStringLiteral("Dalmerin – Tabelle freigeben"));

    auto* pathLabel = new QLabel(QDir::toNativeSeparators(tablePath), this);
    pathLabel->setObjectName(QStringLiteral("ReleaseTablePath"));
    pathLabel->setTextFormat(Qt::PlainText);
    auto* sum = new QLabel(QString::fromStdString(release::fingerprintLine(m_fingerprint)), this);
    sum->setObjectName(QStringLiteral("ReleaseFingerprint"));

    m_version->setObjectName(QStringLiteral("Stand"));
    m_basis->setObjectName(QStringLiteral("Grundlage"));
    m_basis->setPlaceholderText(QStringLiteral("z. B. ISO 2768-1:1989 m"));
    m_releasedBy->setObjectName(QStringLiteral("FreigegebenVon"));
    m_releasedBy->setText(workstation::loginName());
    m_remark->setObjectName(QStringLiteral("Bemerkung"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Stand:"), m_version);
    form->addRow(QStringLiteral("&Grundlage:"), m_basis);
    form->addRow(QStringLiteral("Freigegeben &von:"), m_releasedBy);
    form->addRow(QStringLiteral("&Bemerkung:"), m_remark);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmd_OK"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    cancel->setObjectName(QStringLiteral("cmd_Cancel"));
    connect(ok, &QPushButton::clicked, this, &ReleaseDialog::onOk);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pathLabel);
    layout->addWidget(sum);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setMinimumWidth(420);
    m_version->setFocus();
}

void ReleaseDialog::onOk()
{
    const QString version = m_version->text().trimmed();
    const QString releasedBy = m_releasedBy->text().trimmed();
    if (version.isEmpty()) {
        MessageBox::show(this, QStringLiteral("Geben Sie den Stand der Freigabe an."));
        m_version->setFocus();
        return;
    }
    if (releasedBy.isEmpty()) {
        MessageBox::show(this, QStringLiteral("Geben Sie an, wer die Tabelle freigibt."));
        m_releasedBy->setFocus();
        return;
    }
    const QString recordPath = tablefileio::releasePath(m_tablePath);
    if (auto problem = tablefileio::saveTargetProblem(recordPath)) {
        MessageBox::show(this, tablefileio::failureMessage(NotReleased, recordPath, *problem));
        return;
    }
    if (QFileInfo::exists(recordPath) &&
        MessageBox::show(this, QStringLiteral("Soll die bestehende Freigabe ersetzt werden?"),
                         MessageBox::Buttons::OkCancel) != MessageBox::Answer::Ok)
        return;
    ReleaseRecord record;
    record.fingerprint = m_fingerprint;
    record.version = version.toStdString();
    record.basis = m_basis->text().trimmed().toStdString();
    record.releasedBy = releasedBy.toStdString();
    record.releasedAt = isoTimeWithOffset(QDateTime::currentDateTime()).toStdString();
    record.remark = m_remark->text().trimmed().toStdString();
    if (auto failure = tablefileio::writeAtomically(recordPath, releasefile::encode(record))) {
        MessageBox::show(this, tablefileio::failureMessage(NotReleased, recordPath, *failure));
        return;
    }
    if (m_table)
        m_table->setRelease({TableRelease::State::Read, record, {}});
    accept();
}
