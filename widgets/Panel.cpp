#include "Panel.h"

#include "WidgetAccessibility.h"

#include <QMouseEvent>
#include <QPainter>

Panel::Panel(QWidget* parent, const QString& name) : QFrame(parent) {
    setObjectName(name);
    setMouseTracking(true);
    installWidgetAccessibility();
}

void Panel::setColor(const QColor& color) {
    if (color == m_color) return;
    m_color = color;
    update();
}

void Panel::setFontColor(const QColor& color) {
    if (color == m_fontColor) return;
    m_fontColor = color;
    update();
}

void Panel::setBevelOuter(Bevel bevel) {
    if (bevel == m_bevel) return;
    m_bevel = bevel;
    update();
}

void Panel::setCaption(const QString& caption) {
    if (caption == m_caption) return;
    m_caption = caption;
    setAccessibleDescription(caption);
    update();
}

void Panel::setTransparent(bool transparent) {
    m_transparent = transparent;
    setAttribute(Qt::WA_TranslucentBackground, transparent);
    update();
}

void Panel::setHatched(bool hatched) {
    m_hatched = hatched;
    update();
}

void Panel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect r = rect();
    if (!m_transparent) p.fillRect(r, m_color);
    if (m_hatched) p.fillRect(r, QBrush(QColor(0x90, 0x90, 0x90), Qt::BDiagPattern));
    if (m_bevel != Bevel::None) {
        const QColor light = m_bevel == Bevel::Raised ? Qt::white : QColor(0x80, 0x80, 0x80);
        const QColor dark = m_bevel == Bevel::Raised ? QColor(0x80, 0x80, 0x80) : Qt::white;
        p.setPen(light);
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(dark);
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
    }
    if (!m_caption.isEmpty()) {
        p.setPen(m_fontColor);
        p.setFont(font());
        p.drawText(r, Qt::AlignCenter | Qt::TextSingleLine, m_caption);
    }
}

void Panel::mousePressEvent(QMouseEvent* event) {
    emit mouseDown(event->button());
    event->accept();
}

void Panel::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMove();
    event->accept();
}
