#include "ImageView.h"

#include "Artwork.h"
#include "WidgetAccessibility.h"

#include <QMouseEvent>
#include <QPainter>

ImageView::ImageView(QWidget* parent, const QString& name) : QLabel(parent) {
    setObjectName(name);
    setMouseTracking(true);
    setAttribute(Qt::WA_TranslucentBackground);
    installWidgetAccessibility();
}

void ImageView::press() {
    emit mouseDown(Qt::LeftButton);
    emit mouseUp(Qt::LeftButton);
}

void ImageView::setPicture(const QPixmap& picture) {
    m_currentPicture = picture;
    m_artName.clear();
    m_artSize = QSize();
    update();
}

void ImageView::setArtwork(const QString& name, QSize size) {
    m_artName = name;
    m_artSize = size;
    m_currentPicture = QPixmap();
    update();
}

void ImageView::copyPicture(const ImageView& holder) {
    if (holder.m_currentPicture.isNull() && !holder.m_artName.isEmpty()) {
        setArtwork(holder.m_artName, holder.m_artSize);
    } else {
        setPicture(holder.m_currentPicture);
    }
}

const QPixmap& ImageView::currentPicture() const {
    // Artwork::Render hands out one shared pixmap per picture and size, so every control
    // showing the same holder's picture holds the same pixmap.
    if (m_currentPicture.isNull() && !m_artName.isEmpty())
        m_currentPicture = Artwork::render(m_artName, m_artSize);
    return m_currentPicture;
}

void ImageView::setStretch(bool stretch) {
    m_stretch = stretch;
    update();
}

void ImageView::paintEvent(QPaintEvent*) {
    const QPixmap& picture = currentPicture();
    if (picture.isNull()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (m_stretch) {
        painter.drawPixmap(rect(), m_currentPicture);
        return;
    }
    const QSizeF logical = m_currentPicture.deviceIndependentSize();
    const QPointF at((width() - logical.width()) / 2, (height() - logical.height()) / 2);
    painter.drawPixmap(QRectF(at, logical), m_currentPicture, QRectF(m_currentPicture.rect()));
}

void ImageView::mousePressEvent(QMouseEvent* event) {
    emit mouseDown(event->button());
    event->accept();
}

void ImageView::mouseReleaseEvent(QMouseEvent* event) {
    emit mouseUp(event->button());
    event->accept();
}

void ImageView::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMove();
    event->accept();
}
