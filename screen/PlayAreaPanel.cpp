#include "PlayAreaPanel.h"

#include "ImageView.h"

#include <QEvent>

PlayAreaPanel::PlayAreaPanel(QWidget* playArea, const QString& name, const QString& title,
                             const QString& artwork, QSize headingSize)
    : Panel(playArea, name) {
    setColor(Qt::black);
    setAccessibleName(title);
    heading = new ImageView(this, name + QStringLiteral("Heading"));
    heading->resize(headingSize);
    heading->setArtwork(artwork, headingSize);
    heading->setAccessibleName(title);
    playArea->installEventFilter(this);
}

void PlayAreaPanel::fitToPlayArea() {
    const QWidget* area = parentWidget();
    setGeometry(0, 0, area->width(), area->height());
    heading->move((area->width() - heading->width()) / 2, 2);
    layOut(area->width(), area->height());
}

bool PlayAreaPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parent() && event->type() == QEvent::Resize) fitToPlayArea();
    return Panel::eventFilter(watched, event);
}
