// The prize ladder: a light runs LOSE, $1, LOSE, $5, LOSE, $15, LOSE, $50 until STOP.
#include "QuizScreen.h"

#include "SoundCues.h"

namespace {
constexpr int LoseIndex = QuizGame::loseIndex;
} // namespace

void QuizScreen::startLadder() {
    game.startLadder();
    for (int prize = 1; prize <= LoseIndex; ++prize) {
        setLamp(prize, false);
        lampOf(prize)->show();
    }
    pressStopPrompt->show();
    ladderLightTimer->start();
    ladderTimeLimit->start();
    game.setPhase(QuizGame::Phase::Ladder);
}

void QuizScreen::stepLadderLight() {
    cues().spinStep(game.ladderStep);
    const int lit = game.stepLadder();
    for (int lamp = 1; lamp <= LoseIndex; ++lamp)
        setLamp(lamp, lamp == lit);
}

void QuizScreen::stopLadder() {
    if (!ladderShowing() || display.stopLit != 0) return;

    const int won = game.stopLadder();
    // A stop before the light has reached any lamp lights LOSE.
    setLamp(game.prizeIndex, true);
    ladderLightTimer->stop();
    ladderTimeLimit->stop();
    stopButton->copyPicture(*stopLitPicture);
    display.stopLit = 1;
    pressStopPrompt->hide();
    // The meter counts the prize up one dollar at a time.
    for (int dollars = won - game.credit; dollars > 0; --dollars)
        addCreditDollar();
    game.credit = won;
    game.recordScore(won);

    prizeDisplayTimer->start();
    prizeFlashTimer->start();
    game.setPhase(QuizGame::Phase::Prize);
}

void QuizScreen::pressStop() {
    stopLadder();
}

void QuizScreen::stopLadderAtTimeLimit() {
    // The limit only ends a spin that is still running.
    if (!ladderShowing() || display.stopLit != 0) return;
    ladderLightTimer->stop();
    ladderTimeLimit->stop();
    game.ladderTimedOut();
    for (int prize = 4; prize >= 1; --prize)
        setLamp(prize, false);
    setLamp(LoseIndex, true);
    stopLadder();
}

void QuizScreen::flashPrizeLamp() {
    const int prize = game.prizeIndex;
    if (prize < 1 || prize > LoseIndex) return;
    if (display.lampLit[static_cast<std::size_t>(prize - 1)] != 0) {
        setLamp(prize, false);
        return;
    }
    setLamp(prize, true);
    if (!oneDollarLamp->isHidden()) cues().prizeFlash(prize);
}

void QuizScreen::endPrizeDisplay() {
    prizeDisplayTimer->stop();
    prizeFlashTimer->stop();
    stopButton->copyPicture(*stopPicture);
    display.stopLit = 0;
    for (int prize = 1; prize <= LoseIndex; ++prize)
        lampOf(prize)->hide();
    endQuestion();
}

bool QuizScreen::ladderShowing() const {
    return !fiftyDollarLamp->isHidden();
}
