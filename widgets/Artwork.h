#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

// The program's pictures: SVG artwork compiled into the program, rendered once at the size
// a control needs (times the screen's pixel ratio, so it stays crisp on dense screens).
namespace Artwork {

// Renders ":/art/<name>.svg" to a pixmap of logical size `size`. A missing or unreadable
// picture gives a transparent pixmap of that size.
QPixmap render(const QString& name, QSize size, qreal devicePixelRatio = 0);

// The design size of a picture (its SVG view box), or an empty size when it does not exist.
QSize designSize(const QString& name);

// Rendered pictures are also kept on disk, so a later start of the program loads them
// instead of drawing them again. The default folder is the user's cache folder; an empty
// folder turns the disk cache off.
void setDiskCacheFolder(const QString& folder);
QString diskCacheFolder();
// Forgets the pictures rendered in this run (the disk cache stays).
void clearMemoryCache();

} // namespace Artwork
