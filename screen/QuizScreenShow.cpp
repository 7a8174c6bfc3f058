// What the screen shows of the game: each phase's panels and pictures, the typed question, the
// credit meter, the time gauge, the lamps and the lit buttons. All of it reads the model.
#include "QuizScreen.h"

#include "Dialogs.h"
#include "HallOfFame.h"

#include <QAction>
#include <QLineEdit>

namespace {
const QColor RowNavy(0x00, 0x00, 0x80);
const QColor RowBlue(0x00, 0x00, 0xFF);
using Phase = QuizGame::Phase;
} // namespace

void QuizScreen::connectGame() {
    connect(&game, &QuizGame::phaseChanged, this, &QuizScreen::showPhase);
    connect(&game, &QuizGame::offersChanged, this, &QuizScreen::showOffers);
    connect(&game, &QuizGame::letterTyped, this, &QuizScreen::showTypedQuestion);
    connect(&game, &QuizGame::creditChanged, this, &QuizScreen::showCredit);
    connect(&game, &QuizGame::timeChanged, this, &QuizScreen::showTimeLeft);
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
    for (std::size_t i = 0; i < 4; ++i)
        answerRows[i]->setBrushColor(
            phase == Phase::Judging && static_cast<int>(i) == chosen ? RowBlue : RowNavy);

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
        showQuestion(phase != Phase::Typing);
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
    questionLabel->setCaption(QString());
    showTimeLeft(game.timeLeft(), game.gaugeStepMs());
    for (Timer* t : {attractButtonTimer.get(), attractSequenceTimer.get()}) {
        t->start();
        t->tag = 1;
    }
}

void QuizScreen::showQuestion(bool answersShown) {
    for (ImageView* stage :
         {companyLogo, presentsCaption, titlePicture, titlePictureLit, pressStartPrompt})
        stage->hide();
    attractButtonTimer->stop();
    attractSequenceTimer->stop();
    showQuestionArea(true);
    showAnswerControls(answersShown);
    showTypedQuestion(game.typedQuestion());
    if (!answersShown) return;
    const auto& answers = game.draw().answers();
    for (std::size_t i = 0; i < 4; ++i) {
        answerTexts[i]->setCaption(answers[i]);
        answerTexts[i]->setAccessibleName(QStringLiteral("%1: %2")
                                              .arg(QChar(u'A' + static_cast<char16_t>(i)))
                                              .arg(answers[i]));
    }
}

void QuizScreen::showTypedQuestion(const QString& typed) {
    questionLabel->setCaption(typed);
}

void QuizScreen::showTimeLeft(int left, int msPerStep) {
    timeGauge->setProgress(left);
    timeGauge->setAccessibleDescription(
        QStringLiteral("%1 seconds left").arg(left * msPerStep / 1000.0, 0, 'f', 1));
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

// ---- The credit meter: five LED digits showing the credit of the player at the controls.

void QuizScreen::loadDigitHolder(unsigned digit, bool blank) {
    if (digit == 0) {
        digitHolder->copyPicture(blank ? *blankDigitPicture : *digitPictures[0]);
    } else if (digit <= 9) {
        digitHolder->copyPicture(*digitPictures[digit]);
    }
    // Any other value leaves the holder's picture as it is.
}

void QuizScreen::showCredit(int credit) {
    // An exhausted credit leaves the meter as it was (showing 0).
    if (credit == Players::exhausted) return;
    const QString text = QString::number(credit).left(5);
    const QString padded = text.rightJustified(5, QLatin1Char(' '));
    for (int pos = 4; pos >= 0; --pos) {
        const QChar c = padded.at(pos);
        if (c == QLatin1Char(' '))
            loadDigitHolder(0, true);
        else
            loadDigitHolder(static_cast<unsigned>(c.digitValue()), false);
        creditDigits[static_cast<std::size_t>(pos)]->copyPicture(*digitHolder);
    }
    creditMeter->setAccessibleName(QStringLiteral("Credit %1").arg(credit));
}

bool QuizScreen::ladderShowing() const {
    return game.phase() == QuizGame::Phase::Ladder || game.phase() == QuizGame::Phase::Prize;
}
