#pragma once

#include <QString>

// The two per-user settings, stored under the application "KORVANT_Dalmerin",
// section "Settings" (the current user's registry on Windows, the user's
// configuration folder elsewhere). Nothing else touches QSettings.
namespace settings {

inline const QString Start = QStringLiteral("Start");   // "1": show the splash window for 3 s
inline const QString OldVal = QStringLiteral("OldVal"); // "1": keep tolerances a dimension has

// The stored text, or "1" when the key is missing.
QString read(const QString& key);

// Only a stored "0" switches a setting off; anything else, or nothing, leaves it on.
bool showSplash();             // "Start"
bool keepExistingTolerances(); // "OldVal"

// Stores the value and makes sure it reached the store; returns why it did
// not, in German, or an empty text.
QString write(const QString& key, const QString& value);

// Where the values are stored: the settings file, or the registry key.
QString place();

} // namespace settings
