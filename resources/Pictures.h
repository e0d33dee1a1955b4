#pragma once

#include <QIcon>
#include <QPixmap>

// The program's pictures, each compiled in as NAME.png and, at twice its size,
// NAME@2x.png. At any scale above 1 the 2x file is shown, scaled down smoothly
// where the scale is less than 2; at scale 1 the 1x file as it is. (Qt alone
// takes the 2x file only from scale 1.5 up, for QIcon, and never for QPixmap.)
namespace pictures {

// An icon that follows the scale of wherever it is drawn.
QIcon icon(const char* name);

// The picture for a screen of this device pixel ratio, at the 1x file's logical size.
QPixmap pixmap(const char* name, qreal devicePixelRatio);

} // namespace pictures
