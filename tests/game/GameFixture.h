#pragma once

#include "FinalScoresPanel.h"
#include "Gauge.h"
#include "QuestionArea.h"
#include "PrizeLadderView.h"
#include "PlayerEntryPanel.h"
#include "ReadyPanel.h"
#include "VerdictPanel.h"
#include "QuizScreenFixture.h"
#include "ReadyPanel.h"
#include "VerdictPanel.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QTest>

#include "QuestionEditor.h"

#include <functional>
#include <ostream>

// Readable failure messages for texts.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

// A game screen with the moves of a player: names, START, answers and the ladder's STOP.
class GameFixture : public QuizScreenFixture {
protected:
    void switchSoundOn() { screen->sound().setWanted(true); }
    void switchSoundOff() { screen->sound().setWanted(false); }

    // Fills the four name boxes (missing ones empty).
    void setNames(const QStringList& names) {
        for (int k = 0; k < 4; ++k)
            screen->playerPanel->nameBoxes[static_cast<std::size_t>(k)]->setText(
                k < names.size() ? names[k] : QString());
    }
    // START, the names, OK.
    void startGame(const QStringList& names = {}) {
        screen->pressControl(screen->buttons->startButton);
        setNames(names);
        screen->playerPanel->confirm();
    }

    // Moves the clock on one millisecond at a time until pred holds; false after limitMs.
    bool advanceUntil(const std::function<bool()>& pred, int limitMs = 60000) {
        for (int ms = 0; ms < limitMs; ++ms) {
            if (pred()) return true;
            advance(1);
        }
        return pred();
    }
    bool waitForAnswers() {
        return advanceUntil([this] { return screen->game.answersOpen(); });
    }

    ImageView* button(int answer) const {
        ImageView* buttons[4] = {screen->buttons->answerButtonA, screen->buttons->answerButtonB,
                                 screen->buttons->answerButtonC, screen->buttons->answerButtonD};
        return buttons[answer];
    }
    // The first answer shown with the correct text, and the first with another.
    int correctSlot() const {
        for (int i = 0; i < 4; ++i)
            if (screen->questionArea->answerTexts[static_cast<std::size_t>(i)]->caption() ==
                screen->game.draw().correctAnswer())
                return i;
        return -1;
    }
    int wrongSlot() const {
        for (int i = 0; i < 4; ++i)
            if (screen->questionArea->answerTexts[static_cast<std::size_t>(i)]->caption() !=
                screen->game.draw().correctAnswer())
                return i;
        return -1;
    }
    void choose(int answer) { screen->pressControl(button(answer)); }

    // Waits for the answers, chooses one and lets the judgement fall (2.5 s).
    void answerRight() {
        ASSERT_TRUE(waitForAnswers());
        choose(correctSlot());
        advance(2500);
        ASSERT_TRUE(visible(screen->banners->correctBanner));
    }
    void answerWrong() {
        ASSERT_TRUE(waitForAnswers());
        choose(wrongSlot());
        advance(2500);
        ASSERT_TRUE(visible(screen->wrongPanel));
    }
    // A wrong answer and its OK.
    void loseQuestion() {
        answerWrong();
        screen->wrongPanel->confirm();
    }
    // A right answer, the ladder stopped on the lamp of that prize, and the 2 s display.
    void winQuestion(int prizeIndex) {
        answerRight();
        ASSERT_TRUE(advanceUntil([this] { return screen->ladder->isShowing(); }));
        ASSERT_TRUE(advanceUntil([this, prizeIndex] {
            return screen->display.lampLit[static_cast<std::size_t>(prizeIndex - 1)] != 0;
        }));
        screen->pressStop();
        advance(2000);
        ASSERT_FALSE(screen->ladder->isShowing());
    }

    // What the credit meter shows: a digit or a blank per position.
    QString meter() const {
        QString shown;
        for (const ImageView* digit : screen->questionArea->creditDigits) {
            QChar c = QLatin1Char('?');
            if (shows(digit, screen->questionArea->blankDigitPicture)) c = QLatin1Char(' ');
            for (int d = 0; d < 10; ++d)
                if (shows(digit, screen->questionArea->digitPictures[static_cast<std::size_t>(d)]))
                    c = QChar(u'0' + d);
            shown += c;
        }
        return shown;
    }

    // Short messages on one status byte, since the last ClearMidi().
    std::vector<int> notes(std::uint8_t status) const {
        std::vector<int> notes;
        for (const auto& m : sent())
            if (m.status == status) notes.push_back(m.data1);
        return notes;
    }
};

// Real input: the screen is shown as on a desktop, and presses and keys reach it through its
// window, so each goes to whatever control lies at that point or has the focus — as a
// player's would, frames and gaps included.
class RealInputFixture : public GameFixture {
protected:
    // Creates the screen and shows it (the splash's hand-over).
    void createShown(int questions = 20) {
        create(questions);
        screen->show();
        giveFocus(screen.get());
    }
    // The window manager gives a window the focus.
    static void giveFocus(QWidget* window) {
        QApplication::setActiveWindow(window);
        QCoreApplication::processEvents();
    }
    // A press and release of the left button at a point of a control (its centre by default).
    void clickAt(const QWidget* control, QPoint local = QPoint(-1, -1)) {
        if (local == QPoint(-1, -1)) local = control->rect().center();
        clickWindowAt(control->mapTo(screen.get(), local));
    }
    void clickWindowAt(QPoint inWindow) {
        QTest::mouseClick(screen->windowHandle(), Qt::LeftButton, {}, inWindow);
        QCoreApplication::processEvents();
    }
    // A key pressed and released on the window, short-cuts included.
    void key(int key) {
        QTest::keyClick(screen->windowHandle(), static_cast<Qt::Key>(key));
        QCoreApplication::processEvents();
    }
    // A command of the menu bar itself ("&End Game").
    void clickMenuBar(QAction* action) {
        QMenuBar* bar = screen->menuBar();
        clickAt(bar, bar->actionGeometry(action).center());
    }
    // Closes the question editor as its close button would, and lets the screen take over.
    void closeEditor() {
        ASSERT_NE(screen->editor(), nullptr);
        screen->editor()->close();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        giveFocus(screen.get());
    }
    // Every control that only a game shows, visible now.
    QStringList gameControlsShowing() const {
        const QuizScreen& s = *screen;
        QStringList showing;
        for (const QWidget* w : std::initializer_list<const QWidget*>{
                 s.questionArea->timeCaption,      s.questionArea->timeGauge,     s.questionArea->timeStrip,       s.questionArea->creditCaption,
                 s.questionArea->questionLabel,    s.questionArea->answerFrames[0],  s.questionArea->answerFrames[1],    s.questionArea->answerFrames[2],
                 s.questionArea->answerFrames[3],     s.questionArea->answerDivider, s.banners->correctBanner,   s.banners->gameOverBanner,
                 s.readyPanel->playerOutHeading, s.ladder->lamps[0], s.ladder->lamps[1],  s.ladder->lamps[2],
                 s.ladder->lamps[3],  s.ladder->lamps[4],      s.ladder->pressStopPrompt, s.wrongPanel,
                 s.timeOutPanel,     s.playerPanel,   s.readyPanel,      s.finalScorePanel})
            if (!w->isHidden()) showing << w->objectName();
        for (std::size_t i = 0; i < 4; ++i)
            for (const QWidget* w : std::initializer_list<const QWidget*>{
                     s.questionArea->answerRows[i], s.questionArea->answerLetters[i], s.questionArea->answerTexts[i]})
                if (!w->isHidden()) showing << w->objectName();
        if (s.endGameAction->isVisible()) showing << QStringLiteral("End Game entry");
        return showing;
    }
    // Game timers running or marked to resume, beyond the attract mode's own.
    QStringList gameTimersLeft() const {
        const QuizScreen& s = *screen;
        QStringList left;
        for (const Timer* t : pausingTimers(*screen)) {
            const bool attract = t == s.attract->buttonTimer.get() ||
                                 t == s.attract->sequenceTimer.get() || t == &s.game.timer(QuizGame::GameTimer::Reveal) ||
                                 t == &s.game.timer(QuizGame::GameTimer::TimeGauge) || t == &s.game.timer(QuizGame::GameTimer::FallRun);
            if (!attract && (t->enabled() || t->tag == 1))
                left << QString::fromStdString(t->name());
        }
        return left;
    }
};
