#include "resources/Pictures.h"

#include <QIconEngine>
#include <QPainter>

namespace {

QString resourcePath(const char* name, const char* suffix)
{
    return QStringLiteral(":/pictures/%1%2.png").arg(QString::fromLatin1(name), QString::fromLatin1(suffix));
}

// Chooses the file by the scale asked for; each file's own icon does the
// smooth scaling and the disabled and active looks.
class PictureEngine final : public QIconEngine
{
public:
    explicit PictureEngine(const char* name)
        : m_single(QPixmap(resourcePath(name, ""))), m_double(QPixmap(resourcePath(name, "@2x"))),
          m_singleSize(m_single.availableSizes().value(0))
    {
    }

    QIconEngine* clone() const override { return new PictureEngine(*this); }

    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return m_single.actualSize(size, mode, state);
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {m_singleSize}; }

    // `size` is in device pixels.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        // A request larger than the 1x file (a window icon on a dense screen) is never
        // met by enlarging it either.
        const bool useDouble =
            scale > 1 || size.width() > m_singleSize.width() || size.height() > m_singleSize.height();
        return (useDouble ? m_double : m_single).pixmap(size, 1.0, mode, state);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal scale = painter->device()->devicePixelRatio();
        painter->drawPixmap(rect, scaledPixmap(rect.size() * scale, mode, state, scale));
    }

private:
    QIcon m_single;
    QIcon m_double;
    QSize m_singleSize;
};

} // namespace

namespace pictures {

QIcon icon(const char* name)
{
    return QIcon(new PictureEngine(name));
}

QPixmap pixmap(const char* name, qreal devicePixelRatio)
{
    const QIcon picture = icon(name);
    return picture.pixmap(picture.availableSizes().value(0), devicePixelRatio);
}

} // namespace pictures
