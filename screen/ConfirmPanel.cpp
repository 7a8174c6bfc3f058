#include "ConfirmPanel.h"

#include "ImageView.h"
#include "PlayAreaStyle.h"

ConfirmPanel::ConfirmPanel(QWidget* playArea, const QString& name) : Panel(playArea, name) {
    setColor(Qt::black);
}

void ConfirmPanel::addOkButton(const QString& frameName, const QString& imageName) {
    okFrame = PlayAreaStyle::okButton(this, frameName, imageName, okButton);
    okButton->setPressable(true);
    connect(okButton, &ImageView::mouseDown, this, [this] { confirm(); });
    connect(okButton, &ImageView::mouseMove, this, &ConfirmPanel::raiseOk);
    connect(this, &Panel::mouseMove, this, &ConfirmPanel::flattenOk);
}

void ConfirmPanel::raiseOk() {
    okFrame->setBevelOuter(Bevel::Raised);
}

void ConfirmPanel::flattenOk() {
    okFrame->setBevelOuter(Bevel::None);
}
