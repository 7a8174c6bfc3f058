// The player entry and the final scores: name boxes, their Clear buttons and the OK buttons.
#include "QuizScreen.h"

#include <QAction>
#include <QLineEdit>

namespace {
// Slot colours (a named slot glows red; an empty one is maroon with its Clear button hidden
// in the same colour).
const QColor NamedColor(0xFF, 0x00, 0x00);
const QColor EmptyColor(0x80, 0x00, 0x00);
const QColor ClearTextColor(0x80, 0x80, 0x80);
const QColor ClearHoverTextColor(0xFF, 0xFF, 0xFF);
} // namespace

void QuizScreen::playerNameChanged(int slot) {
    if (slot < 1 || slot > 4) return;
    const auto k = static_cast<std::size_t>(slot - 1);
    const bool named = !playerNameBoxes[k]->text().isEmpty();
    playerSlots[k]->setColor(named ? NamedColor : EmptyColor);
    clearButtons[k]->setColor(named ? NamedColor : EmptyColor);
    clearButtons[k]->setFontColor(named ? ClearTextColor : EmptyColor);
    if (!named) clearButtons[k]->setBevelOuter(Bevel::None);
    playerSlots[k]->setAccessibleDescription(named ? playerNameBoxes[k]->text() : QString());
    game.setPlayerName(slot, playerNameBoxes[k]->text());
}

void QuizScreen::clearPlayerName(int slot) {
    if (slot < 1 || slot > 4) return;
    const auto k = static_cast<std::size_t>(slot - 1);
    playerNameBoxes[k]->clear();
    clearButtons[k]->setBevelOuter(Bevel::None);
}

void QuizScreen::raiseClearButton(int slot) {
    if (slot < 1 || slot > 4) return;
    const auto k = static_cast<std::size_t>(slot - 1);
    if (playerNameBoxes[k]->text().isEmpty()) return;
    clearButtons[k]->setBevelOuter(Bevel::Raised);
    clearButtons[k]->setFontColor(ClearHoverTextColor);
}

void QuizScreen::flattenPlayerPanelButtons(int slot) {
    // Over one slot: flatten its Clear button; over the panel itself: all four, and the OK.
    for (int s = 1; s <= 4; ++s) {
        if (slot != 0 && s != slot) continue;
        const auto k = static_cast<std::size_t>(s - 1);
        clearButtons[k]->setBevelOuter(Bevel::None);
        clearButtons[k]->setFontColor(playerNameBoxes[k]->text().isEmpty() ? EmptyColor
                                                                           : ClearTextColor);
    }
    if (slot == 0) playerPanelOkFrame->setBevelOuter(Bevel::None);
}

bool QuizScreen::nameBoxKeyTyped(QChar key) {
    if (key != QChar(13)) return false;
    game.pressEnter();
    return true;
}

void QuizScreen::confirmPlayers() {
    game.confirmPlayers();
}

void QuizScreen::raisePlayerPanelOk() {
    playerPanelOkFrame->setBevelOuter(Bevel::Raised);
}
