#pragma once

#include "QuizGame.h"
#include "Timer.h"

#include <QObject>

#include <array>
#include <memory>

class ButtonBand;
class Clock;
class HallOfFame;
class ImageView;
class QWidget;
struct ScreenState;

// Attract mode's show while no game runs: the buttons light one after the other, and the play
// area shows the company logo, its caption, the flashing title logo, the press-START prompt
// and, when there is one, the hall of fame page, over and over. It follows the game's phases:
// it starts with attract mode, its button cycle ends at the player entry and the pictures end
// when the first question is typed. All of it is display only: no sound is sent and no game
// state moves.
class AttractShow : public QObject {
    Q_OBJECT
public:
    AttractShow(QWidget& playArea, QuizGame& game, ButtonBand& buttons, ScreenState& display,
                Clock& clock);
    ~AttractShow() override;

    // The hall of fame whose page closes each round of pictures; none: no page.
    void setHallOfFame(HallOfFame* hall) { hallOfFame = hall; }

    void layOut(int width, int height);
    // Draws the title logo at the play area's size (once per size, so it stays crisp when the
    // window is maximised).
    void fitTitlePictures(QSize area);

    // Another window of the program has the player: the cycle and the pictures hold still,
    // marked to go on at resume().
    void pause();
    void resume();
    // Stops the cycle and the pictures with no mark to go on: the game ends or is abandoned.
    void forget();

    ImageView* companyLogo = nullptr;
    ImageView* presentsCaption = nullptr;
    ImageView* titlePicture = nullptr;
    ImageView* titlePictureLit = nullptr;
    ImageView* pressStartPrompt = nullptr;

    std::unique_ptr<Timer> buttonTimer;   // lights the next button, every 200 ms
    std::unique_ptr<Timer> sequenceTimer; // steps the pictures, every 50 ms
    std::unique_ptr<Timer> titleFlashTimer;

private:
    // The timers that hold still while the game is paused: the button cycle and the pictures.
    std::array<Timer*, 2> pausing() const { return {buttonTimer.get(), sequenceTimer.get()}; }
    void phaseEntered(QuizGame::Phase phase);
    void start();
    void hidePictures();
    void cycleButtons();
    void stepSequence();
    void flashTitle();

    ButtonBand& buttons;
    ScreenState& display;
    HallOfFame* hallOfFame = nullptr;
};
