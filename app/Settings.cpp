#include "Settings.h"

#include "SettingsStore.h"

namespace settings {
namespace {

const QString Section = QStringLiteral("Settings");
const QString Default = QStringLiteral("1");

QString pathOf(const QString& key)
{
    return Section + QLatin1Char('/') + key;
}

} // namespace

QString read(const QString& key)
{
    return openStore()->value(pathOf(key), Default).toString();
}

void write(const QString& key, const QString& value)
{
    openStore()->setValue(pathOf(key), value);
}

} // namespace settings
