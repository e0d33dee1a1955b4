// The yardstick of the start-up benchmarks: the smallest main window, an
// empty one with a menu bar, and nothing else.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Leeres Fenster"));
    window.menuBar()->addMenu(QStringLiteral("&Datei"));
    window.show();
    return app.exec();
}
