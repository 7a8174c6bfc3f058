#pragma once

#include "Lamp.h"
#include "QuizGame.h"

#include <QObject>

#include <array>

class ImageView;
class QWidget;

// The prize ladder on the play area: the five lamps ($1 and $5 below, $15 and $50 above, LOSE
// in the middle) and PRESS STOP under LOSE. It shows itself on the ladder and while the prize
// flashes, and lights the lamp the game says is lit.
class PrizeLadderView : public QObject {
    Q_OBJECT
public:
    // lampState: one flag per lamp ($1 ... LOSE), 1 while it shows lit, for the screen's state.
    PrizeLadderView(QWidget& playArea, QuizGame& game, std::array<int, 5>& lampState);

    // Places the lamps for the play area's size.
    void layOut(int width, int height);
    // Lights (lit picture, flag 1) or puts out (unlit picture, flag 0) a lamp.
    void setLamp(Lamp lamp, bool lit);
    // Exactly this lamp lit (None: all out).
    void showLit(Lamp lit);

    // The lamps are on the play area: on the ladder and while the prize flashes.
    bool isShowing() const;

    ImageView* lamp(Lamp lamp) const;
    ImageView* litPicture(Lamp lamp) const;
    ImageView* unlitPicture(Lamp lamp) const;

    // Per lamp, $1 ... LOSE: the lamp on the play area and its two pictures (hidden holders).
    std::array<ImageView*, 5> lamps{};
    std::array<ImageView*, 5> litPictures{};
    std::array<ImageView*, 5> unlitPictures{};
    ImageView* pressStopPrompt = nullptr;

private:
    void showPhase(QuizGame::Phase phase);

    QuizGame& game;
    std::array<int, 5>& lampState;
};
