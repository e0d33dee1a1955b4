#include "SplashWindow.h"

#include "AppInfo.h"
#include "Credits.h"
#include "Settings.h"
#include "Twips.h"

#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QTimer>

namespace {

QLabel* addLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry,
                 Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    label->setAlignment(alignment);
    return label;
}

QFont arial(double pointSize, bool bold = false)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

QLabel* addPicture(QWidget* parent, const char* name, const QString& resource, const QRect& geometry)
{
    auto* picture = addLabel(parent, name, QString(), geometry, Qt::AlignCenter);
    picture->setPixmap(QPixmap(resource));
    return picture;
}

} // namespace

SplashWindow::SplashWindow(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("START"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(twipsRect(0, 0, 7380, 4320).size());

    auto* frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setGeometry(twipsRect(60, 0, 7215, 4215));

    addPicture(frame, "Picture2", QStringLiteral(":/pictures/logo.png"), twipsRect(360, 360, 1530, 1545));
    addPicture(frame, "Picture1", QStringLiteral(":/pictures/banner.png"), twipsRect(3420, 420, 3585, 465));
    const auto right = Qt::AlignRight | Qt::AlignVCenter;
    auto* productName = addLabel(frame, "lblProductName", QStringLiteral("Produktname"),
                                 twipsRect(3345, 1560, 3585, 660), right);
    productName->setFont(arial(27.75, true));
    auto* version =
        addLabel(frame, "lblVersion", QStringLiteral("Version"), twipsRect(4830, 2520, 2145, 285), right);
    version->setFont(arial(12, true));
    addLabel(frame, "Design", QStringLiteral("Entwickelt von"), twipsRect(5760, 3000, 1215, 255), right)
        ->setFont(arial(8.25));
    addLabel(frame, "Label2", QString::fromUtf8(credits::CompanyLine), twipsRect(3840, 3240, 3195, 255),
             right)
        ->setFont(arial(8.25));
    addLabel(frame, "lblCompany", QString::fromUtf8(credits::DeveloperName), twipsRect(6180, 3480, 855, 255),
             right)
        ->setFont(arial(8.25));
    addLabel(frame, "lblWarning",
             QStringLiteral("Dieses Produkt wurde entwickelt für KORVANT ab Version 3.2x"),
             twipsRect(180, 3840, 6495, 315))
        ->setFont(arial(8.25));
    addLabel(this, "Label1", QString::fromUtf8(credits::DeveloperName), twipsRect(0, 0, 855, 255))
        ->setFont(arial(8.25));

    // Load steps: version, product name, then the interval from "Start".
    version->setText(QStringLiteral("Version ") + QString::fromStdString(appinfo::versionText()));
    productName->setText(QString::fromUtf8(appinfo::Title));
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(settings::read(settings::Start) == QLatin1String("0") ? 1 : 3000);
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
