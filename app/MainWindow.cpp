#include "app/MainWindow.h"

#include "base/AppInfo.h"
#include "base/MessageBox.h"
#include "base/Twips.h"
#include "files/gui/DeleteTable.h"
#include "files/gui/ReleaseDialog.h"
#include "resources/Pictures.h"
#include "table/gui/TableCheckWindow.h"
#include "table/gui/TableCommands.h"
#include "table/gui/CheckedTable.h"
#include "table/gui/ToleranceTable.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QToolBar>

// The layout is fixed, so is the window: no maximise button, no frame to drag.
MainWindow::MainWindow(HostFactory hosts)
    : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                               Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_table(new CheckedTable(this)), m_view(new ToleranceTable(*m_table, this)),
      m_transfer(new TransferController(*m_table, this, std::move(hosts)))
{
    setObjectName(QStringLiteral("Tabelle"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(pictures::icon("dalmerin"));
    setCentralWidget(m_view);
    createMenus();
    createToolbar();

    // Menu shortcuts win over the edit boxes' own keys (Ctrl+A, Ctrl+E, Ctrl+D …).
    for (QLineEdit* box : m_view->findChildren<QLineEdit*>())
        box->installEventFilter(this);

    setWindowTitle(QString::fromStdString(appinfo::titleWithVersion()));
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void MainWindow::createMenus()
{
    struct Item
    {
        const char* name;
        const char* caption; // nullptr: a separator
        QKeySequence shortcut;
        void (MainWindow::*handler)();
    };
    struct Menu
    {
        const char* name;
        const char* caption;
        std::vector<Item> items;
    };
    const Menu menus[] = {
        {"Menü_1",
         "&Datei",
         {{"Setup", "Setup", QKeySequence(Qt::Key_F5), &MainWindow::openSetup},
          {"Linie5", nullptr, {}, nullptr},
          {"START", "Ausführen", QKeySequence(Qt::CTRL | Qt::Key_Q), &MainWindow::runTransfer},
          {"Vorschau", "Vorschau…", QKeySequence(Qt::Key_F6), &MainWindow::previewTransfer},
          {"Bericht", "Letzte Übertragung…", QKeySequence(Qt::Key_F7), &MainWindow::showLastTransfer},
          {"Linie7", nullptr, {}, nullptr},
          {"Exit", "Beenden", QKeySequence(Qt::CTRL | Qt::Key_B), &MainWindow::exitProgram}}},
        {"Tabelle",
         "&Tabelle",
         {{"Tab_Edit", "Bearbeiten", QKeySequence(Qt::CTRL | Qt::Key_E), &MainWindow::editTable},
          {"Tab_Neu_M", "Neu erstellen", QKeySequence(Qt::CTRL | Qt::Key_N), &MainWindow::newTable},
          {"Tab_SAVE_M", "Speichern", QKeySequence(Qt::CTRL | Qt::Key_S), &MainWindow::saveTable},
          {"Tab_DEL_M", "Löschen", QKeySequence(Qt::CTRL | Qt::Key_D), &MainWindow::deleteTable},
          {"Linie1", nullptr, {}, nullptr},
          {"Select", "Auswählen", QKeySequence(Qt::CTRL | Qt::Key_A), &MainWindow::chooseTable},
          {"Pruefen", "Prüfen…", QKeySequence(Qt::Key_F8), &MainWindow::checkTable},
          {"Freigeben", "&Freigeben…", {}, &MainWindow::releaseTable}}},
        {"Menü_2",
         "&Hilfe",
         {{"SERVICE", "Software Service", {}, &MainWindow::supportRequested},
          {"Linie1_Hilfe", nullptr, {}, nullptr},
          {"Info", "Info (Dalmerin)", {}, &MainWindow::aboutRequested}}},
    };

    for (const Menu& menuItems : menus) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(menuItems.caption));
        menu->setObjectName(QString::fromUtf8(menuItems.name));
        for (const Item& item : menuItems.items) {
            QAction* action =
                item.caption ? menu->addAction(QString::fromUtf8(item.caption)) : menu->addSeparator();
            action->setObjectName(QString::fromUtf8(item.name));
            action->setShortcut(item.shortcut);
            if (item.handler)
                connect(action, &QAction::triggered, this, item.handler);
        }
    }
}

void MainWindow::createToolbar()
{
    struct Button
    {
        const char* key; // the button's identifier; nothing reads it
        const char* picture;
        const char* toolTip;
        void (MainWindow::*handler)();
    };
    // Index 1 to 8; the entries without a picture are separators.
    const Button buttons[] = {
        {"Ausführen", "tool1-run", "Ausführen", &MainWindow::runTransfer},
        {nullptr, nullptr, nullptr, nullptr},
        {"Öffnen", "tool2-open", "Öffnen einer Tabelle", &MainWindow::chooseTable},
        {nullptr, nullptr, nullptr, nullptr},
        {"Bearbeiten", "tool3-edit", "Tabelle bearbeiten", &MainWindow::editTable},
        {"Neu", "tool4-new", "Tabelle neu erstellen", &MainWindow::newTable},
        {"Save", "tool5-save", "Tabelle speichern", &MainWindow::saveTable},
        {"Delete", "tool6-delete", "Tabelle löschen", &MainWindow::deleteTable},
    };

    m_toolbar = addToolBar(QString());
    m_toolbar->setObjectName(QStringLiteral("Toolbar1"));
    m_toolbar->setMovable(false);
    m_toolbar->setFloatable(false);
    m_toolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_toolbar->setIconSize(QSize(24, 22));
    m_toolbar->setFixedHeight(twips::toPixels(twips::ToolbarHeight));
    m_toolbar->setContextMenuPolicy(Qt::PreventContextMenu);
    m_toolbar->toggleViewAction()->setVisible(false);

    int index = 1;
    for (const Button& button : buttons) {
        QAction* action = nullptr;
        if (button.picture) {
            action = m_toolbar->addAction(pictures::icon(button.picture), QString());
            action->setToolTip(QString::fromUtf8(button.toolTip));
            m_toolbar->widgetForAction(action)->setAccessibleName(QString::fromUtf8(button.toolTip));
            action->setData(QString::fromUtf8(button.key));
            connect(action, &QAction::triggered, this, button.handler);
        } else {
            action = m_toolbar->addSeparator();
        }
        action->setObjectName(QStringLiteral("Toolbar1_%1").arg(index));
        ++index;
    }
}

void MainWindow::toolbarButtonClicked(int index)
{
    // Each button's action carries its command; a separator's carries none.
    if (QAction* action = m_toolbar->findChild<QAction*>(QStringLiteral("Toolbar1_%1").arg(index)))
        action->trigger();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QKeySequence pressed(key->keyCombination());
        for (const QAction* action : findChildren<QAction*>())
            if (!action->shortcut().isEmpty() && action->shortcut() == pressed)
                return true; // not overridden: the menu shortcut fires
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::runTransfer()
{
    m_transfer->run();
}

void MainWindow::previewTransfer()
{
    m_transfer->preview();
}

void MainWindow::showLastTransfer()
{
    m_transfer->showLastReport();
}

// A long transfer repaints its progress while it runs; a close request from the
// window frame arriving then must not take the table away under it. In edit
// mode the frame's close button asks as "Beenden" does; "Nein" ends the program.
void MainWindow::closeEvent(QCloseEvent* event)
{
    if (m_transfer->isRunning() || (!m_leaving && savedFirst())) {
        event->ignore();
        return;
    }
    if (!m_leaving && m_table->document().isEditing()) {
        m_leaving = true;
        emit exitRequested();
    }
    QMainWindow::closeEvent(event);
}

// In edit mode asks whether to save the typed values; on "Ja" opens the save
// dialog and returns true: the command that asked does not go on.
bool MainWindow::savedFirst()
{
    if (!m_table->document().isEditing())
        return false;
    const auto answer =
        MessageBox::show(this, QStringLiteral("Wollen Sie die aktuellen Tabellenwerte speichern ?"),
                         MessageBox::Buttons::YesNo);
    if (answer != MessageBox::Answer::Yes)
        return false;
    saveTable();
    return true;
}

void MainWindow::openSetup()
{
    if (savedFirst())
        return;
    m_leaving = true;
    emit setupRequested();
}

void MainWindow::exitProgram()
{
    if (savedFirst())
        return;
    m_leaving = true;
    emit exitRequested();
}

void MainWindow::editTable()
{
    editShownTable(*m_table, this);
}

void MainWindow::newTable()
{
    startNewTable(*m_table);
}

void MainWindow::saveTable()
{
    emit saveRequested();
}

void MainWindow::deleteTable()
{
    deleteCurrentTable(*m_table, this);
}

// Lists what the check finds in the table as it stands, shown or being edited.
void MainWindow::checkTable()
{
    auto* window = new TableCheckWindow(*m_table, this);
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
}

void MainWindow::releaseTable()
{
    releaseCurrentTable(*m_table, this);
}

void MainWindow::chooseTable()
{
    if (m_table->document().isEditing())
        MessageBox::show(this, QString::fromUtf8(cells::SaveFirst));
    else
        emit openRequested();
}
