#include "Image.h"

#include <QMouseEvent>
#include <QPainter>

TImage::TImage(QWidget* parent, const QString& name) : QLabel(parent) {
    setObjectName(name);
    setMouseTracking(true);
    setAttribute(Qt::WA_TranslucentBackground);
}

void TImage::SetPicture(const QPixmap& picture) {
    FPicture = picture;
    update();
}

void TImage::SetStretch(bool stretch) {
    FStretch = stretch;
    update();
}

void TImage::paintEvent(QPaintEvent*) {
    if (FPicture.isNull()) return;
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
