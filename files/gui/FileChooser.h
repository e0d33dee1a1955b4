#pragma once

#include <QList>
#include <QString>
#include <QWidget>

class QComboBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;

// The left two columns of both file dialogs: the name box `Text1`, the file
// list `File1` ("*.tabelle"), the directory box `Text2`, the directory list
// `Dir1` (ancestors and subfolders; a double click opens one) and the drive
// list `Drive1` (drives on Windows, mounted volumes' root folders elsewhere).
class FileChooser : public QWidget
{
    Q_OBJECT

public:
    FileChooser(const QString& startFolder, QWidget* parent);

    // The directory list's folder, with the system's separators.
    QString folder() const;
    // The folder, one separator, and the name: a root folder gives a doubled separator.
    QString pathFor(const QString& name) const;
    QString name() const;

    // Drive1, Dir1, File1, Text1, Text2: the order Tab goes through them.
    QList<QWidget*> focusOrder() const;

signals:
    // The name box changed (typing or a click on a file): the path it names.
    void pathChosen(const QString& path);
    // A double click on a file, or Enter in the file list: the file is chosen
    // as by a click, and the dialog is to take it at once.
    void fileOpened();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fillDrives(const QString& currentRoot);
    void onDriveChanged(int index);
    void onDirectoryActivated(QListWidgetItem* item);
    void onFileClicked(QListWidgetItem* item);
    void openFile(QListWidgetItem* item);
    // Shows this folder in the directory and file lists; false when it cannot be read.
    bool openFolder(const QString& folder);
    void refreshDirectories();
    void refreshFiles();

    QString m_folder; // with "/" separators
    QLineEdit* m_name = nullptr;
    QListWidget* m_files = nullptr;
    QLineEdit* m_folderBox = nullptr;
    QListWidget* m_directories = nullptr;
    QComboBox* m_drives = nullptr;
};
