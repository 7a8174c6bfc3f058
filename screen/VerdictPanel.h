#pragma once

#include "ConfirmPanel.h"
#include "QuizGame.h"

class ImageView;
class Label;

// The panel that waits for OK after a question went wrong: Wrong (the question, the answer
// given and the right one) or TimeOut (the question and the right one). It shows itself while
// the game is in its phase, and its OK confirms it.
class VerdictPanel : public ConfirmPanel {
    Q_OBJECT
public:
    enum class Kind { Wrong, TimeOut };
    VerdictPanel(QWidget* playArea, QuizGame& game, Kind kind);

    // Places the contents for the play area's size.
    void layOut(int width, int height);
    // OK: the game moves on.
    void confirm() override;

    ImageView* heading = nullptr;
    Label* questionCaption = nullptr;
    Label* question = nullptr;
    Label* chosenCaption = nullptr; // Wrong only
    Label* chosen = nullptr;        // Wrong only
    Label* correctCaption = nullptr;
    Label* correct = nullptr;

private:
    void showPhase(QuizGame::Phase phase);

    QuizGame& game;
    const Kind kind;
};
