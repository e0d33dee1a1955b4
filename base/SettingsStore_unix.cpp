#include "base/SettingsStore.h"

namespace settings {

// ~/.config/KORVANT_Dalmerin.conf, or the folder QSettings::setPath names.
std::unique_ptr<QSettings> openStore()
{
    auto store = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                             QStringLiteral("KORVANT_Dalmerin"));
    store->setFallbacksEnabled(false);
    return store;
}

} // namespace settings
