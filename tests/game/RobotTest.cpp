#include "GameFixture.h"

#include <QFile>
#include <QMenu>

#include <cstdlib>
#include <iostream>
#include <random>
#include <sstream>

namespace {
constexpr int Games = 1000;
// A game that has not come back to attract mode after this many robot moves is stuck.
constexpr int MovesPerGameLimit = 20000;
// The first game's seed; game n plays with FirstSeed + n.
constexpr unsigned FirstSeed = 20261210;
} // namespace

// A robot player at the shown window: presses at random points of whatever shows, keys, the
// menu commands (Change Question File with a good, a damaged and a missing set, the editor,
// End Game, the Sound switch) at random moments, on the manual clock. After every move the
// screen must hold to its phase.
class RobotTest : public TRealInputFixture {
protected:
    std::mt19937 Rng;
    // A replayed game prints every move.
    bool Verbose = false;
    // What the robot got to see, so that a robot that never reaches a phase is noticed.
    int EndedByMenu = 0;
    int Ladders = 0;
    int GamesOver = 0;
    int EditorVisits = 0;
    int Roll(int n) { return std::uniform_int_distribution<int>(0, n - 1)(Rng); }
    bool Chance(int percent) { return Roll(100) < percent; }

    QString GoodSet() const { return ProgramDir() + QStringLiteral("/REGD.QST"); }
    QString DamagedSet() const { return ProgramDir() + QStringLiteral("/DAMAGED.QST"); }
    QString MissingSet() const { return ProgramDir() + QStringLiteral("/MISSING.QST"); }

    bool InAttractMode() const {
        const TQuizScreen& s = *Screen;
        return !s.Editor() && !s.game.gameRunning && s.PlayerPanel->isHidden() &&
               s.ReadyPanel->isHidden() && s.FinalScorePanel->isHidden() && s.GameOver->isHidden();
    }

    // Something moves the game on by itself, or the player has something to press.
    bool CanMoveOn() const {
        const TQuizScreen& s = *Screen;
        if (!s.Wrong->isHidden() || !s.TimeOut->isHidden() || !s.FinalScorePanel->isHidden() ||
            !s.PlayerPanel->isHidden())
            return true;
        if (s.game.answersOpen && s.Timer4->Enabled() && s.T2->Progress() > 0) return true;
        if (s.game.gameRunning && s.Timer3->Enabled() && !s.game.answersOpen) return true;
        for (TTimer* t : {s.Timer5.get(), s.Timer6.get(), s.Timer7.get(), s.Timer8.get(),
                          s.Timer9.get(), s.Timer11.get(), s.Timer12.get(), s.NewGame.get(),
                          s.PLAYERGAMEOVER.get(), s.TOStopWin.get()})
            if (t->Enabled()) return true;
        return false;
    }

    // The rules that must hold after every move; the move is named in the failure.
    void CheckInvariants(const std::string& move) {
        TQuizScreen& s = *Screen;
        SCOPED_TRACE(move);
        ASSERT_GE(s.game.credit, -1);
        for (int credit : s.game.playerCredits)
            ASSERT_GE(credit, -1);
        if (s.Editor()) {
            // The game is hidden, silent and still behind the editor.
            ASSERT_FALSE(s.isVisible());
            ASSERT_TRUE(s.PausedByWindow());
            ASSERT_FALSE(s.SoundOn());
            return;
        }
        ASSERT_NE(s.On2->isChecked(), s.Off2->isChecked());
        if (s.LadderShowing()) {
            int lit = 0;
            for (int lamp : s.display.lampLit)
                lit += lamp;
            ASSERT_LE(lit, 1);
            ASSERT_TRUE(s.Wrong->isHidden() && s.TimeOut->isHidden());
        }
        ASSERT_FALSE(!s.Wrong->isHidden() && !s.TimeOut->isHidden());
        if (!s.Wrong->isHidden() || !s.TimeOut->isHidden() || s.LadderShowing()) {
            ASSERT_TRUE(s.Cap[0]->isHidden() && s.QuestionBlock->isHidden());
        }
        if (InAttractMode()) {
            ASSERT_EQ(GameControlsShowing(), QStringList());
            ASSERT_EQ(GameTimersLeft(), QStringList());
            ASSERT_TRUE(s.Timer1->Enabled());
        }
        if (!s.PlayerPanel->isHidden()) {
            ASSERT_FALSE(s.game.gameRunning);
            ASSERT_EQ(GameControlsShowing(), QStringList{QStringLiteral("PlayerPanel")});
        }
        if (!s.ReadyPanel->isHidden()) {
            QStringList own = GameControlsShowing();
            own.removeAll(QStringLiteral("GameOver2"));
            own.removeAll(QStringLiteral("End Game entry"));
            ASSERT_EQ(own, QStringList{QStringLiteral("ReadyPanel")});
        }
        if (!s.FinalScorePanel->isHidden()) {
            ASSERT_EQ(GameControlsShowing(), QStringList{QStringLiteral("FinalScorePanel")});
        }
        if (!InAttractMode()) {
            ASSERT_TRUE(CanMoveOn()) << "stuck";
        }
    }

    // A press at a random point of a random control that shows.
    std::string ClickSomewhere() {
        const TQuizScreen& s = *Screen;
        std::vector<const QWidget*> targets = {s.RedT,
                                               s.GreenT,
                                               s.BlueT,
                                               s.YellowT,
                                               s.StartT,
                                               s.RoundT,
                                               s.QuestionBlock,
                                               s.QF2,
                                               s.QF3,
                                               s.QF4,
                                               s.QF5,
                                               s.QF6,
                                               s.T2,
                                               s.CreditBlock,
                                               s.OneDollar,
                                               s.FiveDollars,
                                               s.FifteenDollars,
                                               s.FiftyDollars,
                                               s.Lose,
                                               s.HitStop,
                                               s.Wrong,
                                               s.Image34,
                                               s.TimeOut,
                                               s.Image49,
                                               s.PlayerPanel,
                                               s.OKDisp,
                                               s.ReadyPanel,
                                               s.FinalScorePanel,
                                               s.Image36,
                                               s.MARK4,
                                               s.GameOver,
                                               s.MainBackPanel,
                                               s.Image1};
        for (std::size_t i = 0; i < 4; ++i) {
            targets.push_back(s.Cover[i]);
            targets.push_back(s.Cap[i]);
            targets.push_back(s.Answer[i]);
            targets.push_back(s.PlayerName[i]);
            targets.push_back(s.Clear[i]);
        }
        std::erase_if(targets, [](const QWidget* w) { return !w->isVisible() || w->width() < 1; });
        if (targets.empty()) return "no click";
        const QWidget* w =
            targets[static_cast<std::size_t>(Roll(static_cast<int>(targets.size())))];
        const QPoint at(Roll(w->width()), Roll(w->height()));
        ClickAt(w, at);
        std::ostringstream name;
        name << "click " << w->objectName().toStdString() << " at " << at.x() << "," << at.y();
        return name.str();
    }

    // Opens a menu of the bar with a press and chooses an entry in it with another.
    void ChooseMenuEntry(QMenu* menu, QAction* entry) {
        QMenuBar* bar = Screen->menuBar();
        ClickAt(bar, bar->actionGeometry(menu->menuAction()).center());
        if (!menu->isVisible()) return;
        QTest::mouseClick(menu->windowHandle(), Qt::LeftButton, {},
                          menu->actionGeometry(entry).center());
        QCoreApplication::processEvents();
        if (menu->isVisible()) menu->close();
    }

    std::string MoveWithEditorOpen() {
        if (Chance(70)) {
            Advance(1 + Roll(3000));
            return "wait with the editor open";
        }
        QTest::keyClick(Screen->Editor()->windowHandle(), Qt::Key_F4, Qt::ControlModifier);
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        GiveFocus(Screen.get());
        return "close the editor";
    }

    // One random move of a player at the cabinet; returns its name.
    std::string Move() {
        TQuizScreen& s = *Screen;
        if (s.Editor()) return MoveWithEditorOpen();
        switch (Roll(24)) {
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
            static const int keys[] = {Qt::Key_A, Qt::Key_B, Qt::Key_C,     Qt::Key_D,
                                       Qt::Key_X, Qt::Key_1, Qt::Key_Space, Qt::Key_Escape};
            const int k = keys[Roll(8)];
            Key(k);
            return "key " + QKeySequence(k).toString().toStdString();
        }
        case 8:
        case 9:
            Key(Qt::Key_Return);
            return "Enter";
        case 10:
        case 11:
        case 12:
        case 13:
            return ClickSomewhere();
        case 14:
            if (s.NewGame1->isVisible() && Chance(5)) {
                const bool yes = Chance(50);
                Dialogs.Answer(yes ? TMsgButton::Yes : TMsgButton::No);
                ClickMenuBar(s.NewGame1);
                if (yes) ++EndedByMenu;
                return yes ? "End Game, yes" : "End Game, no";
            }
            return "no End Game";
        case 15:
            if (s.Sound21->isEnabled() && Chance(20)) {
                ChooseMenuEntry(s.Sound21, Chance(50) ? s.On2 : s.Off2);
                return "sound switch";
            }
            return "no sound switch";
        case 16: {
            if (!Chance(10)) return "no F1";
            const QString sets[] = {GoodSet(), DamagedSet(), MissingSet(), QString()};
            const QString chosen = sets[Roll(4)];
            if (s.LoadQuestions1->isEnabled()) Dialogs.ChooseFile(chosen);
            Key(Qt::Key_F1);
            return "F1 " + QFileInfo(chosen).fileName().toStdString();
        }
        case 17:
            if (!Chance(10)) return "no F2";
            Key(Qt::Key_F2);
            if (s.Editor()) {
                ++EditorVisits;
                GiveFocus(s.Editor());
            }
            return "F2";
        case 18: {
            // A name typed into the box that has the focus.
            static const char* const names[] = {"Ann", "Bob", "  ", "x"};
            const char* name = names[Roll(4)];
            for (const char* c = name; *c; ++c)
                QTest::keyClick(s.windowHandle(), *c);
            QCoreApplication::processEvents();
            return std::string("type ") + name;
        }
        default: {
            // Answer with a key when the answers show (a player who knows some answers).
            if (s.game.answersOpen && Chance(80)) {
                const int slot = Chance(40) ? CorrectSlot() : Roll(4);
                Key(Qt::Key_A + slot);
                return "answer " + std::to_string(slot);
            }
            return "no answer";
        }
        }
    }

    // Plays one game from attract mode back to attract mode.
    void PlayOneGame() {
        Key(Qt::Key_Return);
        bool started = false;
        int n = 0;
        for (; n < MovesPerGameLimit; ++n) {
            const std::string move = Move();
            if (Verbose) std::cout << move << std::endl;
            CheckInvariants(move);
            if (HasFatalFailure()) return;
            started = started || Screen->game.gameRunning || !Screen->PlayerPanel->isHidden();
            if (Screen->LadderShowing() && Screen->Timer8->Enabled()) ++Ladders;
            if (!Screen->GameOver->isHidden()) ++GamesOver;
            if (started && InAttractMode()) break;
            // Back in attract mode before the game began: start again.
            if (InAttractMode()) Key(Qt::Key_Return);
        }
        ASSERT_LT(n, MovesPerGameLimit) << "the game did not come back to attract mode";
    }
};

// A thousand games of random play through the window all come back to attract mode, and the
// screen holds to its phase after every move.
TEST_F(RobotTest, ThousandRandomGamesThroughTheWindow) {
    CreateShown();
    {
        QFile damaged(DamagedSet());
        ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
        damaged.write(QByteArray(380 * 2, 'x'));
    }
    // A failing game is replayed with the games before it, since the screen carries its
    // draw history and settings from game to game; the replayed game prints its moves.
    int games = Games;
    if (const char* replay = std::getenv("TRIVORA_ROBOT_REPLAY")) games = std::atoi(replay) + 1;
    for (int game = 0; game < games; ++game) {
        SCOPED_TRACE(testing::Message() << "replay with TRIVORA_ROBOT_REPLAY=" << game);
        Rng.seed(FirstSeed + static_cast<unsigned>(game));
        Verbose = games < Games && game == games - 1;
        PlayOneGame();
        if (HasFatalFailure()) return;
        Dialogs.Clear();
    }
    if (games < Games) return;
    RecordProperty("ended_by_menu", EndedByMenu);
    RecordProperty("ladder_moves", Ladders);
    RecordProperty("game_over_moves", GamesOver);
    RecordProperty("editor_visits", EditorVisits);
    EXPECT_GT(EndedByMenu, 20);
    EXPECT_GT(Ladders, 100);
    EXPECT_GT(GamesOver, 100);
    EXPECT_GT(EditorVisits, 20);
}
