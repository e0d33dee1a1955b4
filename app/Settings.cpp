#include "Settings.h"

#include <QSettings>

namespace settings {
namespace {

const QString Application = QStringLiteral("KORVANT_Dalmerin");
const QString Section = QStringLiteral("Settings");
const QString Default = QStringLiteral("1");

QString pathOf(const QString& key)
{
    return Section + QLatin1Char('/') + key;
}

} // namespace

QString read(const QString& key)
{
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, Application);
    return store.value(pathOf(key), Default).toString();
}

void write(const QString& key, const QString& value)
{
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, Application);
    store.setValue(pathOf(key), value);
}

} // namespace settings
