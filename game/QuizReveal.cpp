// The question tick: draws a question and types it out letter by letter.
#include "Quiz.h"

#include "Dialogs.h"
#include "SoundCues.h"

#include <QAction>

void TQuizScreen::Timer3Timer() {
    QuizGame& s = game;
    if (!s.gameRunning || s.answersOpen || s.credit == -1) return;

    // A. Draw the next question. Without a set, or with one that went bad since it was
    // checked, the warning shows once and the game ends so the scores still show.
    if (s.questionText.isEmpty()) {
        const QString warning = s.drawNextQuestion();
        if (!warning.isEmpty()) {
            FServices.Dialogs.Warning(this, warning);
            GameOverStep();
        }
        return;
    }

    // B. Type one letter, unless a Wrong or TimeOut panel holds the question.
    if (!Wrong->isHidden() || !TimeOut->isHidden()) return;

    QString caption = QuestionBlock->Caption();
    if (caption.isEmpty()) {
        // The question is charged at its first letter.
        DecrementCreditClick();
        if (s.credit == -1) {
            GameOverStep();
            return;
        }
    }
    if (caption.size() < s.questionText.size()) caption.append(s.questionText.at(caption.size()));
    QuestionBlock->SetCaption(caption);

    if (caption == s.questionText) {
        for (std::size_t i = 0; i < 4; ++i) {
            Answer[i]->SetCaption(s.answerSlots[i]);
            Answer[i]->setAccessibleName(QStringLiteral("%1: %2")
                                             .arg(QChar(u'A' + static_cast<char16_t>(i)))
                                             .arg(s.answerSlots[i]));
        }
        s.answersOpen = true;
        for (TLabel* cap : Cap)
            cap->show();
        for (TLabel* answer : Answer)
            answer->show();
        for (TShape* cover : Cover)
            cover->show();
    } else {
        Cues().TypingClick();
    }
}
