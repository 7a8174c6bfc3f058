#include "GameFixture.h"

namespace {
constexpr std::uint8_t SpinStatus = 0x94;
constexpr std::uint8_t PrizeStatus = 0x96;
constexpr int Lose = 5;
} // namespace

// A one-player game whose first answer was right and whose ladder has just appeared.
class LadderTest : public TGameFixture {
protected:
    void OpenLadder() {
        AnswerRight();
        Advance(4000);
        ASSERT_TRUE(Screen->LadderShowing());
    }
    // The one lamp lit now (1 $1 ... 5 LOSE), 0 for none.
    int LitLamp() const {
        int lit = 0;
        for (int prize = 1; prize <= 5; ++prize) {
            const bool on = Screen->display.lampLit[static_cast<std::size_t>(prize - 1)] != 0;
            EXPECT_EQ(on, Shows(Screen->LampOf(prize), Screen->LampOnPicture(prize))) << prize;
            if (on) {
                EXPECT_EQ(lit, 0) << "two lamps lit";
                lit = prize;
            }
        }
        return lit;
    }
};

// The light runs LOSE, $1, LOSE, $5, LOSE, $15, LOSE, $50 at ten steps a second, each pair of
// steps on one note, and the next ladder carries on after the prize lit last.
TEST_F(LadderTest, SpinOrderAndNotes) {
    Create();
    SoundOn();
    StartGame();
    OpenLadder();
    ClearMidi();
    EXPECT_EQ(LitLamp(), 0);
    EXPECT_TRUE(Visible(Screen->HitStop));
    std::vector<int> lamps;
    for (int step = 0; step < 10; ++step) {
        Advance(100);
        lamps.push_back(LitLamp());
    }
    EXPECT_EQ(lamps, (std::vector<int>{Lose, 1, Lose, 2, Lose, 3, Lose, 4, Lose, 1}));
    EXPECT_EQ(Notes(SpinStatus), (std::vector<int>{15, 15, 30, 30, 45, 45, 60, 60, 75, 75}));
    Screen->RTM(); // $1
    Advance(2000);

    ClearMidi();
    AnswerRight();
    Advance(4000);
    ASSERT_TRUE(Screen->LadderShowing());
    EXPECT_EQ(LitLamp(), 0);
    Advance(200);
    EXPECT_EQ(LitLamp(), 2);
    EXPECT_EQ(Notes(SpinStatus), (std::vector<int>{30, 30}));
}

// A stop awards the lamp lit at that moment: the credit rises one redraw per dollar, the best
// score follows, and the won lamp flashes with its note until the display ends 2 s later.
TEST_F(LadderTest, StopOnEachLamp) {
    struct Case {
        int Lamp;
        int Dollars;
        int Note;
    };
    const Case cases[] = {{1, 1, 48}, {2, 5, 56}, {3, 15, 64}, {4, 50, 72}, {Lose, 0, 80}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Lamp);
        Create();
        SoundOn();
        StartGame();
        Screen->game.credit = 4; // charged to 3 by the question
        OpenLadder();
        ASSERT_EQ(Screen->game.credit, 3);
        ASSERT_TRUE(AdvanceUntil([&] { return LitLamp() == c.Lamp; }));
        ClearMidi();
        Screen->RoundTMouseDown();
        EXPECT_EQ(Screen->game.credit, 3 + c.Dollars);
        EXPECT_EQ(Screen->game.prizeIndex, c.Lamp);
        EXPECT_EQ(Screen->display.stopLit, 1);
        EXPECT_TRUE(Shows(Screen->RoundT, Screen->StopIn));
        EXPECT_FALSE(Visible(Screen->HitStop));
        EXPECT_EQ(Screen->game.playerScores[0], std::max(5, 3 + c.Dollars));
        EXPECT_EQ(Meter(), QString::number(3 + c.Dollars).rightJustified(5));
        EXPECT_EQ(LitLamp(), c.Lamp);
        EXPECT_TRUE(Sent().empty());
        // The light has stopped: no more spin steps.
        Advance(75);
        EXPECT_EQ(LitLamp(), 0);
        Advance(75);
        EXPECT_EQ(LitLamp(), c.Lamp);
        Advance(2000 - 150 - 1);
        EXPECT_TRUE(Screen->LadderShowing());
        EXPECT_EQ(Notes(PrizeStatus), std::vector<int>(13, c.Note));
        EXPECT_TRUE(Notes(SpinStatus).empty());
        Advance(1);
        EXPECT_FALSE(Screen->LadderShowing());
        EXPECT_FALSE(Visible(Screen->Lose));
        EXPECT_FALSE(Visible(Screen->OneDollar));
        EXPECT_EQ(Screen->display.stopLit, 0);
        EXPECT_TRUE(Shows(Screen->RoundT, Screen->StopOut));
        // The next question follows at once, a little faster.
        EXPECT_EQ(Screen->Timer4->Interval(), 140);
        ASSERT_TRUE(WaitForAnswers());
        EXPECT_EQ(Screen->game.credit, 2 + c.Dollars);
    }
}

// Without a stop the ladder ends on LOSE after exactly 10 s; a stop at 9.9 s takes the lamp
// lit then, and the limit fires neither in that ladder nor in the next.
TEST_F(LadderTest, TimeLimit) {
    Create();
    StartGame();
    OpenLadder();
    Advance(9999);
    EXPECT_EQ(Screen->display.stopLit, 0);
    Advance(1);
    EXPECT_EQ(Screen->display.stopLit, 1);
    EXPECT_EQ(LitLamp(), Lose);
    EXPECT_EQ(Screen->game.prizeIndex, Lose);
    EXPECT_EQ(Screen->game.credit, 4);
    Advance(2000);
    ASSERT_FALSE(Screen->LadderShowing());

    OpenLadder();
    Advance(9900);
    const int lit = LitLamp();
    ASSERT_NE(lit, 0);
    const int before = Screen->game.credit;
    Screen->RTM();
    const int dollars[6] = {0, 1, 5, 15, 50, 0};
    EXPECT_EQ(Screen->game.credit, before + dollars[lit]);
    Advance(2000);
    OpenLadder();
    Advance(9999);
    EXPECT_EQ(Screen->display.stopLit, 0); // the old limit did not carry over
    Advance(1);
    EXPECT_EQ(Screen->display.stopLit, 1);
}

// Only the first stop counts: a second stop (mouse, Enter, or the time limit) and a stop
// outside a spin change nothing.
TEST_F(LadderTest, SecondStopIsIgnored) {
    Create();
    StartGame();
    Screen->RTM(); // no ladder
    EXPECT_EQ(Screen->display.stopLit, 0);
    OpenLadder();
    ASSERT_TRUE(AdvanceUntil([this] { return LitLamp() == 4; }));
    Screen->RTM();
    const int credit = Screen->game.credit;
    Advance(100); // the light would have moved on to LOSE
    Screen->RoundTMouseDown();
    Screen->TOStopWinTimer();
    EXPECT_EQ(Screen->game.credit, credit);
    EXPECT_EQ(Screen->game.prizeIndex, 4);
    EXPECT_EQ(Screen->game.playerScores[0], credit);
}

// A stop before the first step finds no lamp lit and counts as LOSE: LOSE lights and flashes.
TEST_F(LadderTest, StopBeforeTheFirstStepIsLose) {
    Create();
    SoundOn();
    StartGame();
    OpenLadder();
    ClearMidi();
    Screen->RTM();
    EXPECT_EQ(LitLamp(), Lose);
    EXPECT_EQ(Screen->game.prizeIndex, Lose);
    EXPECT_EQ(Screen->game.credit, 4);
    Advance(150);
    EXPECT_EQ(Notes(PrizeStatus), std::vector<int>{80});
}

// Answer buttons, keys A-D and START do nothing while the lamps are on screen.
TEST_F(LadderTest, AnswerControlsAreDeadWhileTheLadderShows) {
    Create();
    StartGame();
    OpenLadder();
    for (int answer = 0; answer < 4; ++answer)
        Choose(answer);
    Screen->RedTMouseDown(Screen->StartT);
    Screen->RedTMouseDown(Screen->Answer[0]);
    EXPECT_EQ(Screen->display.buttonLit, (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_FALSE(Screen->Timer5->Enabled());
    EXPECT_FALSE(Visible(Screen->PlayerPanel));
}

// In a game of two, the prize goes to the player at the controls: player 2 at credit 4 with a
// best of 5 stops on $50 and has 54; a smaller later win never lowers a best score.
TEST_F(LadderTest, PrizeGoesToThePlayerAtTheControls) {
    Create();
    StartGame({QStringLiteral("Ann"), QStringLiteral("Bob")});
    Advance(2500);
    LoseQuestion(); // Ann: 4
    Advance(2500);
    Screen->game.playerCredits[1] = 5; // Bob: charged to 4
    OpenLadder();
    EXPECT_EQ(Screen->game.currentPlayer, 2);
    EXPECT_EQ(Screen->game.credit, 4);
    ASSERT_TRUE(AdvanceUntil([this] { return LitLamp() == 4; }));
    Screen->RTM();
    EXPECT_EQ(Screen->game.playerCredits[1], 54);
    EXPECT_EQ(Screen->game.credit, 54);
    EXPECT_EQ(Meter(), QStringLiteral("   54"));
    EXPECT_EQ(Screen->game.playerScores[1], 54);
    EXPECT_EQ(Screen->game.playerCredits[0], 4);
    EXPECT_EQ(Screen->game.playerScores[0], 5);

    Screen->game.playerCredits[1] = 10;
    Screen->game.credit = 10;
    Advance(2000 + 2500);
    LoseQuestion(); // Ann: 3
    Advance(2500);
    OpenLadder(); // Bob: 9
    ASSERT_TRUE(AdvanceUntil([this] { return LitLamp() == 1; }));
    Screen->RTM();
    EXPECT_EQ(Screen->game.playerCredits[1], 10);
    EXPECT_EQ(Screen->game.playerScores[1], 54);
}
