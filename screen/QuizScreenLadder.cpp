// The prize ladder: a light runs LOSE, $1, LOSE, $5, LOSE, $15, LOSE, $50 until STOP.
#include "QuizScreen.h"

#include "SoundCues.h"

#include <algorithm>

namespace {
constexpr int LoseIndex = QuizGame::loseIndex;
} // namespace

void QuizScreen::startLadder() {
    for (int prize = 1; prize <= LoseIndex; ++prize) {
        setLamp(prize, false);
        lampOf(prize)->show();
    }
    pressStopPrompt->show();
    ladderLightTimer->Start();
    ladderTimeLimit->Start();
}

void QuizScreen::stepLadderLight() {
    cues().SpinStep(game.ladderStep);
    for (int prize = 1; prize <= 4; ++prize)
        setLamp(prize, false);
    if (display.lampLit[LoseIndex - 1] == 0) {
        setLamp(LoseIndex, true);
        return;
    }
    setLamp(LoseIndex, false);
    game.ladderStep = game.ladderStep % 4 + 1;
    setLamp(game.ladderStep, true);
}

void QuizScreen::stopLadder() {
    ScreenState& d = display;
    if (!ladderShowing() || d.stopLit != 0) return;

    // A stop before the light has reached any lamp counts as LOSE.
    const bool anyLit =
        std::any_of(d.lampLit.begin(), d.lampLit.end(), [](int lit) { return lit != 0; });
    if (!anyLit) setLamp(LoseIndex, true);

    int won = game.credit;
    if (d.lampLit[LoseIndex - 1] != 0) game.prizeIndex = LoseIndex;
    ladderLightTimer->Stop();
    ladderTimeLimit->Stop();
    stopButton->CopyPicture(*stopLitPicture);
    d.stopLit = 1;
    pressStopPrompt->hide();
    for (int prize = 1; prize <= 4; ++prize) {
        if (d.lampLit[static_cast<std::size_t>(prize - 1)] != 0) {
            game.prizeIndex = static_cast<std::uint8_t>(prize);
            won += QuizGame::prizeDollars(prize);
            break;
        }
    }
    // The meter counts the prize up one dollar at a time.
    for (int dollars = won - game.credit; dollars > 0; --dollars)
        addCreditDollar();
    game.credit = won;
    game.recordScore(won);

    prizeDisplayTimer->Start();
    prizeFlashTimer->Start();
}

void QuizScreen::pressStop() {
    stopLadder();
}

void QuizScreen::stopLadderAtTimeLimit() {
    // The limit only ends a spin that is still running.
    if (!ladderShowing() || display.stopLit != 0) return;
    ladderLightTimer->Stop();
    ladderTimeLimit->Stop();
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
    if (!oneDollarLamp->isHidden()) cues().PrizeFlash(prize);
}

void QuizScreen::endPrizeDisplay() {
    prizeDisplayTimer->Stop();
    prizeFlashTimer->Stop();
    stopButton->CopyPicture(*stopPicture);
    display.stopLit = 0;
    for (int prize = 1; prize <= LoseIndex; ++prize)
        lampOf(prize)->hide();
    endQuestion();
}

bool QuizScreen::ladderShowing() const {
    return !fiftyDollarLamp->isHidden();
}
