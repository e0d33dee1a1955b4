#pragma once

// Shared by the file dialog tests: a main window `Tabelle` holding the
// tolerance table, a fresh folder per test, files written and read as bytes,
// and the dialogs' controls driven like a user would.
#include "tests/support/MessageRecorder.h"
#include "tests/support/GuiTestSupport.h"
#include "base/MessageBox.h"
#include "files/core/TableFile.h"
#include "table/gui/CheckedTable.h"
#include "table/gui/ToleranceTable.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>

#include <memory>


namespace filetest {

// The main window as the dialogs see it: a window named `Tabelle` with the table inside.
struct MainWindowStandIn
{
    QWidget window;
    CheckedTable* table = nullptr;
    ToleranceTable* view = nullptr;

    MainWindowStandIn()
    {
        window.setObjectName(QStringLiteral("Tabelle"));
        table = new CheckedTable(&window);
        view = new ToleranceTable(*table, &window);
        window.show();
    }
};

// What every file dialog test starts from: a clean settings store, a fresh
// folder and a main window; at the end no expected message may be left
// unshown and the dialog under test is gone.
class FileDialogFixture
{
protected:
    void startTest()
    {
        m_settings = std::make_unique<QTemporaryDir>();
        guitest::startClean(*m_settings);
        messages::clearRecord();
        m_folder = std::make_unique<QTemporaryDir>();
        m_main = std::make_unique<MainWindowStandIn>();
        m_table = m_main->table;
    }

    void endTest(const QString& dialogName)
    {
        QVERIFY2(!messages::hasPendingAnswers(), "a message that was expected was not shown");
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->objectName() == dialogName)
                delete window;
        m_main.reset();
    }

    QString inFolder(const QString& name) const { return m_folder->path() + QLatin1Char('/') + name; }
    CheckedTable& table() { return *m_main->table; }
    ToleranceTable& view() { return *m_main->view; }

    std::unique_ptr<QTemporaryDir> m_settings;
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<MainWindowStandIn> m_main;
    CheckedTable* m_table = nullptr; // what the dialog is given: nullptr while no main window exists
};

// 71 different texts, in value order.
inline QStringList sampleValues(const QString& tag = QStringLiteral("v"))
{
    QStringList values;
    for (int i = 1; i <= tablefile::ValueCount; ++i)
        values << QStringLiteral("%1%2,5").arg(tag).arg(i);
    return values;
}

inline QStringList editableCaptions(const ToleranceTable& view)
{
    return view.labelCaptions().mid(1);
}

// "Neu erstellen" and typing the values into the boxes.
inline void enterTable(ToleranceTable& view, const QStringList& values)
{
    view.table().startNew();
    for (int i = 0; i < tablefile::ValueCount; ++i)
        view.box(cells::valueOrder()[i])->setText(values[i]);
}

inline QByteArray encoded(const QStringList& values)
{
    std::array<std::string, tablefile::ValueCount> texts;
    for (int i = 0; i < tablefile::ValueCount; ++i)
        texts[i] = values[i].toStdString();
    const std::string bytes = tablefile::encodeTable(texts);
    return QByteArray(bytes.data(), qsizetype(bytes.size()));
}

inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

// True once the dialog closed itself (it deletes itself on close).
inline bool isClosed(const QPointer<QWidget>& dialog)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return dialog.isNull();
}

inline void typeName(QWidget* dialog, const QString& text)
{
    auto* box = guitest::child<QLineEdit>(dialog, QStringLiteral("Text1"));
    box->clear();
    QTest::keyClicks(box, text);
}

// A click, or with `twice` a double click, on that file in the file list.
inline bool clickFile(QWidget* dialog, const QString& name, bool twice = false)
{
    auto* list = guitest::child<QListWidget>(dialog, QStringLiteral("File1"));
    const QList<QListWidgetItem*> items = list->findItems(name, Qt::MatchExactly);
    if (items.isEmpty())
        return false;
    const QPoint at = list->visualItemRect(items.first()).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    if (twice)
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    return true;
}

inline void click(QWidget* dialog, const char* button)
{
    QTest::mouseClick(guitest::child<QPushButton>(dialog, QString::fromUtf8(button)), Qt::LeftButton);
}

inline QStringList fileNames(QWidget* dialog)
{
    auto* list = guitest::child<QListWidget>(dialog, QStringLiteral("File1"));
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names << list->item(i)->text();
    return names;
}

} // namespace filetest
