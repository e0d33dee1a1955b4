#include "files/gui/TableFileDialog.h"

#include "base/AppInfo.h"
#include "base/DialogKeys.h"
#include "files/gui/FileChooser.h"
#include "table/gui/CheckedTable.h"

#include <QPushButton>
#include <QScreen>

TableFileDialog::TableFileDialog(const char* objectName, std::function<CheckedTable*()> currentTable,
                                 const QString& startFolder)
    : QWidget(nullptr, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_currentTable(std::move(currentTable))
{
    setObjectName(QString::fromUtf8(objectName));
    setAttribute(Qt::WA_DeleteOnClose);
    // A tool window would not keep the program running; this dialog does, like
    // every other window, after the main window was closed by its frame.
    setAttribute(Qt::WA_QuitOnClose);
    setWindowTitle(QString::fromStdString(appinfo::titleWithVersion()));
    setFixedSize(497, 251);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());

    m_chooser = new FileChooser(startFolder, this);
    m_chooser->setGeometry(0, 0, 408, 251);
    m_ok = addButton("OKButton", "OK", 24);
    if (CheckedTable* table = this->currentTable()) {
        m_changedTable = table;
        m_pathBefore = m_pathWritten = table->document().path();
    }
    connect(m_chooser, &FileChooser::pathChosen, this, [this](const QString& path) {
        if (CheckedTable* table = this->currentTable())
            setTablePath(*table, path);
    });
    connect(m_chooser, &FileChooser::fileOpened, m_ok, &QPushButton::click);
}

CheckedTable* TableFileDialog::currentTable() const
{
    return m_currentTable();
}

FileChooser* TableFileDialog::chooser() const
{
    return m_chooser;
}

QPushButton* TableFileDialog::okButton() const
{
    return m_ok;
}

QPushButton* TableFileDialog::addButton(const char* objectName, const char* caption, int top)
{
    auto* button = new QPushButton(QString::fromUtf8(caption), this);
    button->setObjectName(QString::fromUtf8(objectName));
    button->setGeometry(408, top, 81, 25);
    return button;
}

void TableFileDialog::setFocusOrder(const QList<QWidget*>& moreButtons)
{
    const QList<QWidget*> order = QList<QWidget*>{m_ok} + moreButtons + m_chooser->focusOrder();
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    m_ok->setFocus();
}

// What the table showed before is taken afresh when another command (a save,
// a delete) or another main window (around the settings dialog) came between.
void TableFileDialog::setTablePath(CheckedTable& table, const QString& path)
{
    if (m_changedTable != &table || table.document().path() != m_pathWritten) {
        m_changedTable = &table;
        m_pathBefore = table.document().path();
    }
    table.setPath(path);
    m_pathWritten = path.toStdString();
}

// Only a path this dialog wrote is taken back.
void TableFileDialog::restoreTablePath()
{
    CheckedTable* table = currentTable();
    if (table && table == m_changedTable && table->document().path() == m_pathWritten)
        table->setPath(m_pathBefore);
}

void TableFileDialog::keyPressEvent(QKeyEvent* event)
{
    if (!handleDialogKey(event, this, m_ok, [this] { close(); }))
        QWidget::keyPressEvent(event);
}
