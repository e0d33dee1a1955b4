#include "app/SetupDialog.h"

#include "base/AppInfo.h"
#include "base/DialogKeys.h"
#include "base/MessageBox.h"
#include "base/Settings.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QCheckBox* addCheckBoxGroup(QVBoxLayout* layout, const char* frameName, const char* frameCaption,
                            const char* boxName, const char* boxCaption)
{
    auto* frame = new QGroupBox(QString::fromUtf8(frameCaption));
    frame->setObjectName(QString::fromLatin1(frameName));
    auto* box = new QCheckBox(QString::fromUtf8(boxCaption), frame);
    box->setObjectName(QString::fromLatin1(boxName));
    (new QVBoxLayout(frame))->addWidget(box);
    layout->addWidget(frame);
    return box;
}

QPushButton* addButton(QHBoxLayout* layout, const char* name, const char* caption)
{
    auto* button = new QPushButton(QString::fromUtf8(caption));
    button->setObjectName(QString::fromLatin1(name));
    layout->addWidget(button);
    return button;
}

// A check box state as the settings store keeps it: "0" or "1".
QString storedState(const QCheckBox* box)
{
    return box->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

SetupDialog::SetupDialog(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frm_Setup"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* layout = new QVBoxLayout(this);
    m_start = addCheckBoxGroup(layout, "Frame2", "Programmeinstellungen", "Check_START",
                               "Startbildschirm einblenden");
    m_oldValues = addCheckBoxGroup(layout, "Frame1", "Übertragungsparameter", "Check_OldVal",
                                   "BestehendeToleranzen beibehalten");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    m_ok = addButton(buttons, "cmd_OK", "OK");
    m_ok->setDefault(true);
    m_cancel = addButton(buttons, "cmd_Cancel", "Abbruch");
    layout->addLayout(buttons);
    connect(m_ok, &QPushButton::clicked, this, &SetupDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &SetupDialog::cancel);

    setWindowTitle(QStringLiteral("Konfigurationsfenster für ") + QString::fromUtf8(appinfo::Title));
    loadSettings();
}

// Only a stored "0" unchecks a box: the splash and the transfer treat every
// other value as "1" too.
void SetupDialog::loadSettings()
{
    m_oldValues->setChecked(settings::keepExistingTolerances());
    m_start->setChecked(settings::showSplash());
}

// A write that fails is told, with where and why; the dialog then closes as
// after any "OK".
void SetupDialog::saveSettings()
{
    QString problem = settings::write(settings::OldVal, storedState(m_oldValues));
    if (problem.isEmpty())
        problem = settings::write(settings::Start, storedState(m_start));
    if (!problem.isEmpty())
        MessageBox::show(this, QStringLiteral("Die Einstellungen konnten nicht gespeichert werden.\n") +
                                   settings::place() + QLatin1Char('\n') + problem);
}

void SetupDialog::accept()
{
    saveSettings();
    finish();
}

void SetupDialog::cancel()
{
    loadSettings();
    finish();
}

void SetupDialog::finish()
{
    m_finished = true;
    emit done();
}

void SetupDialog::keyPressEvent(QKeyEvent* event)
{
    if (!handleDialogKey(event, this, m_ok, [this] { m_cancel->click(); }))
        QWidget::keyPressEvent(event);
}

// Closed through its frame, the dialog counts as "Abbruch": without it the
// program would be left with no main window, or end.
void SetupDialog::closeEvent(QCloseEvent* event)
{
    if (!m_finished)
        cancel();
    QWidget::closeEvent(event);
}
