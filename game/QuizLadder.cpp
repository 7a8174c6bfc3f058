// The prize ladder: a light runs LOSE, $1, LOSE, $5, LOSE, $15, LOSE, $50 until STOP.
#include "Quiz.h"

#include "SoundCues.h"

#include <algorithm>

namespace {
constexpr int LoseIndex = QuizGame::loseIndex;
} // namespace

void TQuizScreen::StartLadder() {
    for (int prize = 1; prize <= LoseIndex; ++prize) {
        SetLamp(prize, false);
        LampOf(prize)->show();
    }
    HitStop->show();
    Timer8->Start();
    TOStopWin->Start();
}

void TQuizScreen::Timer8Timer() {
    Cues().SpinStep(game.ladderStep);
    for (int prize = 1; prize <= 4; ++prize)
        SetLamp(prize, false);
    if (display.lampLit[LoseIndex - 1] == 0) {
        SetLamp(LoseIndex, true);
        return;
    }
    SetLamp(LoseIndex, false);
    game.ladderStep = game.ladderStep % 4 + 1;
    SetLamp(game.ladderStep, true);
}

void TQuizScreen::RTM() {
    ScreenState& d = display;
    if (!LadderShowing() || d.stopLit != 0) return;

    // A stop before the light has reached any lamp counts as LOSE.
    const bool anyLit =
        std::any_of(d.lampLit.begin(), d.lampLit.end(), [](int lit) { return lit != 0; });
    if (!anyLit) SetLamp(LoseIndex, true);

    int won = game.credit;
    if (d.lampLit[LoseIndex - 1] != 0) game.prizeIndex = LoseIndex;
    Timer8->Stop();
    TOStopWin->Stop();
    RoundT->CopyPicture(*StopIn);
    d.stopLit = 1;
    HitStop->hide();
    for (int prize = 1; prize <= 4; ++prize) {
        if (d.lampLit[static_cast<std::size_t>(prize - 1)] != 0) {
            game.prizeIndex = static_cast<std::uint8_t>(prize);
            won += QuizGame::prizeDollars(prize);
            break;
        }
    }
    // The meter counts the prize up one dollar at a time.
    for (int dollars = won - game.credit; dollars > 0; --dollars)
        IncrementCreditClick();
    game.credit = won;
    game.recordScore(won);

    Timer9->Start();
    Timer11->Start();
}

void TQuizScreen::RoundTMouseDown() {
    RTM();
}

void TQuizScreen::TOStopWinTimer() {
    // The limit only ends a spin that is still running.
    if (!LadderShowing() || display.stopLit != 0) return;
    Timer8->Stop();
    TOStopWin->Stop();
    for (int prize = 4; prize >= 1; --prize)
        SetLamp(prize, false);
    SetLamp(LoseIndex, true);
    RTM();
}

void TQuizScreen::Timer11Timer() {
    const int prize = game.prizeIndex;
    if (prize < 1 || prize > LoseIndex) return;
    if (display.lampLit[static_cast<std::size_t>(prize - 1)] != 0) {
        SetLamp(prize, false);
        return;
    }
    SetLamp(prize, true);
    if (!OneDollar->isHidden()) Cues().PrizeFlash(prize);
}

void TQuizScreen::Timer9Timer() {
    Timer9->Stop();
    Timer11->Stop();
    RoundT->CopyPicture(*StopOut);
    display.stopLit = 0;
    for (int prize = 1; prize <= LoseIndex; ++prize)
        LampOf(prize)->hide();
    Timer6Timer();
}

bool TQuizScreen::LadderShowing() const {
    return !FiftyDollars->isHidden();
}
