#pragma once

#include "Panel.h"

#include <array>

class ImageView;
struct ScreenState;

// The cabinet's bottom band: the answer buttons A to D on the left, STOP and START on the
// right. Each button shows its lit or its unlit picture, which the band keeps in hidden
// holders; the screen state records what is lit.
class ButtonBand : public Panel {
    Q_OBJECT
public:
    static constexpr QSize ButtonSize{88, 72};

    ButtonBand(QWidget* parent, ScreenState& display);

    // Lights the answer buttons and START as given; the others go dark.
    void light(bool a, bool b, bool c, bool d, bool start);
    void lightStop(bool lit);
    // The answer button of a letter: 0 is A.
    ImageView* answerButton(int index) const;

    ImageView* answerButtonA = nullptr;
    ImageView* answerButtonB = nullptr;
    ImageView* answerButtonC = nullptr;
    ImageView* answerButtonD = nullptr;
    ImageView* stopButton = nullptr;
    ImageView* startButton = nullptr;

    // The pictures the buttons copy.
    ImageView* answerALitPicture = nullptr;
    ImageView* answerAPicture = nullptr;
    ImageView* answerBLitPicture = nullptr;
    ImageView* answerBPicture = nullptr;
    ImageView* answerCLitPicture = nullptr;
    ImageView* answerCPicture = nullptr;
    ImageView* answerDLitPicture = nullptr;
    ImageView* answerDPicture = nullptr;
    ImageView* startLitPicture = nullptr;
    ImageView* startPicture = nullptr;
    ImageView* stopLitPicture = nullptr;
    ImageView* stopPicture = nullptr;

private:
    ScreenState& display;
};
