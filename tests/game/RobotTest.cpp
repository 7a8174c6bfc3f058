#include "GameFixture.h"

#include <QMenu>
#include <QTest>

#include <random>
#include <sstream>

namespace {
constexpr int Games = 1000;
// A game that has not come back to attract mode after this many robot moves is stuck.
constexpr int MovesPerGameLimit = 20000;
} // namespace

// A robot player: random keys, clicks, menu commands, End Game and focus changes on the
// manual clock, with the screen's invariants checked after every move.
class RobotTest : public TGameFixture {
protected:
    std::mt19937 Rng{20261210};
    // What the robot got to see, so that a robot that never reaches a phase is noticed.
    int EndedByMenu = 0;
    int Ladders = 0;
    int GamesOver = 0;
    int Roll(int n) { return std::uniform_int_distribution<int>(0, n - 1)(Rng); }
    bool Chance(int percent) { return Roll(100) < percent; }

    bool InAttractMode() const {
        const TQuizScreen& s = *Screen;
        return !s.State.GameRunning && s.PlayerPanel->isHidden() && s.ReadyPanel->isHidden() &&
               s.FinalScorePanel->isHidden();
    }

    // The rules that must hold after every move; the move is named in the failure.
    void CheckInvariants(const std::string& move) {
        TQuizScreen& s = *Screen;
        SCOPED_TRACE(move);
        ASSERT_GE(s.State.Credit, -1);
        for (int credit : s.State.PlayerCredit)
            ASSERT_GE(credit, -1);
        if (s.LadderShowing()) {
            int lit = 0;
            for (int lamp : s.State.LampLit)
                lit += lamp;
            ASSERT_LE(lit, 1);
        }
        ASSERT_NE(s.On2->isChecked(), s.Off2->isChecked());
        if (InAttractMode()) {
            for (TTimer* t : {s.Timer5.get(), s.Timer6.get(), s.Timer7.get(), s.Timer8.get(),
                              s.Timer9.get(), s.Timer11.get(), s.Timer12.get(), s.NewGame.get(),
                              s.PLAYERGAMEOVER.get(), s.TOStopWin.get()})
                ASSERT_FALSE(t->Enabled()) << t->Name();
            ASSERT_TRUE(s.Timer1->Enabled() || !s.PlayerPanel->isHidden());
        }
    }

    // One random move of a player at the cabinet; returns its name.
    std::string Move() {
        TQuizScreen& s = *Screen;
        switch (Roll(20)) {
        case 0:
        case 1:
        case 2:
        case 3:
        case 4:
        case 5: {
            const int ms = Chance(70) ? 1 + Roll(400) : 1 + Roll(5000);
            Advance(ms);
            return "wait " + std::to_string(ms);
        }
        case 6:
        case 7: {
            const char keys[] = "aAbBcCdDxZ1 ";
            const char k = keys[Roll(static_cast<int>(sizeof keys) - 1)];
            QTest::keyClick(Screen.get(), k);
            return std::string("key ") + k;
        }
        case 8:
        case 9:
            QTest::keyClick(Screen.get(), Qt::Key_Return);
            return "Enter";
        case 10: {
            QObject* controls[] = {s.RedT,      s.GreenT,   s.BlueT,    s.YellowT,   s.StartT,
                                   s.Cover[0],  s.Cover[1], s.Cover[2], s.Cover[3],  s.Cap[0],
                                   s.Cap[1],    s.Cap[2],   s.Cap[3],   s.Answer[0], s.Answer[1],
                                   s.Answer[2], s.Answer[3]};
            QObject* c = controls[Roll(17)];
            s.RedTMouseDown(c);
            return "click " + c->objectName().toStdString();
        }
        case 11:
            s.RoundTMouseDown();
            return "click STOP";
        case 12: {
            // An OK button, when its panel is up (the player can only click what shows).
            if (!s.Wrong->isHidden()) {
                s.Image34MouseDown();
                return "OK wrong";
            }
            if (!s.TimeOut->isHidden()) {
                s.Image49MouseDown();
                return "OK time-out";
            }
            if (!s.FinalScorePanel->isHidden()) {
                s.Image36MouseDown();
                return "OK scores";
            }
            if (!s.PlayerPanel->isHidden()) {
                s.OKDispMouseDown();
                return "OK players";
            }
            return "no OK";
        }
        case 13:
            if (s.NewGame1->isVisible() && Chance(2)) {
                const bool yes = Chance(50);
                Dialogs.Answer(yes ? TMsgButton::Yes : TMsgButton::No);
                s.NewGame1->trigger();
                if (yes) ++EndedByMenu;
                return yes ? "End Game, yes" : "End Game, no";
            }
            return "no End Game";
        case 14: {
            // Rarely: every switch writes the stored option.
            QAction* entry = Chance(50) ? s.On2 : s.Off2;
            if (s.Sound21->isEnabled() && Chance(20)) entry->trigger();
            return "sound";
        }
        case 15: {
            QAction* entries[] = {s.Instructions1, s.WebLink1, s.WebLink2, s.LoadQuestions1};
            QAction* entry = entries[Roll(4)];
            if (entry->isEnabled() && entry->isVisible()) entry->trigger();
            Shell.Calls.clear();
            return "menu " + entry->objectName().toStdString();
        }
        case 16: {
            // A message box or another program takes the focus and gives it back.
            QWidget box;
            s.ActiveWindowChanged(Chance(50) ? &box : nullptr);
            s.ActiveWindowChanged(&s);
            return "focus elsewhere";
        }
        case 17: {
            // Another window of the program: the game freezes until the screen is back.
            QWidget editor;
            editor.setProperty("trivoraPausesGame", true);
            s.ActiveWindowChanged(&editor);
            const TQuizState before = s.State;
            Advance(1 + Roll(20000));
            EXPECT_EQ(s.State.Credit, before.Credit);
            EXPECT_EQ(s.State.LampLit, before.LampLit);
            EXPECT_EQ(s.State.GameRunning, before.GameRunning);
            s.ActiveWindowChanged(&s);
            return "editor in front";
        }
        case 18: {
            if (!s.PlayerPanel->isHidden()) {
                const int slot = Roll(4);
                static const char* const names[] = {"", "Ann", "Bob", "  "};
                s.PlayerName[static_cast<std::size_t>(slot)]->setText(
                    QString::fromLatin1(names[Roll(4)]));
                return "name";
            }
            return "no name box";
        }
        default: {
            // Answer when the answers show (a player who knows some answers).
            if (s.State.AnswersOpen && Chance(80)) {
                const int slot = Chance(40) ? CorrectSlot() : Roll(4);
                Choose(slot);
                return "answer " + std::to_string(slot);
            }
            return "no answer";
        }
        }
    }
};

// A thousand games of random play all come back to attract mode, and the invariants hold
// after every move.
TEST_F(RobotTest, ThousandRandomGames) {
    Create();
    Screen->ActiveWindowChanged(Screen.get()); // the hand-over from the splash
    long long moves = 0;
    for (int game = 0; game < Games; ++game) {
        SCOPED_TRACE(testing::Message() << "game " << game);
        // Start: START opens the entry; the robot plays on until the game is over and the
        // final scores are closed.
        QTest::keyClick(Screen.get(), Qt::Key_Return);
        ASSERT_FALSE(Screen->PlayerPanel->isHidden());
        bool started = false;
        int n = 0;
        for (; n < MovesPerGameLimit; ++n) {
            const std::string move = Move();
            ++moves;
            CheckInvariants(move);
            if (HasFatalFailure()) return;
            started = started || Screen->State.GameRunning;
            if (Screen->LadderShowing() && Screen->Timer8->Enabled()) ++Ladders;
            if (!Screen->GameOver->isHidden()) ++GamesOver;
            if (started && InAttractMode()) break;
            // Back in attract mode before the game began (the entry closed): start again.
            if (!started && InAttractMode()) QTest::keyClick(Screen.get(), Qt::Key_Return);
        }
        ASSERT_LT(n, MovesPerGameLimit) << "the game did not come back to attract mode";
        Dialogs.Clear();
    }
    RecordProperty("moves", std::to_string(moves));
    RecordProperty("ended_by_menu", EndedByMenu);
    RecordProperty("ladder_moves", Ladders);
    RecordProperty("game_over_moves", GamesOver);
    EXPECT_GT(EndedByMenu, 50);
    EXPECT_GT(Ladders, 100);
    EXPECT_GT(GamesOver, 100);
}
