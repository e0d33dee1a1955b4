#include "files/gui/FileChooser.h"

#include "files/core/TableFile.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <QStorageInfo>

#include <algorithm>

namespace {

constexpr int PathRole = Qt::UserRole;

QLabel* addLabel(QWidget* parent, const char* objectName, const char* text, const QRect& geometry)
{
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setObjectName(QString::fromUtf8(objectName));
    label->setGeometry(geometry);
    return label;
}

template <typename Widget> Widget* addControl(QWidget* parent, const char* objectName, const QRect& geometry)
{
    auto* widget = new Widget(parent);
    widget->setObjectName(QString::fromUtf8(objectName));
    widget->setGeometry(geometry);
    return widget;
}

QString nativeFolder(const QString& folder)
{
    return QDir::toNativeSeparators(folder);
}

QStringList driveRoots()
{
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady() && QFileInfo(volume.rootPath()).isDir())
            roots.append(volume.rootPath());
    }
    roots.sort(Qt::CaseInsensitive);
    roots.removeDuplicates();
    return roots;
}

} // namespace

FileChooser::FileChooser(const QString& startFolder, QWidget* parent) : QWidget(parent)
{
    addLabel(this, "Label1", "Tabellenname", QRect(8, 8, 113, 17));
    m_name = addControl<QLineEdit>(this, "Text1", QRect(8, 24, 193, 19));
    m_name->setText(QString::fromUtf8(tablefile::NamePattern));
    m_files = addControl<QListWidget>(this, "File1", QRect(8, 48, 193, 149));
    addLabel(this, "Label4", "Dateityp", QRect(8, 208, 137, 17));
    QLabel* fileType = addLabel(this, "Label5", tablefile::NamePattern, QRect(8, 224, 193, 17));
    fileType->setFrameStyle(QFrame::Box | QFrame::Plain);
    fileType->setLineWidth(1);
    addLabel(this, "Label2", "Verzeichnisse", QRect(208, 8, 113, 17));
    m_folderBox = addControl<QLineEdit>(this, "Text2", QRect(208, 24, 193, 19));
    // Shows the start folder only; nothing reads it.
    m_folderBox->setReadOnly(true);
    m_directories = addControl<QListWidget>(this, "Dir1", QRect(208, 48, 193, 156));
    addLabel(this, "Label3", "Laufwerke", QRect(208, 208, 113, 17));
    m_drives = addControl<QComboBox>(this, "Drive1", QRect(208, 224, 193, 21));

    // What a screen reader says for each field: the heading it stands under.
    m_name->setAccessibleName(QStringLiteral("Tabellenname"));
    m_files->setAccessibleName(QStringLiteral("Tabellen im Verzeichnis"));
    m_folderBox->setAccessibleName(QStringLiteral("Startverzeichnis"));
    m_directories->setAccessibleName(QStringLiteral("Verzeichnisse"));
    m_drives->setAccessibleName(QStringLiteral("Laufwerke"));

    // A start folder that is gone or cannot be read gives way to the user's home folder.
    if (!openFolder(QDir(startFolder).absolutePath()) && !openFolder(QDir::homePath()))
        openFolder(QDir::rootPath());
    m_folderBox->setText(folder());
    fillDrives(QStorageInfo(m_folder).rootPath());

    connect(m_drives, &QComboBox::currentIndexChanged, this, &FileChooser::onDriveChanged);
    connect(m_directories, &QListWidget::itemActivated, this, &FileChooser::onDirectoryActivated);
    // A click, also on the file already chosen, or a move with the arrow keys;
    // never the focus alone (see refreshFiles).
    connect(m_files, &QListWidget::itemClicked, this, &FileChooser::onFileClicked);
    connect(m_files, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (item)
            onFileClicked(item);
    });
    connect(m_files, &QListWidget::itemDoubleClicked, this, &FileChooser::openFile);
    connect(m_name, &QLineEdit::textChanged, this,
            [this](const QString& text) { emit pathChosen(pathFor(text)); });
}

QString FileChooser::folder() const
{
    return nativeFolder(m_folder);
}

QString FileChooser::pathFor(const QString& name) const
{
    return QString::fromStdString(
        tablefile::joinPath(folder().toStdString(), name.toStdString(), QDir::separator().toLatin1()));
}

QString FileChooser::name() const
{
    return m_name->text();
}

QList<QWidget*> FileChooser::focusOrder() const
{
    return {m_drives, m_directories, m_files, m_name, m_folderBox};
}

void FileChooser::fillDrives(const QString& currentRoot)
{
    QStringList roots = driveRoots();
    if (!roots.contains(currentRoot))
        roots.append(currentRoot);
    const QSignalBlocker blocker(m_drives);
    for (const QString& root : roots)
        m_drives->addItem(nativeFolder(root), root);
    m_drives->setCurrentIndex(m_drives->findData(currentRoot));
}

// A drive that cannot be read keeps the previous drive and folder.
void FileChooser::onDriveChanged(int index)
{
    if (index >= 0 && openFolder(m_drives->itemData(index).toString()))
        return;
    const QSignalBlocker blocker(m_drives);
    m_drives->setCurrentIndex(m_drives->findData(QStorageInfo(m_folder).rootPath()));
}

void FileChooser::onDirectoryActivated(QListWidgetItem* item)
{
    openFolder(item->data(PathRole).toString());
}

// The lists pass Enter on after their own use of it: the directory list has
// opened the folder, and in the file list Enter takes the current file.
void FileChooser::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && focusWidget() == m_directories)
        return;
    if (enter && focusWidget() == m_files && m_files->currentItem()) {
        openFile(m_files->currentItem());
        return;
    }
    QWidget::keyPressEvent(event);
}

void FileChooser::openFile(QListWidgetItem* item)
{
    onFileClicked(item);
    emit fileOpened();
}

void FileChooser::onFileClicked(QListWidgetItem* item)
{
    m_name->setText(item->text());
    emit pathChosen(pathFor(item->text()));
}

bool FileChooser::openFolder(const QString& folder)
{
    const QFileInfo info(folder);
    if (!info.isDir() || !info.isReadable())
        return false;
    m_folder = info.absoluteFilePath();
    refreshDirectories();
    refreshFiles();
    return true;
}

void FileChooser::refreshDirectories()
{
    QStringList ancestors; // from the root down to the folder itself
    QDir dir(m_folder);
    do {
        ancestors.prepend(dir.absolutePath());
    } while (dir.cdUp());

    m_directories->clear();
    auto addItem = [this](const QString& path, const QString& caption, int depth) {
        auto* item = new QListWidgetItem(QString(2 * depth, QLatin1Char(' ')) + caption, m_directories);
        item->setData(PathRole, path);
        return item;
    };
    for (int depth = 0; depth < ancestors.size(); ++depth) {
        const QString& path = ancestors[depth];
        const QString caption = depth == 0 ? nativeFolder(path) : QFileInfo(path).fileName();
        m_directories->setCurrentItem(addItem(path, caption, depth));
    }
    const QDir current(m_folder);
    const QStringList subfolders =
        current.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& subfolder : subfolders)
        addItem(current.filePath(subfolder), subfolder, int(ancestors.size()));
}

void FileChooser::refreshFiles()
{
    m_files->clear();
    // Hidden too: a table saved under the empty name is ".tabelle".
    const QStringList names =
        QDir(m_folder).entryList({QString::fromUtf8(tablefile::NamePattern)}, QDir::Files | QDir::Hidden,
                                 QDir::Name | QDir::IgnoreCase);
    m_files->addItems(names);
    // With no current file set, the list would make its first file current
    // when Tab brings the focus in, and that would choose it. So the first
    // arrow key, not the focus, chooses the first file.
    m_files->setCurrentIndex(QModelIndex());
}
