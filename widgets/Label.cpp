#include "Label.h"

#include <QMouseEvent>

TLabel::TLabel(QWidget* parent, const QString& name) : QLabel(parent) {
    setObjectName(name);
    setTextFormat(Qt::PlainText);
    setMouseTracking(true);
}

void TLabel::SetCaption(const QString& caption) {
    setText(caption);
    setAccessibleName(caption);
}

void TLabel::mousePressEvent(QMouseEvent* event) {
    emit MouseDown(event->button());
    event->accept();
}

void TLabel::mouseMoveEvent(QMouseEvent* event) {
    emit MouseMove();
    event->accept();
}
