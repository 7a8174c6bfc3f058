// What the window shows of the game beyond its panels: the lit buttons and the menu entries the
// game offers.
#include "QuizScreen.h"

#include "ButtonBand.h"
#include "Dialogs.h"
#include "HallOfFame.h"

#include <QAction>

namespace {
using Phase = QuizGame::Phase;
} // namespace

void QuizScreen::connectGame() {
    connect(&game, &QuizGame::phaseChanged, this, &QuizScreen::showPhase);
    connect(&game, &QuizGame::offersChanged, this, &QuizScreen::showOffers);
    connect(&game, &QuizGame::warningRaised, this,
            [this](const QString& text) { services.dialogs.warning(this, text); });
}

void QuizScreen::showPhase(Phase phase) {
    // Attract mode's show lights the buttons itself.
    if (phase == Phase::Attract) {
        buttons->lightStop(false);
        return;
    }
    if (phase == Phase::NameEntry) {
        // The buttons pick the name's letters.
        buttons->light(true, true, true, true, true);
    } else {
        const int chosen = game.chosenAnswer();
        const bool lit = chosen >= 0 && (phase == Phase::Judging || phase == Phase::Correct ||
                                         phase == Phase::Wrong);
        buttons->light(lit && chosen == 0, lit && chosen == 1, lit && chosen == 2,
                       lit && chosen == 3, false);
    }
    buttons->lightStop(phase == Phase::Prize);
}

void QuizScreen::showOffers() {
    changeQuestionFileAction->setEnabled(game.canChangeQuestionFile());
    editQuestionsAction->setEnabled(game.canEditQuestions());
    endGameAction->setVisible(game.canEndGame());
    if (clearHallAction) clearHallAction->setEnabled(hallOfFame && hallOfFame->canClear());
}
