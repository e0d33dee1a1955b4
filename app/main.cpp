#include "app/GermanQtTexts.h"
#include "app/RunningMark.h"
#include "app/Shell.h"
#include "resources/Pictures.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    const RunningMark running;
    QApplication app(argc, argv);
    loadGermanQtTexts();
    app.setWindowIcon(pictures::icon("dalmerin"));
    Shell shell(QCoreApplication::applicationDirPath());
    QObject::connect(&shell, &Shell::exitRequested, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    shell.start();
    return app.exec();
}
