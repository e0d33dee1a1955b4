#include "base/SettingsStore.h"

#include <QFile>
#include <QSaveFile>

namespace settings {

// ~/.config/KORVANT_Dalmerin.conf, or the folder QSettings::setPath names.
std::unique_ptr<QSettings> openStore()
{
    auto store = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                             QStringLiteral("KORVANT_Dalmerin"));
    store->setFallbacksEnabled(false);
    return store;
}

// Qt reads a file that begins with a UTF-8 byte-order mark, as an editor may
// save it, but a write to it reports the file as malformed although it went
// through: the mark is dropped from the file first.
void prepareForWriting(const QSettings& store)
{
    QFile file(store.fileName());
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.readAll();
    file.close();
    if (!bytes.startsWith("\xEF\xBB\xBF"))
        return;
    QSaveFile without(store.fileName());
    if (without.open(QIODevice::WriteOnly) && without.write(bytes.mid(3)) == bytes.size() - 3)
        without.commit();
}

} // namespace settings
