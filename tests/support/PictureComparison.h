#pragma once

#include <QColor>
#include <QImage>
#include <QString>

#include <algorithm>
#include <cmath>
#include <limits>

// Which file a shown picture was drawn from: the shown pixels (a grabbed
// widget, in device pixels) against a file's picture scaled smoothly, as Qt
// scales it, to fit the size it is shown at.
namespace picturecomparison {

// The main window's toolbar pictures, in the order of its buttons.
inline const char* const ToolbarPictures[] = {"tool1-run", "tool2-open", "tool3-edit",
                                              "tool4-new", "tool5-save", "tool6-delete"};

inline QImage fileAt(const QString& file, const QSize& deviceSize)
{
    // Premultiplied, as a pixmap is scaled.
    return QImage(file)
        .convertToFormat(QImage::Format_ARGB32_Premultiplied)
        .scaled(deviceSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

// The mean difference of the colour channels (0 to 255) over the picture's
// opaque pixels, where the picture fits the shown pixels best.
inline double difference(const QImage& shown, const QImage& picture)
{
    const QImage pixels = shown.convertToFormat(QImage::Format_ARGB32);
    double best = std::numeric_limits<double>::infinity();
    for (int top = 0; top + picture.height() <= pixels.height(); ++top) {
        for (int left = 0; left + picture.width() <= pixels.width(); ++left) {
            double sum = 0;
            int counted = 0;
            for (int y = 0; y < picture.height(); ++y) {
                for (int x = 0; x < picture.width(); ++x) {
                    const QRgb wanted = picture.pixel(x, y);
                    if (qAlpha(wanted) < 255)
                        continue;
                    const QRgb got = pixels.pixel(left + x, top + y);
                    sum += std::abs(qRed(got) - qRed(wanted)) + std::abs(qGreen(got) - qGreen(wanted)) +
                           std::abs(qBlue(got) - qBlue(wanted));
                    ++counted;
                }
            }
            if (counted > 0)
                best = std::min(best, sum / (3.0 * counted));
        }
    }
    return best;
}

// Whether `shown` (device pixels) is the picture `name` at `size` (logical
// pixels) drawn from the file its scale calls for: the 1x file at scale 1,
// the 2x file above. `why` gets the differences to both.
inline bool showsFileForItsScale(const QImage& shown, qreal scale, const char* name, const QSize& size,
                                 QString& why)
{
    const auto file = [name](const char* suffix) {
        return QStringLiteral(":/pictures/%1%2.png")
            .arg(QString::fromLatin1(name), QString::fromLatin1(suffix));
    };
    const double toSingle = difference(shown, fileAt(file(""), size * scale));
    const double toDouble = difference(shown, fileAt(file("@2x"), size * scale));
    why = QStringLiteral("%1 bei %2: 1x-Datei %3, 2x-Datei %4")
              .arg(QString::fromLatin1(name))
              .arg(scale)
              .arg(toSingle)
              .arg(toDouble);
    const double wanted = scale > 1 ? toDouble : toSingle;
    const double other = scale > 1 ? toSingle : toDouble;
    // Where both files give the same pixels either is right; drawn at a
    // position between device pixels the picture is blurred a little.
    return wanted <= other && (wanted < 0.5 || 2 * wanted < other);
}

} // namespace picturecomparison
