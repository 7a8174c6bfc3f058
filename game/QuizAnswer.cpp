// Answer input, the time limit and the judgement.
#include "Quiz.h"

#include "SoundCues.h"

#include <QAction>

#include <algorithm>

namespace {
const QColor CoverNavy(0x00, 0x00, 0x80);
const QColor CoverBlue(0x00, 0x00, 0xFF);
} // namespace

void TQuizScreen::DrawButtons(bool a, bool b, bool c, bool d, bool start) {
    const struct {
        TImage* Button;
        TImage* LitPicture;
        TImage* UnlitPicture;
        int& Lit;
        bool On;
    } buttons[] = {
        {RedT, AIn, AOut, display.buttonLit[0], a},
        {GreenT, Bin, Bout, display.buttonLit[1], b},
        {BlueT, CIn, Cout, display.buttonLit[2], c},
        {YellowT, Din, Dout, display.buttonLit[3], d},
        {StartT, StartIn, StartOut, display.startLit, start},
    };
    for (const auto& button : buttons) {
        button.Button->CopyPicture(button.On ? *button.LitPicture : *button.UnlitPicture);
        button.Lit = button.On ? 1 : 0;
    }
}

void TQuizScreen::RedTMouseDown(QObject* sender) {
    if (LadderShowing()) return;

    const bool anyLit = std::any_of(display.buttonLit.begin(), display.buttonLit.end(),
                                    [](int lit) { return lit != 0; });
    if (game.gameRunning && game.answersOpen && !anyLit) {
        const TImage* buttons[4] = {RedT, GreenT, BlueT, YellowT};
        int chosen = -1;
        for (int i = 0; i < 4 && chosen < 0; ++i) {
            const auto k = static_cast<std::size_t>(i);
            if (sender == buttons[i] || sender == Answer[k] || sender == Cap[k] ||
                sender == Cover[k])
                chosen = i;
        }
        if (chosen < 0) return;
        DrawButtons(chosen == 0, chosen == 1, chosen == 2, chosen == 3, false);
        Cover[static_cast<std::size_t>(chosen)]->SetBrushColor(CoverBlue);
        game.answersOpen = false;
        Timer5->Start();
        Cues().AnswerPress(chosen, display.clickVelocity);
        return;
    }
    if (sender == StartT && !game.gameRunning) StartPress();
}

void TQuizScreen::Timer4Timer() {
    const bool anyLit = std::any_of(display.buttonLit.begin(), display.buttonLit.end(),
                                    [](int lit) { return lit != 0; });
    if (!anyLit && !Cap[0]->isHidden() && !T2->isHidden() && T2->Progress() > 0) {
        T2->SetProgress(T2->Progress() - 1);
        const int left = T2->Progress();
        T2->setAccessibleDescription(
            QStringLiteral("%1 seconds left").arg(left * Timer4->Interval() / 1000.0, 0, 'f', 1));
        Cues().TimeTick(left);
    }
    if (T2->Progress() == 0) {
        // Time is up.
        game.answersOpen = false;
        ShowQuestionArea(false);
        Q1B->SetCaption(QuestionBlock->Caption());
        Q3B->SetCaption(game.correctAnswer);
        OK2->SetBevelOuter(TBevel::None);
        TimeOut->show();
        display.fallNote = 75;
        Timer10->Start();
        T2->SetProgress(100);
    }
}

void TQuizScreen::Timer5Timer() {
    Timer5->Stop();
    ShowQuestionArea(false);

    // The first lit button, A to D, is the answer given.
    int chosen = 3;
    for (int i = 0; i < 4; ++i) {
        if (display.buttonLit[static_cast<std::size_t>(i)] != 0) {
            chosen = i;
            break;
        }
    }
    const QString given = Answer[static_cast<std::size_t>(chosen)]->Caption();
    if (given == game.correctAnswer) {
        MARK4->CopyPicture(*CorrectIn);
        display.correctPhase = 0;
        MARK4->show();
        MARK4->repaint();
        Timer12->Start();
    } else {
        Q1->SetCaption(QuestionBlock->Caption());
        Q2->SetCaption(given);
        Q3->SetCaption(game.correctAnswer);
        OK->SetBevelOuter(TBevel::None);
        Wrong->show();
        display.fallNote = 75;
        Timer10->Start();
    }
    for (TShape* cover : Cover)
        cover->SetBrushColor(CoverNavy);
    // A correct answer moves on to the prize ladder by itself; a wrong one waits for OK.
    if (Wrong->isHidden()) Timer6->Start();
}

void TQuizScreen::Timer6Timer() {
    Timer6->Stop();
    const bool correct = !MARK4->isHidden();
    const bool over = !GameOver->isHidden();
    for (QWidget* w : std::initializer_list<QWidget*>{MARK1, MARK2, GameOver, MARK4, CorHi})
        w->hide();
    Timer12->Stop();
    DrawButtons(false, false, false, false, false);

    if (correct) {
        StartLadder();
        return;
    }
    if (game.credit == -1 || over) return;

    // The question is over: a fresh gauge, a little faster, and the next turn.
    T2->SetProgress(100);
    const int faster = QuizGame::fasterGaugeStep(Timer4->Interval());
    if (faster != Timer4->Interval()) Timer4->SetInterval(faster);
    QuestionBlock->SetCaption(QString());
    game.questionText.clear();
    game.answersOpen = false;
    SelectPlayer();
}

void TQuizScreen::Timer10Timer() {
    if (!SoundOn() || (Wrong->isHidden() && TimeOut->isHidden())) return;
    if (display.fallNote < 30) return;
    --display.fallNote;
    Cues().FallRun(display.fallNote);
}

void TQuizScreen::Timer12Timer() {
    if (display.correctPhase == 0) {
        MARK4->CopyPicture(*CorrectIn);
        display.correctPhase = 1;
    } else {
        MARK4->CopyPicture(*CorrectOut);
        display.correctPhase = 0;
    }
    Cues().CorrectFlash(display.correctPhase);
}

void TQuizScreen::Image34MouseDown() {
    if (Wrong->isHidden()) return;
    if (game.goesOn()) {
        Wrong->hide();
        Timer6Timer();
    } else {
        GameOverStep();
        Wrong->hide();
    }
}

void TQuizScreen::Image49MouseDown() {
    if (TimeOut->isHidden()) return;
    if (game.goesOn()) {
        TimeOut->hide();
        Timer6Timer();
    } else {
        GameOverStep();
        TimeOut->hide();
    }
}

void TQuizScreen::Image34MouseMove() {
    OK->SetBevelOuter(TBevel::Raised);
}

void TQuizScreen::WrongMouseMove() {
    OK->SetBevelOuter(TBevel::None);
}

void TQuizScreen::Image49MouseMove() {
    OK2->SetBevelOuter(TBevel::Raised);
}

void TQuizScreen::TimeOutMouseMove() {
    OK2->SetBevelOuter(TBevel::None);
}

void TQuizScreen::ShowQuestionArea(bool visible) {
    for (QWidget* w : std::initializer_list<QWidget*>{T1, T2, TimeLine, C1, QuestionBlock, QF2, QF3,
                                                      QF4, QF5, QF6})
        w->setVisible(visible);
    ShowAnswerControls(visible);
}

void TQuizScreen::ShowAnswerControls(bool visible) {
    for (std::size_t i = 0; i < 4; ++i) {
        Cover[i]->setVisible(visible);
        Cap[i]->setVisible(visible);
        Answer[i]->setVisible(visible);
    }
}
