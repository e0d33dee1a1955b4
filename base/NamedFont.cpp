#include "base/NamedFont.h"

#include <QFontDatabase>
#include <QGuiApplication>

QFont namedFont(const char* family, qreal pointSize, bool bold)
{
    // A family the system lacks is left out rather than handed to Qt's
    // matching: looking for it costs the start under Wine about 10 ms.
    const QString named = QString::fromLatin1(family);
    const QString fallback = QGuiApplication::font().family();
    QFont font;
    font.setFamilies(QFontDatabase::hasFamily(named) ? QStringList{named, fallback} : QStringList{fallback});
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}
