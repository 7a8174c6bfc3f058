#pragma once

#include "QuizFixture.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QTest>

#include "Setques.h"

#include <functional>
#include <ostream>

// Readable failure messages for texts.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

// A game screen with the moves of a player: names, START, answers and the ladder's STOP.
class TGameFixture : public TQuizFixture {
protected:
    void SoundOn() {
        Screen->On2->setChecked(true);
        Screen->Off2->setChecked(false);
    }
    void SoundOff() {
        Screen->On2->setChecked(false);
        Screen->Off2->setChecked(true);
    }

    // Fills the four name boxes (missing ones empty).
    void SetNames(const QStringList& names) {
        for (int k = 0; k < 4; ++k)
            Screen->PlayerName[static_cast<std::size_t>(k)]->setText(k < names.size() ? names[k]
                                                                                      : QString());
    }
    // START, the names, OK.
    void StartGame(const QStringList& names = {}) {
        Screen->RedTMouseDown(Screen->StartT);
        SetNames(names);
        Screen->OKDispMouseDown();
    }

    // Moves the clock on one millisecond at a time until pred holds; false after limitMs.
    bool AdvanceUntil(const std::function<bool()>& pred, int limitMs = 60000) {
        for (int ms = 0; ms < limitMs; ++ms) {
            if (pred()) return true;
            Advance(1);
        }
        return pred();
    }
    bool WaitForAnswers() {
        return AdvanceUntil([this] { return Screen->game.answersOpen; });
    }

    TImage* Button(int answer) const {
        TImage* buttons[4] = {Screen->RedT, Screen->GreenT, Screen->BlueT, Screen->YellowT};
        return buttons[answer];
    }
    // The first answer shown with the correct text, and the first with another.
    int CorrectSlot() const {
        for (int i = 0; i < 4; ++i)
            if (Screen->Answer[static_cast<std::size_t>(i)]->Caption() ==
                Screen->game.correctAnswer)
                return i;
        return -1;
    }
    int WrongSlot() const {
        for (int i = 0; i < 4; ++i)
            if (Screen->Answer[static_cast<std::size_t>(i)]->Caption() !=
                Screen->game.correctAnswer)
                return i;
        return -1;
    }
    void Choose(int answer) { Screen->RedTMouseDown(Button(answer)); }

    // Waits for the answers, chooses one and lets the judgement fall (2.5 s).
    void AnswerRight() {
        ASSERT_TRUE(WaitForAnswers());
        Choose(CorrectSlot());
        Advance(2500);
        ASSERT_TRUE(Visible(Screen->MARK4));
    }
    void AnswerWrong() {
        ASSERT_TRUE(WaitForAnswers());
        Choose(WrongSlot());
        Advance(2500);
        ASSERT_TRUE(Visible(Screen->Wrong));
    }
    // A wrong answer and its OK.
    void LoseQuestion() {
        AnswerWrong();
        Screen->Image34MouseDown();
    }
    // A right answer, the ladder stopped on the lamp of that prize, and the 2 s display.
    void WinQuestion(int prizeIndex) {
        AnswerRight();
        ASSERT_TRUE(AdvanceUntil([this] { return Screen->LadderShowing(); }));
        ASSERT_TRUE(AdvanceUntil([this, prizeIndex] {
            return Screen->display.lampLit[static_cast<std::size_t>(prizeIndex - 1)] != 0;
        }));
        Screen->RTM();
        Advance(2000);
        ASSERT_FALSE(Screen->LadderShowing());
    }

    // What the credit meter shows: a digit or a blank per position.
    QString Meter() const {
        QString shown;
        for (const TImage* digit : Screen->Digit) {
            QChar c = QLatin1Char('?');
            if (Shows(digit, Screen->NB)) c = QLatin1Char(' ');
            for (int d = 0; d < 10; ++d)
                if (Shows(digit, Screen->N[static_cast<std::size_t>(d)])) c = QChar(u'0' + d);
            shown += c;
        }
        return shown;
    }

    // Short messages on one status byte, since the last ClearMidi().
    std::vector<int> Notes(std::uint8_t status) const {
        std::vector<int> notes;
        for (const auto& m : Sent())
            if (m.Status == status) notes.push_back(m.Data1);
        return notes;
    }
};

// Real input: the screen is shown as on a desktop, and presses and keys reach it through its
// window, so each goes to whatever control lies at that point or has the focus — as a
// player's would, frames and gaps included.
class TRealInputFixture : public TGameFixture {
protected:
    // Creates the screen and shows it (the splash's hand-over).
    void CreateShown(int questions = 20) {
        Create(questions);
        Screen->show();
        GiveFocus(Screen.get());
    }
    // The window manager gives a window the focus.
    static void GiveFocus(QWidget* window) {
        QApplication::setActiveWindow(window);
        QCoreApplication::processEvents();
    }
    // A press and release of the left button at a point of a control (its centre by default).
    void ClickAt(const QWidget* control, QPoint local = QPoint(-1, -1)) {
        if (local == QPoint(-1, -1)) local = control->rect().center();
        ClickWindowAt(control->mapTo(Screen.get(), local));
    }
    void ClickWindowAt(QPoint inWindow) {
        QTest::mouseClick(Screen->windowHandle(), Qt::LeftButton, {}, inWindow);
        QCoreApplication::processEvents();
    }
    // A key pressed and released on the window, short-cuts included.
    void Key(int key) {
        QTest::keyClick(Screen->windowHandle(), static_cast<Qt::Key>(key));
        QCoreApplication::processEvents();
    }
    // A command of the menu bar itself ("&End Game").
    void ClickMenuBar(QAction* action) {
        QMenuBar* bar = Screen->menuBar();
        ClickAt(bar, bar->actionGeometry(action).center());
    }
    // Closes the question editor as its close button would, and lets the screen take over.
    void CloseEditor() {
        ASSERT_NE(Screen->Editor(), nullptr);
        Screen->Editor()->close();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        GiveFocus(Screen.get());
    }
    // Every control that only a game shows, visible now.
    QStringList GameControlsShowing() const {
        const TQuizScreen& s = *Screen;
        QStringList showing;
        for (const QWidget* w : std::initializer_list<const QWidget*>{s.T1,
                                                                      s.T2,
                                                                      s.TimeLine,
                                                                      s.C1,
                                                                      s.QuestionBlock,
                                                                      s.QF2,
                                                                      s.QF3,
                                                                      s.QF4,
                                                                      s.QF5,
                                                                      s.QF6,
                                                                      s.MARK4,
                                                                      s.GameOver,
                                                                      s.GameOver2,
                                                                      s.OneDollar,
                                                                      s.FiveDollars,
                                                                      s.FifteenDollars,
                                                                      s.FiftyDollars,
                                                                      s.Lose,
                                                                      s.HitStop,
                                                                      s.Wrong,
                                                                      s.TimeOut,
                                                                      s.PlayerPanel,
                                                                      s.ReadyPanel,
                                                                      s.FinalScorePanel})
            if (!w->isHidden()) showing << w->objectName();
        for (std::size_t i = 0; i < 4; ++i)
            for (const QWidget* w :
                 std::initializer_list<const QWidget*>{s.Cover[i], s.Cap[i], s.Answer[i]})
                if (!w->isHidden()) showing << w->objectName();
        if (s.NewGame1->isVisible()) showing << QStringLiteral("End Game entry");
        return showing;
    }
    // Game timers running or marked to resume, beyond the attract mode's own.
    QStringList GameTimersLeft() const {
        const TQuizScreen& s = *Screen;
        QStringList left;
        for (TTimer* t : Screen->GameTimers()) {
            const bool attract = t == s.Timer1.get() || t == s.Timer2.get() ||
                                 t == s.Timer3.get() || t == s.Timer4.get() || t == s.Timer10.get();
            if (!attract && (t->Enabled() || t->Tag == 1))
                left << QString::fromStdString(t->Name());
        }
        return left;
    }
};
