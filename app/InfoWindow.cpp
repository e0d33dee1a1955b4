#include "app/InfoWindow.h"

#include "base/AppInfo.h"
#include "app/CopyrightNotice.h"
#include "app/Credits.h"
#include "resources/Pictures.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>

namespace {

// Word-wrapped labels get a fixed width so that the window can work out their height.
constexpr int TextWidth = 340;

QLabel* makeLabel(const char* name, const QString& text)
{
    auto* label = new QLabel(text);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText); // the credit texts are set by whoever builds the program
    label->setWordWrap(true);
    label->setFixedWidth(TextWidth);
    return label;
}

QLabel* makePicture(const char* name, const char* resource, int size)
{
    auto* picture = makeLabel(name, QString());
    picture->setFixedWidth(size + 8);
    picture->setPixmap(pictures::icon(resource).pixmap(size, size));
    picture->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    return picture;
}

QPushButton* makeCloseButton(QWidget* window, const char* name)
{
    auto* button = new QPushButton(QStringLiteral("OK"));
    button->setObjectName(QString::fromLatin1(name));
    button->setDefault(true);
    QObject::connect(button, &QPushButton::clicked, window, &QWidget::close);
    // Escape closes the window, like its "OK".
    QObject::connect(new QShortcut(QKeySequence(Qt::Key_Escape), window), &QShortcut::activated, button,
                     &QPushButton::click);
    return button;
}

const char* const Disclaimer =
    "Für diese Software wird keine Gewährleistung übernommen. Der Hersteller haftet nicht für Schäden am "
    "Computer oder an anderer installierter Hard- oder Software. Ein fehlerfreier Betrieb wird nicht "
    "zugesichert. Es besteht kein Anspruch auf die Beseitigung von Fehlern oder auf eine Weiterentwicklung, "
    "ebenso wenig auf eine richtige und aktuelle Dokumentation und richtige und aktuelle Tabellen. Bitte "
    "senden Sie die von Ihnen erstellten Tabellen an den Hersteller.";

} // namespace

AboutWindow::AboutWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("Information"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Info zu meiner Anwendung"));

    auto* layout = new QGridLayout(this);
    layout->addWidget(makePicture("picIcon", "dalmerin", 48), 0, 0, 4, 1);
    QLabel* title = makeLabel("lblTitle", QString());
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    title->setFont(titleFont);
    layout->addWidget(title, 0, 1);
    QLabel* version = makeLabel("lblVersion", QStringLiteral("Version 1.0"));
    layout->addWidget(version, 1, 1);
    QLabel* copyright = makeLabel("Label1", QString());
    layout->addWidget(copyright, 2, 1);
    layout->addWidget(makeLabel("lblDescription", QStringLiteral("Entwickelt von ") +
                                                      QString::fromUtf8(credits::DeveloperName)),
                      3, 1);
    QLabel* disclaimer = makeLabel("lblDisclaimer", QString::fromUtf8(Disclaimer));
    disclaimer->setFixedWidth(TextWidth + 80);
    layout->addWidget(disclaimer, 4, 0, 1, 2);
    layout->addWidget(makeCloseButton(this, "cmdOK"), 5, 1, Qt::AlignRight);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Load steps: caption, version, title, copyright.
    setWindowTitle(QStringLiteral("Info zu ") + QString::fromUtf8(appinfo::Title));
    version->setText(QStringLiteral("Version ") + QString::fromStdString(appinfo::versionText()));
    title->setText(QString::fromUtf8(appinfo::Title));
    copyright->setText(copyrightNotice());
}

SupportWindow::SupportWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("Support"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* layout = new QGridLayout(this);
    layout->addWidget(makePicture("Picture1", "logo", 64), 0, 0, 4, 1);
    QLabel* heading = makeLabel("Label1", QStringLiteral("Software Support"));
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    heading->setFont(headingFont);
    layout->addWidget(heading, 0, 1);
    layout->addWidget(
        makeLabel("Label2", QStringLiteral("Es besteht kein Anspruch auf Software Support seitens des "
                                           "Herstellers. Verbesserungsvorschläge können an folgende "
                                           "E-Mail Adresse gesendet werden:")),
        1, 1);
    QLabel* address = makeLabel("Label3", QString::fromUtf8(credits::SupportAddress));
    address->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(address, 2, 1);
    QLabel* copyright = makeLabel("Label4", QString());
    layout->addWidget(copyright, 3, 1);
    layout->addWidget(makeCloseButton(this, "Command1"), 4, 1, Qt::AlignRight);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Load steps: caption, then copyright.
    setWindowTitle(QString::fromStdString(appinfo::titleWithVersion()));
    copyright->setText(copyrightNotice());
}
