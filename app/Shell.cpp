#include "app/Shell.h"

#include "app/InfoWindow.h"
#include "app/MainWindow.h"
#include "app/ReadableToolTips.h"
#include "files/gui/OpenDialog.h"
#include "files/gui/SaveDialog.h"
#include "app/SetupDialog.h"
#include "app/SplashWindow.h"
#include "table/gui/CheckedTable.h"
#include "transfer/gui/TransferController.h"
#include "transfer/host/PlatformHost.h"

#include <QApplication>
#include <QWidget>

#include <utility>

namespace {

// Every window the program opens comes to the front and takes the keyboard
// (a tool window would otherwise be shown without it on Windows); a minimised
// one comes back from the task bar as it was.
void present(QWidget* window)
{
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

// Shows the one instance of a window, creating it first when it is not open.
template <typename Window, typename Create> void showSingle(QPointer<Window>& window, Create create)
{
    if (!window)
        window = create();
    present(window);
}

} // namespace

Shell::Shell(const QString& startFolder) : Shell(startFolder, createPlatformHost) {}

Shell::Shell(const QString& startFolder, HostFactory hosts)
    : m_startFolder(startFolder), m_hosts(std::move(hosts))
{
    qApp->installEventFilter(new ReadableToolTips(this));
}

Shell::~Shell()
{
    for (QWidget* window :
         std::initializer_list<QWidget*>{m_splash, m_main, m_setup, m_about, m_support, m_open, m_save})
        delete window;
}

void Shell::start()
{
    m_splash = new SplashWindow;
    connect(m_splash, &SplashWindow::finished, this, &Shell::showMainWindow);
    m_splash->show();
}

MainWindow* Shell::showMainWindow()
{
    m_main = new MainWindow(m_hosts);
    m_main->transfer().setLastReport(std::exchange(m_lastReport, std::nullopt));
    connect(m_main, &MainWindow::setupRequested, this, &Shell::openSetup);
    connect(m_main, &MainWindow::aboutRequested, this, &Shell::openAbout);
    connect(m_main, &MainWindow::supportRequested, this, &Shell::openSupport);
    connect(m_main, &MainWindow::saveRequested, this, &Shell::openSaveDialog);
    connect(m_main, &MainWindow::openRequested, this, &Shell::openOpenDialog);
    connect(m_main, &MainWindow::exitRequested, this, &Shell::exitProgram);
    present(m_main);
    return m_main;
}

void Shell::openSetup()
{
    // The settings dialog is shown before the main window goes, so that the
    // program never has no window open and quits.
    m_setup = new SetupDialog;
    connect(m_setup, &SetupDialog::done, this, &Shell::closeSetup);
    present(m_setup);
    if (m_main) {
        m_lastReport = m_main->transfer().lastReport();
        m_main->close();
    }
}

void Shell::closeSetup()
{
    showMainWindow();
    if (m_setup)
        m_setup->close();
}

void Shell::openAbout()
{
    showSingle(m_about, [] { return new AboutWindow; });
}

void Shell::openSupport()
{
    showSingle(m_support, [] { return new SupportWindow; });
}

// Choosing "Speichern" while the save dialog is open changes nothing, not
// even which window is in front.
void Shell::openSaveDialog()
{
    if (m_save)
        return;
    m_save = new SaveDialog([this] { return currentTable(); }, m_startFolder);
    present(m_save);
}

void Shell::openOpenDialog()
{
    showSingle(m_open, [this] { return new OpenDialog([this] { return currentTable(); }, m_startFolder); });
}

void Shell::exitProgram()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        window->close();
    emit exitRequested();
}

CheckedTable* Shell::currentTable() const
{
    return m_main ? &m_main->table() : nullptr;
}

SplashWindow* Shell::splash() const
{
    return m_splash;
}

MainWindow* Shell::mainWindow() const
{
    return m_main;
}

SetupDialog* Shell::setupDialog() const
{
    return m_setup;
}

AboutWindow* Shell::aboutWindow() const
{
    return m_about;
}

SupportWindow* Shell::supportWindow() const
{
    return m_support;
}

OpenDialog* Shell::openDialog() const
{
    return m_open;
}

SaveDialog* Shell::saveDialog() const
{
    return m_save;
}
