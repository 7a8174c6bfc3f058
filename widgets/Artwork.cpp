#include "Artwork.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QStandardPaths>
#include <QPainter>
#include <QSvgRenderer>

#include <cmath>

namespace {
QString pathOf(const QString& name) {
    return QStringLiteral(":/art/") + name + QStringLiteral(".svg");
}

QHash<QString, QPixmap>& memoryCache() {
    static QHash<QString, QPixmap> cache;
    return cache;
}

QString& cacheFolder() {
    static QString folder =
        QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/art");
    return folder;
}

// The file of a rendered picture: named after the picture, its size and a digest of the
// SVG, so changed artwork is never taken from an old render.
QString diskFile(const QString& name, QSize device) {
    if (cacheFolder().isEmpty()) return {};
    QFile svg(pathOf(name));
    if (!svg.open(QIODevice::ReadOnly)) return {};
    const QByteArray digest =
        QCryptographicHash::hash(svg.readAll(), QCryptographicHash::Sha1).toHex().left(16);
    return QStringLiteral("%1/%2-%3x%4-%5.png")
        .arg(cacheFolder(), name)
        .arg(device.width())
        .arg(device.height())
        .arg(QString::fromLatin1(digest));
}
} // namespace

namespace Artwork {

QPixmap render(const QString& name, QSize size, qreal devicePixelRatio) {
    if (devicePixelRatio <= 0)
        devicePixelRatio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    // Each picture is rendered once per size: screens created again (tests, the editor)
    // share the pixmaps.
    QHash<QString, QPixmap>& cache = memoryCache();
    const QString key = QStringLiteral("%1@%2x%3@%4")
                            .arg(name)
                            .arg(size.width())
                            .arg(size.height())
                            .arg(devicePixelRatio);
    if (const auto it = cache.constFind(key); it != cache.constEnd()) return *it;
    const QSize device(std::max(1, int(std::ceil(size.width() * devicePixelRatio))),
                       std::max(1, int(std::ceil(size.height() * devicePixelRatio))));
    const QString file = diskFile(name, device);
    QPixmap pixmap;
    if (!file.isEmpty() && pixmap.load(file, "PNG") && pixmap.size() == device) {
        pixmap.setDevicePixelRatio(devicePixelRatio);
        cache.insert(key, pixmap);
        return pixmap;
    }
    pixmap = QPixmap(device);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(pathOf(name));
    if (renderer.isValid()) {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(device)));
        painter.end();
        // Written under a temporary name and renamed, so a half-written file is never read.
        if (!file.isEmpty() && QDir().mkpath(cacheFolder())) {
            const QString part = file + QStringLiteral(".part");
            if (pixmap.save(part, "PNG")) {
                QFile::remove(file);
                QFile::rename(part, file);
            } else {
                QFile::remove(part);
            }
        }
    }
    pixmap.setDevicePixelRatio(devicePixelRatio);
    cache.insert(key, pixmap);
    return pixmap;
}

QSize designSize(const QString& name) {
    QSvgRenderer renderer(pathOf(name));
    return renderer.isValid() ? renderer.viewBox().size() : QSize();
}

void setDiskCacheFolder(const QString& folder) {
    cacheFolder() = folder;
}

QString diskCacheFolder() {
    return cacheFolder();
}

void clearMemoryCache() {
    memoryCache().clear();
}

} // namespace Artwork
