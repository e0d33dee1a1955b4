#include "transfer/gui/TransferProgress.h"

#include "base/AppInfo.h"

#include <QLabel>
#include <QVBoxLayout>

TransferProgress::TransferProgress(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_label(new QLabel(this))
{
    setObjectName(QStringLiteral("TransferProgress"));
    setWindowTitle(QString::fromUtf8(appinfo::Title));
    m_label->setObjectName(QStringLiteral("TransferProgressText"));
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setMinimumWidth(240);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
}

void TransferProgress::showCount(std::size_t done, std::optional<std::size_t> total)
{
    m_label->setText(total ? QStringLiteral("%1 von %2 Befehlen").arg(done).arg(*total)
                           : QStringLiteral("%1 Befehle").arg(done));
}

QString TransferProgress::text() const
{
    return m_label->text();
}
