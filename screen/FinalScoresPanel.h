#pragma once

#include "ConfirmPanel.h"
#include "QuizGame.h"

#include <array>

class ImageView;
class Label;

// FINAL SCORES: the four players' names and best credits of the game that ended, until OK.
// It shows itself while the game is in that phase, and its OK confirms it.
class FinalScoresPanel : public ConfirmPanel {
    Q_OBJECT
public:
    FinalScoresPanel(QWidget* playArea, QuizGame& game);

    // Places the contents for the play area's size.
    void layOut(int width, int height);
    // OK: the hall of fame's names, or attract mode.
    void confirm() override;

    Label* title = nullptr; // "FINAL SCORES" above the box
    Panel* box = nullptr;
    std::array<Label*, 4> names{};  // slots 1 to 4
    std::array<Label*, 4> scores{}; // their scores

private:
    void showPhase(QuizGame::Phase phase);

    QuizGame& game;
};
