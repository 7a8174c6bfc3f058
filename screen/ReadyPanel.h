#pragma once

#include "Panel.h"
#include "QuizGame.h"

#include <array>

class ImageView;

// The panel between the turns of a game of several players: GET READY with the next
// player's number and name, or the notice that the player at the controls is out (their
// number and name stay from their last turn). It shows itself in those two phases.
class ReadyPanel : public Panel {
    Q_OBJECT
public:
    ReadyPanel(QWidget* playArea, QuizGame& game);

    // Places the contents for the play area's size.
    void layOut(int width, int height);

    ImageView* heading = nullptr;          // GET READY
    ImageView* playerOutHeading = nullptr; // GAME OVER over GET READY
    ImageView* playerCaption = nullptr;    // PLAYER
    std::array<ImageView*, 4> numbers{};   // ONE to FOUR
    Panel* name = nullptr;                 // "* Ann *"

private:
    void showPhase(QuizGame::Phase phase);

    QuizGame& game;
};
