#include "base/SettingsStore.h"

namespace settings {

// HKEY_CURRENT_USER\Software\KORVANT_Dalmerin, whose key "Settings" holds the
// values. Built from the organisation name alone, QSettings would put them
// under an extra key "OrganizationDefaults".
std::unique_ptr<QSettings> openStore()
{
    auto store = std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER\\Software\\KORVANT_Dalmerin"),
                                             QSettings::NativeFormat);
    store->setFallbacksEnabled(false);
    return store;
}

// The registry needs nothing.
void prepareForWriting(const QSettings&) {}

} // namespace settings
