#include "Artwork.h"

#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QSvgRenderer>

#include <cmath>

namespace {
QString PathOf(const QString& name) { return QStringLiteral(":/art/") + name + QStringLiteral(".svg"); }
} // namespace

namespace Artwork {

QPixmap Render(const QString& name, QSize size, qreal devicePixelRatio) {
    if (devicePixelRatio <= 0)
        devicePixelRatio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    // Each picture is rendered once per size: screens created again (tests, the editor)
    // share the pixmaps.
    static QHash<QString, QPixmap> cache;
    const QString key = QStringLiteral("%1@%2x%3@%4")
                            .arg(name)
                            .arg(size.width())
                            .arg(size.height())
                            .arg(devicePixelRatio);
    if (const auto it = cache.constFind(key); it != cache.constEnd()) return *it;
    const QSize device(std::max(1, int(std::ceil(size.width() * devicePixelRatio))),
                       std::max(1, int(std::ceil(size.height() * devicePixelRatio))));
    QPixmap pixmap(device);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(PathOf(name));
    if (renderer.isValid()) {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(device)));
    }
    pixmap.setDevicePixelRatio(devicePixelRatio);
    cache.insert(key, pixmap);
    return pixmap;
}

QSize DesignSize(const QString& name) {
    QSvgRenderer renderer(PathOf(name));
    return renderer.isValid() ? renderer.viewBox().size() : QSize();
}

bool Exists(const QString& name) { return QSvgRenderer(PathOf(name)).isValid(); }

} // namespace Artwork
