// The pictures at scales 1, 1.25, 1.5 and 2: the 2x file at any scale above
// 1, scaled down smoothly, and the 1x file at 1. Run once at scale 1 and once
// with QT_SCALE_FACTOR=1.5, where the shown windows are checked too.
#include "app/InfoWindow.h"
#include "app/MainWindow.h"
#include "app/SplashWindow.h"
#include "resources/Pictures.h"
#include "tests/support/GuiTestSupport.h"
#include "tests/support/PictureComparison.h"
#include "tests/support/ShellTestSupport.h"

#include <QApplication>
#include <QLabel>
#include <QToolBar>

#include <iterator>
#include <memory>

namespace {

const char* const Pictures[] = {"logo",       "banner",    "dalmerin",   "tool1-run",   "tool2-open",
                                "tool3-edit", "tool4-new", "tool5-save", "tool6-delete"};

} // namespace

class TestPictures : public QObject
{
    Q_OBJECT

private slots:
    void everyPictureAtEachScale_data();
    void everyPictureAtEachScale();
    void shownWindowsUseTheFileOfTheirScale();
};

void TestPictures::everyPictureAtEachScale_data()
{
    QTest::addColumn<qreal>("scale");
    QTest::newRow("100 %") << 1.0;
    QTest::newRow("125 %") << 1.25;
    QTest::newRow("150 %") << 1.5;
    QTest::newRow("200 %") << 2.0;
}

void TestPictures::everyPictureAtEachScale()
{
    QFETCH(qreal, scale);
    QString why;
    for (const char* name : Pictures) {
        const QPixmap shown = pictures::pixmap(name, scale);
        QCOMPARE(shown.devicePixelRatio(), scale);
        const QSize size = QImage(QStringLiteral(":/pictures/%1.png").arg(QString::fromLatin1(name))).size();
        QVERIFY2(picturecomparison::showsFileForItsScale(shown.toImage(), scale, name, size, why),
                 qPrintable(why));
    }
}

// The toolbar, the splash window and the About window as drawn on a screen of
// the process's scale.
void TestPictures::shownWindowsUseTheFileOfTheirScale()
{
    std::unique_ptr<QTemporaryDir> settingsFolder;
    std::unique_ptr<Shell> shell = guitest::startShell(settingsFolder);
    MainWindow* main = shell->showMainWindow();
    QVERIFY(QTest::qWaitForWindowExposed(main));
    QString why;
    const QToolBar* toolbar = guitest::child<QToolBar>(main, QStringLiteral("Toolbar1"));
    QStringList shown;
    for (QAction* action : toolbar->actions())
        if (!action->isSeparator())
            shown << action->objectName();
    QCOMPARE(shown.size(), int(std::size(picturecomparison::ToolbarPictures)));
    for (int i = 0; i < shown.size(); ++i) {
        QWidget* button = toolbar->widgetForAction(guitest::child<QAction>(toolbar, shown[i]));
        QVERIFY2(picturecomparison::showsFileForItsScale(
                     button->grab().toImage(), button->devicePixelRatioF(),
                     picturecomparison::ToolbarPictures[i], QSize(24, 22), why),
                 qPrintable(why));
    }

    SplashWindow splash;
    splash.show();
    QVERIFY(QTest::qWaitForWindowExposed(&splash));
    AboutWindow about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    const struct
    {
        QWidget* window;
        const char* label;
        const char* picture;
        QSize size;
    } labels[] = {{&splash, "Picture2", "logo", QSize(98, 99)},
                  {&splash, "Picture1", "banner", QSize(235, 27)},
                  {&about, "picIcon", "dalmerin", QSize(48, 48)}};
    for (const auto& shownLabel : labels) {
        const QLabel* label =
            guitest::child<QLabel>(shownLabel.window, QString::fromLatin1(shownLabel.label));
        QVERIFY(label);
        QVERIFY2(picturecomparison::showsFileForItsScale(label->pixmap().toImage(),
                                                         label->devicePixelRatioF(), shownLabel.picture,
                                                         shownLabel.size, why),
                 qPrintable(why));
    }
}

QTEST_MAIN(TestPictures)
#include "TestPictures.moc"
