// The question tick: draws a question and types it out letter by letter.
#include "QuizScreen.h"

#include "Dialogs.h"
#include "SoundCues.h"

#include <QAction>

void QuizScreen::revealNextLetter() {
    QuizGame& s = game;
    if (!s.gameRunning || s.answersOpen || s.credit == -1) return;

    // A. Draw the next question. Without a set, or with one that went bad since it was
    // checked, the warning shows once and the game ends so the scores still show.
    if (s.questionText.isEmpty()) {
        const QString warning = s.drawNextQuestion();
        if (!warning.isEmpty()) {
            services.dialogs.warning(this, warning);
            showGameOver();
            return;
        }
        s.chosenAnswer = -1;
        s.setPhase(QuizGame::Phase::Typing);
        return;
    }

    // B. Type one letter, unless a Wrong or TimeOut panel holds the question.
    if (!wrongPanel->isHidden() || !timeOutPanel->isHidden()) return;

    QString caption = questionLabel->caption();
    if (caption.isEmpty()) {
        // The question is charged at its first letter.
        chargeQuestion();
        if (s.credit == -1) {
            showGameOver();
            return;
        }
    }
    if (caption.size() < s.questionText.size()) caption.append(s.questionText.at(caption.size()));
    questionLabel->setCaption(caption);

    if (caption == s.questionText) {
        for (std::size_t i = 0; i < 4; ++i) {
            answerTexts[i]->setCaption(s.answerSlots[i]);
            answerTexts[i]->setAccessibleName(QStringLiteral("%1: %2")
                                                  .arg(QChar(u'A' + static_cast<char16_t>(i)))
                                                  .arg(s.answerSlots[i]));
        }
        s.answersOpen = true;
        for (Label* cap : answerLetters)
            cap->show();
        for (Label* answer : answerTexts)
            answer->show();
        for (Shape* cover : answerRows)
            cover->show();
        s.setPhase(QuizGame::Phase::AnswersOpen);
    } else {
        cues().typingClick();
    }
}
