#include "resources/Pictures.h"

#include <QIconEngine>
#include <QImageReader>
#include <QPainter>

namespace {

QString resourcePath(const char* name, const char* suffix)
{
    return QStringLiteral(":/pictures/%1%2.png").arg(QString::fromLatin1(name), QString::fromLatin1(suffix));
}

// Chooses the file by the scale asked for; each file's own icon does the
// smooth scaling and the disabled and active looks. A file is read only when
// it is first drawn: at scale 1 the 2x file is never read, and start-up reads
// no picture it does not show.
class PictureEngine final : public QIconEngine
{
public:
    explicit PictureEngine(const char* name)
        : m_singlePath(resourcePath(name, "")), m_doublePath(resourcePath(name, "@2x")),
          m_singleSize(QImageReader(m_singlePath).size())
    {
    }

    QIconEngine* clone() const override { return new PictureEngine(*this); }

    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return file(m_single, m_singlePath).actualSize(size, mode, state);
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {m_singleSize}; }

    // `size` is in device pixels.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        // A request larger than the 1x file (a window icon on a dense screen) is never
        // met by enlarging it either.
        const bool useDouble =
            scale > 1 || size.width() > m_singleSize.width() || size.height() > m_singleSize.height();
        const QIcon& picture = useDouble ? file(m_double, m_doublePath) : file(m_single, m_singlePath);
        return picture.pixmap(size, 1.0, mode, state);
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
    static const QIcon& file(QIcon& picture, const QString& path)
    {
        if (picture.isNull())
            picture = QIcon(QPixmap(path));
        return picture;
    }

    QString m_singlePath;
    QString m_doublePath;
    QSize m_singleSize;
    QIcon m_single;
    QIcon m_double;
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
