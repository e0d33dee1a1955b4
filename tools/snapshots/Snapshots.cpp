// Writes a PNG of each window, of the three menus and of an edit box's context
// menu into the folder given as the argument, so that they can be looked at
// without a display.
#include "app/GermanQtTexts.h"
#include "app/InfoWindow.h"
#include "app/MainWindow.h"
#include "app/SetupDialog.h"
#include "app/Shell.h"
#include "app/SplashWindow.h"
#include "files/gui/ReleaseDialog.h"
#include "files/gui/TableFileIo.h"
#include "table/gui/CheckedTable.h"
#include "table/gui/ToleranceTable.h"
#include "transfer/gui/ReportWindow.h"
#include "transfer/gui/TransferController.h"

#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTextStream>

namespace {

bool save(QWidget* window, const QDir& folder, const QString& name)
{
    window->show();
    QApplication::processEvents();
    const QString path = folder.filePath(name + QStringLiteral(".png"));
    const bool saved = window->grab().save(path);
    QTextStream(stdout) << (saved ? "" : "FEHLER ") << path << "\n";
    return saved;
}

// A small table as a user would have it.
void fillExampleTable(CheckedTable& table)
{
    const QStringList upper = {"3", "6", "30", "120", "400", "1000", "2000", "4000"};
    const QStringList tolerance = {"0,1", "0,1", "0,2", "0,3", "0,5", "0,8", "1,2", "2"};
    QStringList values(cells::ValueCount);
    using cells::Column;
    for (int row = 0; row < upper.size(); ++row) {
        const int range = row + 1;
        if (range > 1)
            values[int(cells::valueIndex({Column::Lower, range}))] = upper[row - 1];
        values[int(cells::valueIndex({Column::Upper, range}))] = upper[row];
        values[int(cells::valueIndex({Column::Plus, range}))] = tolerance[row];
        values[int(cells::valueIndex({Column::Minus, range}))] = tolerance[row];
    }
    table.showFileValues(values);
    table.setPath(QStringLiteral("/opt/dalmerin/ISO 2768-m.tabelle"));
}

// With a KORVANT on the bus: ISO 2768-m transferred into its part program, and the report window after it.
bool saveReport(MainWindow& main, const QDir& folder)
{
    // As a German user sees it, with the table where the package installs it.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const tablefileio::LoadResult table =
        tablefileio::loadTable(QStringLiteral(DALMERIN_TABLES_DIR "/ISO 2768-m.tabelle"));
    main.table().leaveEditMode({});
    main.table().showFileValues(table.values);
    main.table().setPath(QStringLiteral("/opt/dalmerin/ISO 2768-m.tabelle"));
    main.transfer().run();
    if (!main.transfer().lastReport()) {
        QTextStream(stdout) << "kein Bericht: KORVANT läuft nicht\n";
        return true;
    }
    main.transfer().showLastReport();
    return save(main.transfer().reportWindow(), folder, QStringLiteral("report"));
}

// "Freigeben…" for the table shown, filled in as a quality lead would.
bool saveRelease(MainWindow& main, const QDir& folder)
{
    const CheckedTable& table = main.table();
    auto* window = new ReleaseDialog(main.table(), shownPath(table.document()),
                                     table.fingerprint().value_or(std::string()), &main);
    const std::pair<const char*, const char*> fields[] = {{"Stand", "3"},
                                                          {"Grundlage", "ISO 2768-1:1989 m"},
                                                          {"FreigegebenVon", "M. Muster"},
                                                          {"Bemerkung", "Erstfreigabe"}};
    for (const auto& [name, text] : fields)
        window->findChild<QLineEdit*>(QString::fromLatin1(name))->setText(QString::fromUtf8(text));
    const bool saved = save(window, folder, QStringLiteral("release"));
    window->close();
    return saved;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    loadGermanQtTexts();
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    if (!folder.exists() && !QDir().mkpath(folder.path()))
        return 1;

    Shell shell(QCoreApplication::applicationDirPath());
    bool ok = true;
    shell.start();
    ok &= save(shell.splash(), folder, QStringLiteral("splash"));

    MainWindow* main = shell.showMainWindow();
    fillExampleTable(main->table());
    ok &= save(main, folder, QStringLiteral("main-display"));
    // The menus, to look at the captions and the German shortcut texts.
    const QList<QAction*> menus = main->menuBar()->actions();
    for (int i = 0; i < menus.size(); ++i) {
        QMenu* menu = menus[i]->menu();
        menu->popup(main->mapToGlobal(main->menuBar()->actionGeometry(menus[i]).bottomLeft()));
        ok &= save(menu, folder, QStringLiteral("menu-%1").arg(i + 1));
        menu->hide();
    }
    main->table().editShown();
    ok &= save(main, folder, QStringLiteral("main-edit"));
    QMenu* boxMenu = main->tableView().box({cells::Column::Plus, 1})->createStandardContextMenu();
    ok &= save(boxMenu, folder, QStringLiteral("edit-box-menu"));
    delete boxMenu;

    ok &= saveReport(*main, folder);
    ok &= saveRelease(*main, folder);

    ok &= save(new SetupDialog, folder, QStringLiteral("settings"));
    shell.openAbout();
    ok &= save(shell.aboutWindow(), folder, QStringLiteral("about"));
    shell.openSupport();
    ok &= save(shell.supportWindow(), folder, QStringLiteral("support"));
    return ok ? 0 : 1;
}
