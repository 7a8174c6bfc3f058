// Attract mode: the button cycle, the picture sequence and the logo flashes. All of it is
// display only: pictures and visibility change, no sound is sent and no game state moves.
#include "Quiz.h"

namespace {
// Ticks of the picture sequence (50 ms each).
constexpr int BlankTicks = 5;    // stage 0: nothing shown
constexpr int LogoTicks = 30;    // stage 1: the company logo
constexpr int CaptionTicks = 30; // stage 2: logo and caption, then the title logo
constexpr int TitleTicks = 104;  // stage 3: the flashing title logo
constexpr int PromptTicks = 70;  // stage 4: the press-START prompt
// The title logo stage only moves on when the play area is at least this high.
constexpr int MinTitleHeight = 193;
} // namespace

void TQuizScreen::Timer1Timer() {
    if (State.GameRunning) return;
    const int startWasLit = State.StartLit;
    if (startWasLit == 1) {
        RoundT->CopyPicture(*StopIn);
        State.StopLit = 1;
        State.StartLit = 0;
    } else {
        RoundT->CopyPicture(*StopOut);
        State.StopLit = 0;
        State.StartLit = 1;
    }
    StopIn->Tag = State.StopLit;
    const int lit = State.ButtonCycle;
    DrawButtons(lit == 0, lit == 1, lit == 2, lit == 3, startWasLit == 0);
    State.ButtonCycle = (State.ButtonCycle + 1) % 4;
    RedT->Tag = State.ButtonCycle;
}

void TQuizScreen::Timer2Timer() {
    if (State.GameRunning) return;
    const int n = ++State.AttractTicks;
    const auto next = [this](int stage) {
        State.AttractStage = stage;
        State.AttractTicks = 0;
    };
    switch (State.AttractStage) {
    case 0:
        if (n >= BlankTicks) {
            Stage1->show();
            Stage2->hide();
            Stage3->hide();
            Stage3B->hide();
            next(1);
        }
        break;
    case 1:
        if (n == LogoTicks) {
            Stage2->show();
            next(2);
        }
        break;
    case 2:
        if (n == CaptionTicks) {
            Stage1->hide();
            Stage2->hide();
            Stage3->show();
            Stage3B->hide();
            MindaroLogoTimer->Start();
        } else if (n > CaptionTicks && Stage3->height() >= MinTitleHeight) {
            next(3);
        }
        break;
    case 3:
        if (n == TitleTicks) {
            MindaroLogoTimer->Stop();
            Stage3->hide();
            Stage3B->hide();
            Stage4->show();
            next(4);
        }
        break;
    case 4:
        if (n == PromptTicks) {
            for (TImage* stage : {Stage1, Stage2, Stage3, Stage3B, Stage4})
                stage->hide();
            next(0);
        }
        break;
    }
}

void TQuizScreen::MindaroLogoTimerTimer() {
    if (!Stage3->isHidden()) {
        Stage3->hide();
        Stage3B->show();
    } else if (!Stage3B->isHidden()) {
        Stage3->show();
        Stage3B->hide();
    }
}

void TQuizScreen::LogoFlashTimer() {
    if (State.LogoPhase == 1) {
        Image1->CopyPicture(*LogoOut);
        State.LogoPhase = 0;
    } else {
        Image1->CopyPicture(*LogoIn);
        State.LogoPhase = 1;
    }
    LogoFlash->Tag = State.LogoPhase;
}
