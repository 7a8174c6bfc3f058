#include "Shape.h"

#include <QMouseEvent>
#include <QPainter>

TShape::TShape(QWidget* parent, const QString& name) : QWidget(parent) { setObjectName(name); }

void TShape::SetBrushColor(const QColor& color) {
    if (color == FBrush) return;
    FBrush = color;
    update();
}

void TShape::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), FBrush);
}

void TShape::mousePressEvent(QMouseEvent* event) {
    emit MouseDown(event->button());
    event->accept();
}
