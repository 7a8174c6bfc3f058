#include "Shape.h"

#include <QMouseEvent>
#include <QPainter>

Shape::Shape(QWidget* parent, const QString& name) : QWidget(parent) {
    setObjectName(name);
}

void Shape::setBrushColor(const QColor& color) {
    if (color == m_brush) return;
    m_brush = color;
    update();
}

void Shape::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), m_brush);
}

void Shape::mousePressEvent(QMouseEvent* event) {
    emit mouseDown(event->button());
    event->accept();
}
