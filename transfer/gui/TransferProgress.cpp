#include "transfer/gui/TransferProgress.h"

#include "base/AppInfo.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TransferProgress::TransferProgress(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_label(new QLabel(this)),
      m_cancel(new QPushButton(this))
{
    setObjectName(QStringLiteral("TransferProgress"));
    setWindowTitle(QString::fromUtf8(appinfo::Title));
    m_label->setObjectName(QStringLiteral("TransferProgressText"));
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setMinimumWidth(240);
    m_cancel->setObjectName(QStringLiteral("TransferCancel"));
    connect(m_cancel, &QPushButton::clicked, this, &TransferProgress::cancelPressed);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_cancel, 0, Qt::AlignHCenter);
    reset();
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

void TransferProgress::reset()
{
    m_cancel->setEnabled(true);
    m_cancel->setText(QStringLiteral("&Abbrechen"));
    m_label->clear();
}

void TransferProgress::showCancelling()
{
    m_cancel->setEnabled(false);
    m_cancel->setText(QStringLiteral("Wird abgebrochen…"));
    // The command goes on until its next call to KORVANT: no event loop would paint it before.
    m_cancel->repaint();
}

// Escape is "Abbrechen"; Enter, perhaps typed before the window came up, stops nothing.
void TransferProgress::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && m_cancel->isEnabled())
        m_cancel->click();
    else
        QWidget::keyPressEvent(event);
}

// Closed only by the command it shows, when that ends.
void TransferProgress::closeEvent(QCloseEvent* event)
{
    event->ignore();
}
