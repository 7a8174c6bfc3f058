#pragma once

#include "Panel.h"

class ImageView;

// A black panel of the play area under a heading picture, in the cabinet's style: it covers
// the whole area and follows its size.
class PlayAreaPanel : public Panel {
    Q_OBJECT
public:
    // The panel and its heading share the accessible name title; the heading shows the
    // artwork at headingSize.
    PlayAreaPanel(QWidget* playArea, const QString& name, const QString& title,
                  const QString& artwork, QSize headingSize);

    ImageView* heading = nullptr;

protected:
    // Places the contents for the area's size; the heading is centred at the top already.
    virtual void layOut(int width, int height) = 0;
    // Covers the area and lays the contents out; the constructors of derived panels call it
    // last.
    void fitToPlayArea();
    bool eventFilter(QObject* watched, QEvent* event) override;
};
