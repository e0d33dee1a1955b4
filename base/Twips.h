#pragma once

#include <QRect>

// Window layouts are given in twips (1/1440 inch); at 96 dpi a pixel is 15
// twips, and Qt's high-DPI scaling takes it from there.
inline QRect twipsRect(int left, int top, int width, int height)
{
    constexpr int TwipsPerPixel = 15;
    return QRect(left / TwipsPerPixel, top / TwipsPerPixel, width / TwipsPerPixel, height / TwipsPerPixel);
}
