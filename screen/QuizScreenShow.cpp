// What the window shows of the game beyond its panels: the banners, the lit buttons, the menu
// entries the game offers, and the end of the attract pictures when a question starts.
#include "QuizScreen.h"

#include "Dialogs.h"
#include "HallOfFame.h"

#include <QAction>
#include <QLineEdit>

namespace {
using Phase = QuizGame::Phase;
} // namespace

void QuizScreen::connectGame() {
    connect(&game, &QuizGame::phaseChanged, this, &QuizScreen::showPhase);
    connect(&game, &QuizGame::offersChanged, this, &QuizScreen::showOffers);
    connect(&game, &QuizGame::correctBannerFlashed, this,
            [this](bool lit) { showCorrectBanner(lit, lit ? 1 : 0); });
    connect(&game, &QuizGame::warningRaised, this,
            [this](const QString& text) { services.dialogs.warning(this, text); });
}

void QuizScreen::showPhase(Phase phase) {
    // Nothing of the phase before stays: every game control is hidden, then this phase's shown.
    hideGameControls();
    const int chosen = game.chosenAnswer();
    const bool answerLit = chosen >= 0 && (phase == Phase::Judging || phase == Phase::Correct ||
                                           phase == Phase::Wrong);
    if (phase != Phase::Attract)
        lightButtons(answerLit && chosen == 0, answerLit && chosen == 1, answerLit && chosen == 2,
                     answerLit && chosen == 3, false);

    const bool stopped = phase == Phase::Prize;
    stopButton->copyPicture(stopped ? *stopLitPicture : *stopPicture);
    if (phase != Phase::Attract) display.stopLit = stopped ? 1 : 0;

    switch (phase) {
    case Phase::Attract:
        showAttractMode();
        break;
    case Phase::PlayerEntry:
        attractButtonTimer->stop();
        attractButtonTimer->tag = 0;
        break;
    case Phase::Typing:
    case Phase::AnswersOpen:
    case Phase::Judging:
        // The question area shows itself; the attract pictures and their timers end.
        for (ImageView* stage :
             {companyLogo, presentsCaption, titlePicture, titlePictureLit, pressStartPrompt})
            stage->hide();
        attractButtonTimer->stop();
        attractSequenceTimer->stop();
        break;
    case Phase::Correct:
        correctBanner->show();
        showCorrectBanner(true, 0);
        break;
    case Phase::GameOver:
        gameOverBanner->show();
        break;
    case Phase::Ladder:
    case Phase::Prize:
    case Phase::GetReady:
    case Phase::PlayerOut:
    case Phase::Wrong:
    case Phase::TimeOut:
    case Phase::FinalScores:
        // The ladder and the panels show themselves.
        break;
    case Phase::NameEntry:
        // The buttons pick the name's letters.
        lightButtons(true, true, true, true, true);
        break;
    }
}

void QuizScreen::showOffers() {
    changeQuestionFileAction->setEnabled(game.canChangeQuestionFile());
    editQuestionsAction->setEnabled(game.canEditQuestions());
    endGameAction->setVisible(game.canEndGame());
    if (clearHallAction) clearHallAction->setEnabled(hallOfFame && hallOfFame->canClear());
}

void QuizScreen::showAttractMode() {
    for (ImageView* stage :
         {companyLogo, presentsCaption, titlePicture, titlePictureLit, pressStartPrompt})
        stage->hide();
    display.attractStage = 0;
    display.attractTicks = 0;
    for (Timer* t : {attractButtonTimer.get(), attractSequenceTimer.get()}) {
        t->start();
        t->tag = 1;
    }
}

void QuizScreen::showCorrectBanner(bool lit, int flashPhase) {
    correctBanner->copyPicture(lit ? *correctLitPicture : *correctDimPicture);
    display.correctPhase = flashPhase;
}

void QuizScreen::lightButtons(bool a, bool b, bool c, bool d, bool start) {
    const struct {
        ImageView* button;
        ImageView* litPicture;
        ImageView* unlitPicture;
        int& lit;
        bool on;
    } buttons[] = {
        {answerButtonA, answerALitPicture, answerAPicture, display.buttonLit[0], a},
        {answerButtonB, answerBLitPicture, answerBPicture, display.buttonLit[1], b},
        {answerButtonC, answerCLitPicture, answerCPicture, display.buttonLit[2], c},
        {answerButtonD, answerDLitPicture, answerDPicture, display.buttonLit[3], d},
        {startButton, startLitPicture, startPicture, display.startLit, start},
    };
    for (const auto& button : buttons) {
        button.button->copyPicture(button.on ? *button.litPicture : *button.unlitPicture);
        button.lit = button.on ? 1 : 0;
    }
}

bool QuizScreen::ladderShowing() const {
    return game.phase() == QuizGame::Phase::Ladder || game.phase() == QuizGame::Phase::Prize;
}
