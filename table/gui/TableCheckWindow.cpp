#include "table/gui/TableCheckWindow.h"

#include "table/gui/CheckedTable.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TableCheckWindow::TableCheckWindow(const CheckedTable& table, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("TableCheck"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromUtf8("Dalmerin – Tabelle prüfen"));

    const std::vector<tablecheck::Finding>& findings = table.findings();
    const TableDocument& document = table.document();
    QString releaseText = QString::fromStdString(release::fingerprintLine(table.fingerprint(), 64));
    if (!document.isEditing())
        releaseText += QLatin1Char('\n') +
                       QString::fromStdString(release::statusText(document.release(), table.fingerprint()));
    auto* release = new QLabel(releaseText, this);
    release->setObjectName(QStringLiteral("TableCheckRelease"));
    release->setTextFormat(Qt::PlainText);
    release->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* summary = new QLabel(QString::fromStdString(tablecheck::countsText(findings)), this);
    summary->setObjectName(QStringLiteral("TableCheckSummary"));
    summary->setTextFormat(Qt::PlainText);

    auto* list = new QListWidget(this);
    list->setObjectName(QStringLiteral("TableFindings"));
    list->setWordWrap(true);
    list->setMinimumSize(560, 200);
    for (const tablecheck::Finding& finding : findings)
        list->addItem(QString::fromUtf8(tablecheck::kindName(finding.kind)) + QStringLiteral(": ") +
                      QString::fromStdString(finding.text));
    list->setCurrentRow(0);

    auto* close = new QPushButton(QStringLiteral("S&chließen"), this);
    close->setObjectName(QStringLiteral("cmd_Close"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(release);
    layout->addWidget(summary);
    layout->addWidget(list, 1);
    layout->addWidget(close, 0, Qt::AlignRight);
    list->setFocus();
}
