#pragma once

#include "Label.h"

#include <QColor>
#include <QFont>

// Text in the cabinet's style for the panels of the play area: bold DejaVu Sans in a colour
// of its own on the black of the play area.
namespace CabinetText {

inline const QColor gold{0xFF, 0xD2, 0x3F};
inline const QColor silver{0xC0, 0xC0, 0xC0};
inline const QColor navy{0x00, 0x00, 0x80};

inline QFont font(int pointSize, bool bold = true) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPointSize(pointSize);
    f.setBold(bold);
    return f;
}

// A label named for what it shows, in that size and colour.
inline Label* label(QWidget* parent, const QString& name, int pointSize, const QColor& color,
                    Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
    auto* l = new Label(parent, name);
    l->setFont(font(pointSize));
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, color);
    l->setPalette(pal);
    l->setAlignment(align);
    return l;
}

} // namespace CabinetText
