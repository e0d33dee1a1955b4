// Where Dalmerin's start-up time goes: the program's own start steps, one
// after the other, each timed from the one before. Prints one line per phase
// in milliseconds. Run through the start-up benchmarks, with "Start" = "0".
#include "app/GermanQtTexts.h"
#include "app/MainWindow.h"
#include "app/Shell.h"
#include "app/SplashWindow.h"
#include "resources/Pictures.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFontDatabase>
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
    app.setWindowIcon(pictures::icon("dalmerin"));
    phase("Programmsymbol");
    // The shell's own start, step by step, as in the program: the start
    // window's tick shows the main window; with "Start" = "0" the tick comes
    // while the start window is still being shown.
    Shell shell(QCoreApplication::applicationDirPath());
    auto* splash = new SplashWindow; // closes and deletes itself at its tick
    phase("Startfenster aufgebaut");
    MainWindow* main = nullptr;
    QObject::connect(splash, &SplashWindow::finished, [&] {
        phase("Startfenster gezeigt bis zum Takt");
        main = shell.showMainWindow();
        phase("Hauptfenster aufgebaut und gezeigt");
    });
    splash->show();
    while (!main)
        app.processEvents(QEventLoop::WaitForMoreEvents);
    phase("Startfenster geschlossen");
    while (!main->windowHandle()->isExposed())
        app.processEvents(QEventLoop::WaitForMoreEvents);
    app.processEvents();
    phase("Hauptfenster gezeichnet");
    std::fflush(stdout);
    return 0;
}
