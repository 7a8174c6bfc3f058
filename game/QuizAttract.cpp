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
    if (game.gameRunning) return;
    const int startWasLit = display.startLit;
    if (startWasLit == 1) {
        RoundT->CopyPicture(*StopIn);
        display.stopLit = 1;
        display.startLit = 0;
    } else {
        RoundT->CopyPicture(*StopOut);
        display.stopLit = 0;
        display.startLit = 1;
    }
    StopIn->Tag = display.stopLit;
    const int lit = display.buttonCycle;
    DrawButtons(lit == 0, lit == 1, lit == 2, lit == 3, startWasLit == 0);
    display.buttonCycle = (display.buttonCycle + 1) % 4;
    RedT->Tag = display.buttonCycle;
}

void TQuizScreen::Timer2Timer() {
    if (game.gameRunning) return;
    const int n = ++display.attractTicks;
    const auto next = [this](int stage) {
        display.attractStage = stage;
        display.attractTicks = 0;
    };
    switch (display.attractStage) {
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
    if (display.logoPhase == 1) {
        Image1->CopyPicture(*LogoOut);
        display.logoPhase = 0;
    } else {
        Image1->CopyPicture(*LogoIn);
        display.logoPhase = 1;
    }
    LogoFlash->Tag = display.logoPhase;
}
