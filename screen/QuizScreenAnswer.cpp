// Answer input, the time limit and the judgement.
#include "QuizScreen.h"

#include "SoundCues.h"

#include <QAction>

#include <algorithm>

namespace {
const QColor CoverNavy(0x00, 0x00, 0x80);
const QColor CoverBlue(0x00, 0x00, 0xFF);
} // namespace

void QuizScreen::lightButtons(bool a, bool b, bool c, bool d, bool start) {
    const struct {
        ImageView* Button;
        ImageView* LitPicture;
        ImageView* UnlitPicture;
        int& Lit;
        bool On;
    } buttons[] = {
        {answerButtonA, answerALitPicture, answerAPicture, display.buttonLit[0], a},
        {answerButtonB, answerBLitPicture, answerBPicture, display.buttonLit[1], b},
        {answerButtonC, answerCLitPicture, answerCPicture, display.buttonLit[2], c},
        {answerButtonD, answerDLitPicture, answerDPicture, display.buttonLit[3], d},
        {startButton, startLitPicture, startPicture, display.startLit, start},
    };
    for (const auto& button : buttons) {
        button.Button->copyPicture(button.On ? *button.LitPicture : *button.UnlitPicture);
        button.Lit = button.On ? 1 : 0;
    }
}

void QuizScreen::pressControl(QObject* sender) {
    if (ladderShowing()) return;

    const bool anyLit = std::any_of(display.buttonLit.begin(), display.buttonLit.end(),
                                    [](int lit) { return lit != 0; });
    if (game.gameRunning && game.answersOpen && !anyLit) {
        const ImageView* buttons[4] = {answerButtonA, answerButtonB, answerButtonC, answerButtonD};
        int chosen = -1;
        for (int i = 0; i < 4 && chosen < 0; ++i) {
            const auto k = static_cast<std::size_t>(i);
            if (sender == buttons[i] || sender == answerTexts[k] || sender == answerLetters[k] ||
                sender == answerRows[k])
                chosen = i;
        }
        if (chosen < 0) return;
        lightButtons(chosen == 0, chosen == 1, chosen == 2, chosen == 3, false);
        answerRows[static_cast<std::size_t>(chosen)]->setBrushColor(CoverBlue);
        game.answersOpen = false;
        judgementTimer->start();
        cues().answerPress(chosen, display.clickVelocity);
        game.chosenAnswer = chosen;
        game.setPhase(QuizGame::Phase::Judging);
        return;
    }
    if (sender == startButton && !game.gameRunning) pressStart();
}

void QuizScreen::tickTimeGauge() {
    const bool anyLit = std::any_of(display.buttonLit.begin(), display.buttonLit.end(),
                                    [](int lit) { return lit != 0; });
    if (!anyLit && !game.timeLimitHeld() && !answerLetters[0]->isHidden() &&
        !timeGauge->isHidden() && game.timeLeft > 0) {
        game.tickTime();
        const int left = game.timeLeft;
        timeGauge->setProgress(left);
        timeGauge->setAccessibleDescription(
            QStringLiteral("%1 seconds left")
                .arg(left * timeGaugeTimer->interval() / 1000.0, 0, 'f', 1));
        cues().timeTick(left);
    }
    if (game.timeUp()) {
        game.answersOpen = false;
        showQuestionArea(false);
        timeOutQuestion->setCaption(questionLabel->caption());
        timeOutCorrect->setCaption(game.correctAnswer);
        timeOutPanelOkFrame->setBevelOuter(Bevel::None);
        timeOutPanel->show();
        display.fallNote = 75;
        fallRunTimer->start();
        game.restartTime();
        timeGauge->setProgress(game.timeLeft);
        game.chosenAnswer = -1;
        game.setPhase(QuizGame::Phase::TimeOut);
    }
}

void QuizScreen::judgeAnswer() {
    judgementTimer->stop();
    showQuestionArea(false);

    // The first lit button, A to D, is the answer given.
    int chosen = 3;
    for (int i = 0; i < 4; ++i) {
        if (display.buttonLit[static_cast<std::size_t>(i)] != 0) {
            chosen = i;
            break;
        }
    }
    const QString given = answerTexts[static_cast<std::size_t>(chosen)]->caption();
    if (given == game.correctAnswer) {
        correctBanner->copyPicture(*correctLitPicture);
        display.correctPhase = 0;
        correctBanner->show();
        correctBanner->repaint();
        correctFlashTimer->start();
    } else {
        wrongQuestion->setCaption(questionLabel->caption());
        wrongChosen->setCaption(given);
        wrongCorrect->setCaption(game.correctAnswer);
        wrongPanelOkFrame->setBevelOuter(Bevel::None);
        wrongPanel->show();
        display.fallNote = 75;
        fallRunTimer->start();
    }
    for (Shape* cover : answerRows)
        cover->setBrushColor(CoverNavy);
    // A correct answer moves on to the prize ladder by itself; a wrong one waits for OK.
    if (wrongPanel->isHidden()) questionEndTimer->start();
    game.setPhase(wrongPanel->isHidden() ? QuizGame::Phase::Correct : QuizGame::Phase::Wrong);
}

void QuizScreen::endQuestion() {
    questionEndTimer->stop();
    const bool correct = !correctBanner->isHidden();
    const bool over = !gameOverBanner->isHidden();
    for (QWidget* w : std::initializer_list<QWidget*>{upperBanner, lowerBanner, gameOverBanner,
                                                      correctBanner, correctHighlight})
        w->hide();
    correctFlashTimer->stop();
    lightButtons(false, false, false, false, false);

    if (correct) {
        startLadder();
        return;
    }
    if (game.credit == -1 || over) return;

    // The question is over: a fresh gauge, a little faster, and the next turn.
    game.restartTime();
    timeGauge->setProgress(game.timeLeft);
    const int faster = QuizGame::fasterGaugeStep(timeGaugeTimer->interval());
    if (faster != timeGaugeTimer->interval()) timeGaugeTimer->setInterval(faster);
    questionLabel->setCaption(QString());
    game.questionText.clear();
    game.answersOpen = false;
    selectNextPlayer();
}

void QuizScreen::playFallNote() {
    if (!soundOn() || (wrongPanel->isHidden() && timeOutPanel->isHidden())) return;
    if (display.fallNote < 30) return;
    --display.fallNote;
    cues().fallRun(display.fallNote);
}

void QuizScreen::flashCorrectBanner() {
    if (display.correctPhase == 0) {
        correctBanner->copyPicture(*correctLitPicture);
        display.correctPhase = 1;
    } else {
        correctBanner->copyPicture(*correctDimPicture);
        display.correctPhase = 0;
    }
    cues().correctFlash(display.correctPhase);
}

void QuizScreen::confirmWrongPanel() {
    if (wrongPanel->isHidden()) return;
    if (game.goesOn()) {
        wrongPanel->hide();
        endQuestion();
    } else {
        showGameOver();
        wrongPanel->hide();
    }
}

void QuizScreen::confirmTimeOutPanel() {
    if (timeOutPanel->isHidden()) return;
    if (game.goesOn()) {
        timeOutPanel->hide();
        endQuestion();
    } else {
        showGameOver();
        timeOutPanel->hide();
    }
}

void QuizScreen::raiseWrongPanelOk() {
    wrongPanelOkFrame->setBevelOuter(Bevel::Raised);
}

void QuizScreen::flattenWrongPanelOk() {
    wrongPanelOkFrame->setBevelOuter(Bevel::None);
}

void QuizScreen::raiseTimeOutPanelOk() {
    timeOutPanelOkFrame->setBevelOuter(Bevel::Raised);
}

void QuizScreen::flattenTimeOutPanelOk() {
    timeOutPanelOkFrame->setBevelOuter(Bevel::None);
}

void QuizScreen::showQuestionArea(bool visible) {
    for (QWidget* w : std::initializer_list<QWidget*>{
             timeCaption, timeGauge, timeStrip, creditCaption, questionLabel, answerFrameA,
             answerFrameB, answerFrameC, answerFrameD, answerDivider})
        w->setVisible(visible);
    showAnswerControls(visible);
}

void QuizScreen::showAnswerControls(bool visible) {
    for (std::size_t i = 0; i < 4; ++i) {
        answerRows[i]->setVisible(visible);
        answerLetters[i]->setVisible(visible);
        answerTexts[i]->setVisible(visible);
    }
}
