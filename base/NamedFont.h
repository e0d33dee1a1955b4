#pragma once

#include <QFont>

// A font of a named family, with the application's default font as the family
// to fall back on where the system lacks the named one (Wine has no Arial):
// without it Qt takes the first family it knows, which may be a symbol or math face.
QFont namedFont(const char* family, qreal pointSize, bool bold = false);
