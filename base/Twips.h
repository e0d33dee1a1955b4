#pragma once

#include <QRect>

// Window layouts are given in twips (1/1440 inch); at 96 dpi a pixel is 15
// twips, and Qt's high-DPI scaling takes it from there.
namespace twips {

constexpr int PerPixel = 15;
// The main window's toolbar takes the first 510 twips of the window; the
// table's layout counts from the window's top, so it sits below this.
constexpr int ToolbarHeight = 510;

constexpr int toPixels(int twips)
{
    return twips / PerPixel;
}

} // namespace twips

inline QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twips::toPixels(left), twips::toPixels(top), twips::toPixels(width),
                 twips::toPixels(height));
}
