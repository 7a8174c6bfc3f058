// Attract mode: the button cycle, the picture sequence and the logo flashes. All of it is
// display only: pictures and visibility change, no sound is sent and no game state moves.
#include "QuizScreen.h"

#include "HallOfFame.h"

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

void QuizScreen::cycleAttractButtons() {
    if (game.gameRunning()) return;
    const int startWasLit = display.startLit;
    if (startWasLit == 1) {
        stopButton->copyPicture(*stopLitPicture);
        display.stopLit = 1;
        display.startLit = 0;
    } else {
        stopButton->copyPicture(*stopPicture);
        display.stopLit = 0;
        display.startLit = 1;
    }
    stopLitPicture->tag = display.stopLit;
    const int lit = display.buttonCycle;
    lightButtons(lit == 0, lit == 1, lit == 2, lit == 3, startWasLit == 0);
    display.buttonCycle = (display.buttonCycle + 1) % 4;
    answerButtonA->tag = display.buttonCycle;
}

void QuizScreen::stepAttractSequence() {
    if (game.gameRunning()) return;
    const int n = ++display.attractTicks;
    const auto next = [this](int stage) {
        display.attractStage = stage;
        display.attractTicks = 0;
    };
    switch (display.attractStage) {
    case 0:
        if (n >= BlankTicks) {
            companyLogo->show();
            presentsCaption->hide();
            titlePicture->hide();
            titlePictureLit->hide();
            next(1);
        }
        break;
    case 1:
        if (n == LogoTicks) {
            presentsCaption->show();
            next(2);
        }
        break;
    case 2:
        if (n == CaptionTicks) {
            companyLogo->hide();
            presentsCaption->hide();
            titlePicture->show();
            titlePictureLit->hide();
            titleFlashTimer->start();
        } else if (n > CaptionTicks && titlePicture->height() >= MinTitleHeight) {
            next(3);
        }
        break;
    case 3:
        if (n == TitleTicks) {
            titleFlashTimer->stop();
            titlePicture->hide();
            titlePictureLit->hide();
            pressStartPrompt->show();
            next(4);
        }
        break;
    case 4:
        if (n == PromptTicks) {
            for (ImageView* stage :
                 {companyLogo, presentsCaption, titlePicture, titlePictureLit, pressStartPrompt})
                stage->hide();
            next(hallOfFame->showPage() ? 5 : 0);
        }
        break;
    case 5: // the hall of fame page, when there is one to show
        if (n == HallOfFame::PageTicks) {
            hallOfFame->hidePage();
            next(0);
        }
        break;
    }
}

void QuizScreen::flashTitlePicture() {
    if (!titlePicture->isHidden()) {
        titlePicture->hide();
        titlePictureLit->show();
    } else if (!titlePictureLit->isHidden()) {
        titlePicture->show();
        titlePictureLit->hide();
    }
}

void QuizScreen::flashTopLogo() {
    if (display.logoPhase == 1) {
        topLogo->copyPicture(*topLogoPicture);
        display.logoPhase = 0;
    } else {
        topLogo->copyPicture(*topLogoLitPicture);
        display.logoPhase = 1;
    }
    topLogoTimer->tag = display.logoPhase;
}
