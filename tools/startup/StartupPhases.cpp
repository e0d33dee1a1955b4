// Where Dalmerin's start-up time goes: the program's own start steps, one
// after the other, each timed from the one before. Prints one line per phase
// in milliseconds. Run through the start-up benchmarks, with "Start" = "0".
#include "app/GermanQtTexts.h"
#include "app/MainWindow.h"
#include "app/Shell.h"
#include "app/SplashWindow.h"

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
    // The shell's own start, step by step: the start window, then the main
    // window that its timer's first tick would show.
    Shell shell(QCoreApplication::applicationDirPath());
    auto* splash = new SplashWindow; // closes and deletes itself at its first tick
    phase("Startfenster aufgebaut");
    splash->show();
    phase("Startfenster gezeigt");
    MainWindow* main = shell.showMainWindow();
    phase("Hauptfenster aufgebaut und gezeigt");
    while (!main->windowHandle()->isExposed())
        app.processEvents(QEventLoop::WaitForMoreEvents);
    app.processEvents();
    phase("Hauptfenster gezeichnet");
    std::fflush(stdout);
    return 0;
}
