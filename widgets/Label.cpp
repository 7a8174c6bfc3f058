#include "Label.h"

#include <QFontMetrics>
#include <QMouseEvent>

#include <algorithm>

Label::Label(QWidget* parent, const QString& name) : QLabel(parent) {
    setObjectName(name);
    setTextFormat(Qt::PlainText);
    setMouseTracking(true);
}

namespace {
// The smallest font a shrunk caption is shown in: what the widest texts a record can hold
// need in the answer rows at the design size.
constexpr qreal SmallestPointSize = 5;
} // namespace

void Label::setCaption(const QString& caption) {
    setText(caption);
    setAccessibleName(caption);
    fitCaption();
}

void Label::setShrinkToFit(bool shrink) {
    shrinkToFit = shrink;
    ownPointSize = font().pointSizeF();
    fitCaption();
}

void Label::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    fitCaption();
}

void Label::fitCaption() {
    if (!shrinkToFit || ownPointSize <= 0) return;
    const int room = contentsRect().width() - std::max(indent(), 0) - 2 * margin();
    QFont f = font();
    qreal size = ownPointSize;
    for (;;) {
        f.setPointSizeF(size);
        if (size <= SmallestPointSize || QFontMetrics(f).horizontalAdvance(text()) <= room) break;
        size = std::max(SmallestPointSize, size - 0.5);
    }
    if (f != font()) setFont(f);
}

void Label::mousePressEvent(QMouseEvent* event) {
    emit mouseDown(event->button());
    event->accept();
}

void Label::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMove();
    event->accept();
}
