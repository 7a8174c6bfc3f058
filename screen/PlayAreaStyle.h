#pragma once

#include "CabinetText.h"
#include "ImageView.h"
#include "Label.h"
#include "Panel.h"

#include <QColor>
#include <QSize>

// The cabinet's look for the panels of the play area: colours, sizes, the labels and OK
// buttons they are made of, and where those go.
namespace PlayAreaStyle {

using CabinetText::gold;
using CabinetText::navy;
using CabinetText::silver;
inline const QColor maroon{0x80, 0x00, 0x00};
inline const QColor green{0x00, 0x80, 0x00};
// The metal of the cabinet's bands around the play area.
inline const QColor cabinetMetal{0x16, 0x16, 0x24};

inline constexpr QSize okSize(80, 40);
inline constexpr QSize headingSize(400, 56);
// Margin of the OK buttons from the bottom right corner of their panels.
inline constexpr int okMargin = 8;

// A hidden holder of a picture of the artwork at that size, which shown controls copy.
inline ImageView* pictureHolder(QWidget* parent, const QString& name, const QString& artwork,
                                QSize size) {
    auto* holder = new ImageView(parent, name);
    holder->hide();
    holder->setArtwork(artwork, size);
    return holder;
}

// A label with its caption in the cabinet's font and colour, on its own background if given.
inline Label* label(QWidget* parent, const QString& name, const QString& caption, int pointSize,
                    const QColor& color, const QColor& background = QColor()) {
    auto* l = new Label(parent, name);
    l->setCaption(caption);
    l->setFont(CabinetText::font(pointSize));
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, color);
    if (background.isValid()) {
        pal.setColor(QPalette::Window, background);
        l->setAutoFillBackground(true);
    }
    l->setPalette(pal);
    return l;
}

// An OK button: the OK picture on a borderless panel whose bevel rises under the mouse.
inline Panel* okButton(QWidget* parent, const QString& frameName, const QString& imageName,
                       ImageView*& image) {
    auto* frame = new Panel(parent, frameName);
    frame->setTransparent(true);
    frame->resize(okSize.width() + 4, okSize.height() + 4);
    image = new ImageView(frame, imageName);
    image->setGeometry(2, 2, okSize.width(), okSize.height());
    image->setAccessibleName(QStringLiteral("OK"));
    image->setCursor(Qt::PointingHandCursor);
    image->setArtwork(QStringLiteral("ok"), okSize);
    return frame;
}

inline void centreHorizontally(QWidget* w, int parentWidth, int top) {
    w->move((parentWidth - w->width()) / 2, top);
}
inline void centreBothWays(QWidget* w, int parentWidth, int parentHeight) {
    w->move((parentWidth - w->width()) / 2, (parentHeight - w->height()) / 2);
}
inline void placeBottomRight(QWidget* w, int parentWidth, int parentHeight) {
    w->move(parentWidth - w->width() - okMargin, parentHeight - w->height() - okMargin);
}
inline int bottomOf(const QWidget* w) {
    return w->y() + w->height();
}
inline int rightOf(const QWidget* w) {
    return w->x() + w->width();
}

} // namespace PlayAreaStyle
