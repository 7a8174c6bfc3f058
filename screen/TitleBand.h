#pragma once

#include "Panel.h"
#include "Timer.h"

#include <memory>

class Clock;
class ImageView;
struct ScreenState;

// The cabinet's top band: the title logo between two decorations. The logo flashes between
// its two pictures on a timer of its own, in attract mode and in a game alike.
class TitleBand : public Panel {
    Q_OBJECT
public:
    TitleBand(QWidget* parent, Clock& clock, ScreenState& display);
    ~TitleBand() override;

    // Shows the logo's other picture.
    void flashLogo();

    ImageView* topLogo = nullptr;
    ImageView* leftDecoration = nullptr;
    ImageView* rightDecoration = nullptr;
    // The logo's two pictures.
    ImageView* topLogoLitPicture = nullptr;
    ImageView* topLogoPicture = nullptr;
    // Flashes the logo every half second.
    std::unique_ptr<Timer> logoTimer;

private:
    ScreenState& display;
};
