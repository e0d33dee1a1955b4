#pragma once

#include "transfer/gui/TransferController.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <optional>

class AboutWindow;
class MainWindow;
class OpenDialog;
class SaveDialog;
class SetupDialog;
class SplashWindow;
class SupportWindow;
class CheckedTable;

// Owns the program's windows and their lifetimes: the splash window opens the
// main window, the settings dialog replaces it, and the About, support, open
// and save windows exist once each beside it.
class Shell : public QObject
{
    Q_OBJECT

public:
    // `startFolder` is where the open and save dialogs begin: the program's own
    // folder. KORVANT is reached through the platform's connection, or `hosts`.
    explicit Shell(const QString& startFolder);
    Shell(const QString& startFolder, HostFactory hosts);
    ~Shell() override;

    void start();
    MainWindow* showMainWindow();

    void openSetup();
    void openAbout();
    void openSupport();
    void openSaveDialog();
    void openOpenDialog();
    void exitProgram();

    // The table of the main window, or nullptr while there is none.
    CheckedTable* currentTable() const;

    SplashWindow* splash() const;
    MainWindow* mainWindow() const;
    SetupDialog* setupDialog() const;
    AboutWindow* aboutWindow() const;
    SupportWindow* supportWindow() const;
    OpenDialog* openDialog() const;
    SaveDialog* saveDialog() const;

signals:
    // "Beenden": every window is closed; the program should end.
    void exitRequested();

private:
    void closeSetup();

    QString m_startFolder;
    HostFactory m_hosts;
    // The last transfer's report while the settings dialog replaces the main window.
    std::optional<TransferReport> m_lastReport;
    QPointer<SplashWindow> m_splash;
    QPointer<MainWindow> m_main;
    QPointer<SetupDialog> m_setup;
    QPointer<AboutWindow> m_about;
    QPointer<SupportWindow> m_support;
    QPointer<OpenDialog> m_open;
    QPointer<SaveDialog> m_save;
};
