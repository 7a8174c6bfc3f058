#include "Label.h"

#include <QMouseEvent>

Label::Label(QWidget* parent, const QString& name) : QLabel(parent) {
    setObjectName(name);
    setTextFormat(Qt::PlainText);
    setMouseTracking(true);
}

void Label::setCaption(const QString& caption) {
    setText(caption);
    setAccessibleName(caption);
}

void Label::mousePressEvent(QMouseEvent* event) {
    emit mouseDown(event->button());
    event->accept();
}

void Label::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMove();
    event->accept();
}
