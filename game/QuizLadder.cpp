// The prize ladder: a light runs LOSE, $1, LOSE, $5, LOSE, $15, LOSE, $50 until STOP.
#include "Quiz.h"

#include "SoundCues.h"

#include <QLineEdit>

#include <algorithm>

namespace {
constexpr int LoseIndex = 5;
// Dollars of the prize lamps $1, $5, $15, $50.
constexpr int PrizeDollars[4] = {1, 5, 15, 50};
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
    TQuizState& s = State;
    Cues().SpinStep(s.LadderStep);
    for (int prize = 1; prize <= 4; ++prize)
        SetLamp(prize, false);
    if (s.LampLit[LoseIndex - 1] == 0) {
        SetLamp(LoseIndex, true);
        return;
    }
    SetLamp(LoseIndex, false);
    s.LadderStep = s.LadderStep % 4 + 1;
    SetLamp(s.LadderStep, true);
}

void TQuizScreen::RTM() {
    TQuizState& s = State;
    if (!LadderShowing() || s.StopLit != 0) return;

    // A stop before the light has reached any lamp counts as LOSE.
    const bool anyLit =
        std::any_of(s.LampLit.begin(), s.LampLit.end(), [](int lit) { return lit != 0; });
    if (!anyLit) SetLamp(LoseIndex, true);

    int won = s.Credit;
    if (s.LampLit[LoseIndex - 1] != 0) s.PrizeIndex = LoseIndex;
    Timer8->Stop();
    TOStopWin->Stop();
    RoundT->CopyPicture(*StopIn);
    s.StopLit = 1;
    HitStop->hide();
    for (int prize = 1; prize <= 4; ++prize) {
        if (s.LampLit[static_cast<std::size_t>(prize - 1)] != 0) {
            s.PrizeIndex = static_cast<std::uint8_t>(prize);
            won += PrizeDollars[prize - 1];
            break;
        }
    }
    // The meter counts the prize up one dollar at a time.
    for (int dollars = won - s.Credit; dollars > 0; --dollars)
        IncrementCreditClick();
    s.Credit = won;

    int slot = s.CurrentPlayer;
    if (slot < 1 || slot > 4) {
        slot = 1;
        for (int k = 1; k <= 4; ++k) {
            if (!PlayerName[static_cast<std::size_t>(k - 1)]->text().isEmpty()) {
                slot = k;
                break;
            }
        }
    }
    int& best = s.PlayerScore[static_cast<std::size_t>(slot - 1)];
    if (won > best) best = won;

    Timer9->Start();
    Timer11->Start();
}

void TQuizScreen::RoundTMouseDown() {
    RTM();
}

void TQuizScreen::TOStopWinTimer() {
    // The limit only ends a spin that is still running.
    if (!LadderShowing() || State.StopLit != 0) return;
    Timer8->Stop();
    TOStopWin->Stop();
    for (int prize = 4; prize >= 1; --prize)
        SetLamp(prize, false);
    SetLamp(LoseIndex, true);
    RTM();
}

void TQuizScreen::Timer11Timer() {
    const int prize = State.PrizeIndex;
    if (prize < 1 || prize > LoseIndex) return;
    if (State.LampLit[static_cast<std::size_t>(prize - 1)] != 0) {
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
    State.StopLit = 0;
    for (int prize = 1; prize <= LoseIndex; ++prize)
        LampOf(prize)->hide();
    Timer6Timer();
}

bool TQuizScreen::LadderShowing() const {
    return !FiftyDollars->isHidden();
}
