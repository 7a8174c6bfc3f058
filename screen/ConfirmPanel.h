#pragma once

#include "Panel.h"

class ImageView;

// A panel of the play area that an OK button closes: the button's bevel rises under the
// mouse and flattens when the mouse is back on the panel; a press on it confirms.
class ConfirmPanel : public Panel {
    Q_OBJECT
public:
    // OK: what the panel waits for is done.
    virtual void confirm() = 0;
    void raiseOk();
    void flattenOk();

    Panel* okFrame = nullptr;
    ImageView* okButton = nullptr;

protected:
    // A black panel covering the play area.
    ConfirmPanel(QWidget* playArea, const QString& name);
    // Adds the OK button (last, so that it lies above the rest) and wires it.
    void addOkButton(const QString& frameName, const QString& imageName);
};
