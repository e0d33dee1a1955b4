#include "base/Settings.h"

#include "base/SettingsStore.h"

#include <QFileInfo>

namespace settings {
namespace {

const QString Section = QStringLiteral("Settings");
const QString Default = QStringLiteral("1");

QString pathOf(const QString& key)
{
    return Section + QLatin1Char('/') + key;
}

// QSettings tells only that the write failed; the file, where the store is
// one, tells why.
QString failureReason(const QSettings& store)
{
    const QFileInfo file(store.fileName());
    // The write bit too: root may open a file whose mode denies it.
    if (file.exists() && (!file.isWritable() || !file.permission(QFileDevice::WriteOwner)))
        return QStringLiteral("Die Datei ist schreibgeschützt.");
    // The store is written as a new file beside the old and put in its place:
    // a read-only folder refuses that, whether the file is there or not.
    const QFileInfo folder(file.absolutePath());
    if (folder.exists() && (!folder.isWritable() || !folder.permission(QFileDevice::WriteOwner)))
        return QStringLiteral("Der Ordner ist schreibgeschützt.");
    if (store.status() == QSettings::FormatError)
        return QStringLiteral("Die gespeicherten Einstellungen sind beschädigt.");
    return QStringLiteral("Kein Schreibzugriff, oder der Datenträger ist voll.");
}

} // namespace

QString read(const QString& key)
{
    return openStore()->value(pathOf(key), Default).toString();
}

bool showSplash()
{
    return read(Start) != QLatin1String("0");
}

bool keepExistingTolerances()
{
    return read(OldVal) != QLatin1String("0");
}

QString write(const QString& key, const QString& value)
{
    const std::unique_ptr<QSettings> store = openStore();
    prepareForWriting(*store);
    const QVariant stored = store->value(pathOf(key));
    store->setValue(pathOf(key), value);
    store->sync();
    if (store->status() == QSettings::NoError)
        return {};
    const QString reason = failureReason(*store);
    // QSettings keeps what it could not write in the process's own copy of
    // the store, where every later read would find it: put back what the store holds.
    if (stored.isValid())
        store->setValue(pathOf(key), stored);
    else
        store->remove(pathOf(key));
    return reason;
}

QString place()
{
    return openStore()->fileName();
}

} // namespace settings
