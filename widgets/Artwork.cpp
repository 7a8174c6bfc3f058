#include "Artwork.h"

#include <QGuiApplication>
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
    return pixmap;
}

QSize DesignSize(const QString& name) {
    QSvgRenderer renderer(PathOf(name));
    return renderer.isValid() ? renderer.viewBox().size() : QSize();
}

bool Exists(const QString& name) { return QSvgRenderer(PathOf(name)).isValid(); }

} // namespace Artwork
