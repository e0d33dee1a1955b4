// The yardstick of the start-up benchmark: one empty window, nothing else.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Leeres Fenster"));
    window.show();
    return app.exec();
}
