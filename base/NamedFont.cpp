#include "base/NamedFont.h"

#include <QGuiApplication>

QFont namedFont(const char* family, qreal pointSize, bool bold)
{
    QFont font;
    font.setFamilies({QString::fromLatin1(family), QGuiApplication::font().family()});
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}
