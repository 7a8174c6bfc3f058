#include "Panel.h"

#include <QMouseEvent>
#include <QPainter>

TPanel::TPanel(QWidget* parent, const QString& name) : QFrame(parent) {
    setObjectName(name);
    setMouseTracking(true);
}

void TPanel::SetColor(const QColor& color) {
    if (color == FColor) return;
    FColor = color;
    update();
}

void TPanel::SetFontColor(const QColor& color) {
    if (color == FFontColor) return;
    FFontColor = color;
    update();
}

void TPanel::SetBevelOuter(TBevel bevel) {
    if (bevel == FBevel) return;
    FBevel = bevel;
    update();
}

void TPanel::SetCaption(const QString& caption) {
    if (caption == FCaption) return;
    FCaption = caption;
    setAccessibleDescription(caption);
    update();
}

void TPanel::SetTransparent(bool transparent) {
    FTransparent = transparent;
    setAttribute(Qt::WA_TranslucentBackground, transparent);
    update();
}

void TPanel::SetHatched(bool hatched) {
    FHatched = hatched;
    update();
}

void TPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect r = rect();
    if (!FTransparent) p.fillRect(r, FColor);
    if (FHatched) p.fillRect(r, QBrush(QColor(0x90, 0x90, 0x90), Qt::BDiagPattern));
    if (FBevel != TBevel::None) {
        const QColor light = FBevel == TBevel::Raised ? Qt::white : QColor(0x80, 0x80, 0x80);
        const QColor dark = FBevel == TBevel::Raised ? QColor(0x80, 0x80, 0x80) : Qt::white;
        p.setPen(light);
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(dark);
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
    }
    if (!FCaption.isEmpty()) {
        p.setPen(FFontColor);
        p.setFont(font());
        p.drawText(r, Qt::AlignCenter | Qt::TextSingleLine, FCaption);
    }
}

void TPanel::mousePressEvent(QMouseEvent* event) {
    emit MouseDown(event->button());
    event->accept();
}

void TPanel::mouseMoveEvent(QMouseEvent* event) {
    emit MouseMove();
    event->accept();
}
