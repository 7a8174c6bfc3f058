#pragma once

#include "ConfirmPanel.h"
#include "QuizGame.h"

#include <array>

class ImageView;
class Label;
class QLineEdit;

// SELECT PLAYERS: four name nameSlots, each with its box and Clear button, and OK. A named slot
// glows red. The names go to the game as they are typed; the panel shows itself while the game
// is at the player entry, with the first box ready for typing, and its OK confirms the players.
class PlayerEntryPanel : public ConfirmPanel {
    Q_OBJECT
public:
    PlayerEntryPanel(QWidget* playArea, QuizGame& game);

    // Places the contents for the play area's size.
    void layOut(int width, int height);
    // OK: the named players play.
    void confirm() override;
    void clearName(int slot); // slot 1..4
    void raiseClearButton(int slot);
    // Over one slot: flattens its Clear button; slot 0, over the panel itself: all four and OK.
    void flattenButtons(int slot);

    ImageView* heading = nullptr;
    std::array<Panel*, 4> nameSlots{};           // the four name nameSlots
    std::array<Label*, 4> slotCaptions{};    // "Player One" ... "Player Four" above the boxes
    std::array<QLineEdit*, 4> nameBoxes{};   // the name boxes of nameSlots 1 to 4
    std::array<Panel*, 4> clearButtons{};    // each slot's Clear button

private:
    void nameChanged(int slot);
    void showPhase(QuizGame::Phase phase);

    QuizGame& game;
};
