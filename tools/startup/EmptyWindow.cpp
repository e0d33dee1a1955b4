// The yardstick of the start-up benchmarks: the smallest main window, an
// empty one with a menu bar, and nothing else. With "--start-window" it starts
// the way Dalmerin must: an empty frameless start window of the same size is
// shown first, and the first tick of its 1 ms timer shows the main window and
// closes it.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTimer>

#include <cstring>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Leeres Fenster"));
    window.menuBar()->addMenu(QStringLiteral("&Datei"));
    if (argc > 1 && std::strcmp(argv[1], "--start-window") == 0) {
        auto* start = new QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint);
        start->setAttribute(Qt::WA_DeleteOnClose);
        start->setFixedSize(492, 288); // 7380 × 4320 twips at 96 DPI
        QTimer::singleShot(1, start, [&window, start] {
            window.show();
            start->close();
        });
        start->show();
    } else {
        window.show();
    }
    return app.exec();
}
