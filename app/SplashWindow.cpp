#include "app/SplashWindow.h"

#include "base/AppInfo.h"
#include "base/NamedFont.h"
#include "app/Credits.h"
#include "base/Settings.h"
#include "base/Twips.h"
#include "resources/Pictures.h"

#include <QGroupBox>
#include <QLabel>
#include <QScreen>
#include <QTimer>

namespace {

QLabel* addLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry,
                 Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    label->setAlignment(alignment);
    label->setTextFormat(Qt::PlainText);
    return label;
}

// The credit lines are set when the program is built; a longer one grows away
// from the edge it is aligned to instead of being cut off.
void widenToText(QLabel* label)
{
    const int needed = label->sizeHint().width();
    if (needed <= label->width())
        return;
    QRect geometry = label->geometry();
    if (label->alignment() & Qt::AlignRight)
        geometry.setLeft(geometry.right() + 1 - needed);
    else
        geometry.setWidth(needed);
    label->setGeometry(geometry);
}

QLabel* addPicture(QWidget* parent, const char* name, const char* picture, const QRect& geometry)
{
    auto* label = addLabel(parent, name, QString(), geometry, Qt::AlignCenter);
    label->setPixmap(pictures::pixmap(picture, label->devicePixelRatioF()));
    return label;
}

} // namespace

SplashWindow::SplashWindow(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("START"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(twipsRect(0, 0, 7380, 4320).size());
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());

    auto* frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setGeometry(twipsRect(60, 0, 7215, 4215));

    addPicture(frame, "Picture2", "logo", twipsRect(360, 360, 1530, 1545));
    addPicture(frame, "Picture1", "banner", twipsRect(3420, 420, 3585, 465));
    const auto right = Qt::AlignRight | Qt::AlignVCenter;
    auto* productName = addLabel(frame, "lblProductName", QStringLiteral("Produktname"),
                                 twipsRect(3345, 1560, 3585, 660), right);
    productName->setFont(namedFont("Arial", 27.75, true));
    auto* version =
        addLabel(frame, "lblVersion", QStringLiteral("Version"), twipsRect(4830, 2520, 2145, 285), right);
    version->setFont(namedFont("Arial", 12, true));
    addLabel(frame, "Design", QStringLiteral("Entwickelt von"), twipsRect(5760, 3000, 1215, 255), right)
        ->setFont(namedFont("Arial", 8.25));
    // Where developer and company are one, the name is not shown twice.
    const QString company = QString::fromUtf8(credits::CompanyLine);
    const QString developer = QString::fromUtf8(credits::DeveloperName);
    auto* companyLine = addLabel(frame, "Label2", company == developer ? QString() : company,
                                 twipsRect(3840, 3240, 3195, 255), right);
    auto* developerLine = addLabel(frame, "lblCompany", developer, twipsRect(6180, 3480, 855, 255), right);
    addLabel(frame, "lblWarning",
             QStringLiteral("Dieses Produkt wurde entwickelt für KORVANT ab Version 3.2x"),
             twipsRect(180, 3840, 6495, 315))
        ->setFont(namedFont("Arial", 8.25));
    auto* developerCorner = addLabel(this, "Label1", developer, twipsRect(0, 0, 855, 255));
    for (QLabel* credit : {companyLine, developerLine, developerCorner}) {
        credit->setFont(namedFont("Arial", 8.25));
        widenToText(credit);
    }

    // Load steps: version, product name, then the interval from "Start".
    version->setText(QStringLiteral("Version ") + QString::fromStdString(appinfo::versionText()));
    productName->setText(QString::fromUtf8(appinfo::Title));
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(settings::showSplash() ? 3000 : 1);
    connect(m_timer, &QTimer::timeout, this, &SplashWindow::onTimer);
    m_timer->start();
}

int SplashWindow::interval() const
{
    return m_timer->interval();
}

void SplashWindow::onTimer()
{
    m_timer->stop();
    // The main window is shown before this one closes, so that the program
    // never has no window open and quits.
    emit finished();
    close();
}
