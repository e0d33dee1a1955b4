// Where Dalmerin's start-up time goes: the program's own start steps, one
// after the other, each timed from the one before. Prints one line per phase
// in milliseconds. Run through the start-up benchmarks, with "Start" = "0".
#include "app/GermanQtTexts.h"
#include "app/MainWindow.h"
#include "app/Shell.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QIcon>
#include <QWindow>

#include <cstdio>

int main(int argc, char* argv[])
{
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    const auto phase = [&](const char* name) {
        const qint64 now = clock.nsecsElapsed();
        std::printf("%-40s %8.1f\n", name, (now - last) / 1e6);
        last = now;
    };
    QApplication app(argc, argv);
    phase("QApplication (Plattform, Plugins)");
    QFontDatabase::families();
    phase("Schriftendatenbank");
    loadGermanQtTexts();
    phase("Qt-Texte (Übersetzung)");
    app.setWindowIcon(QIcon(QStringLiteral(":/pictures/dalmerin.png")));
    phase("Programmsymbol");
    Shell shell(QCoreApplication::applicationDirPath());
    shell.start();
    phase("Startfenster gezeigt");
    while (!shell.mainWindow() || !shell.mainWindow()->windowHandle() ||
           !shell.mainWindow()->windowHandle()->isExposed())
        app.processEvents(QEventLoop::WaitForMoreEvents);
    phase("Hauptfenster aufgebaut und gezeigt");
    std::fflush(stdout);
    return 0;
}
