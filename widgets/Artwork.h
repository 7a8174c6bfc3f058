#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

// The program's pictures: SVG artwork compiled into the program, rendered once at the size
// a control needs (times the screen's pixel ratio, so it stays crisp on dense screens).
namespace Artwork {

// Renders ":/art/<name>.svg" to a pixmap of logical size `size`. A missing or unreadable
// picture gives a transparent pixmap of that size.
QPixmap Render(const QString& name, QSize size, qreal devicePixelRatio = 0);

// The design size of a picture (its SVG view box), or an empty size when it does not exist.
QSize DesignSize(const QString& name);

// True when the picture exists and parses.
bool Exists(const QString& name);

} // namespace Artwork
