#include "app/GermanQtTexts.h"
#include "app/Shell.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    loadGermanQtTexts();
    app.setWindowIcon(QIcon(QStringLiteral(":/pictures/dalmerin.png")));
    Shell shell(QCoreApplication::applicationDirPath());
    QObject::connect(&shell, &Shell::exitRequested, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    shell.start();
    return app.exec();
}
