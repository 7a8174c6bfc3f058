#include "Image.h"

#include "Artwork.h"

#include <QMouseEvent>
#include <QPainter>

TImage::TImage(QWidget* parent, const QString& name) : QLabel(parent) {
    setObjectName(name);
    setMouseTracking(true);
    setAttribute(Qt::WA_TranslucentBackground);
}

void TImage::SetPicture(const QPixmap& picture) {
    FPicture = picture;
    FArtName.clear();
    FArtSize = QSize();
    update();
}

void TImage::SetArtwork(const QString& name, QSize size) {
    FArtName = name;
    FArtSize = size;
    FPicture = QPixmap();
    update();
}

void TImage::CopyPicture(const TImage& holder) {
    if (holder.FPicture.isNull() && !holder.FArtName.isEmpty()) {
        SetArtwork(holder.FArtName, holder.FArtSize);
    } else {
        SetPicture(holder.FPicture);
    }
}

const QPixmap& TImage::Picture() const {
    // Artwork::Render hands out one shared pixmap per picture and size, so every control
    // showing the same holder's picture holds the same pixmap.
    if (FPicture.isNull() && !FArtName.isEmpty()) FPicture = Artwork::Render(FArtName, FArtSize);
    return FPicture;
}

void TImage::SetStretch(bool stretch) {
    FStretch = stretch;
    update();
}

void TImage::paintEvent(QPaintEvent*) {
    const QPixmap& picture = Picture();
    if (picture.isNull()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (FStretch) {
        painter.drawPixmap(rect(), FPicture);
        return;
    }
    const QSizeF logical = FPicture.deviceIndependentSize();
    const QPointF at((width() - logical.width()) / 2, (height() - logical.height()) / 2);
    painter.drawPixmap(QRectF(at, logical), FPicture, QRectF(FPicture.rect()));
}

void TImage::mousePressEvent(QMouseEvent* event) {
    emit MouseDown(event->button());
    event->accept();
}

void TImage::mouseReleaseEvent(QMouseEvent* event) {
    emit MouseUp(event->button());
    event->accept();
}

void TImage::mouseMoveEvent(QMouseEvent* event) {
    emit MouseMove();
    event->accept();
}
