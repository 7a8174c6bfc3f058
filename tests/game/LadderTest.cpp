#include "GameFixture.h"
#include "QuestionArea.h"
#include "PrizeLadderView.h"
#include "GamePosition.h"

namespace {
constexpr std::uint8_t SpinStatus = 0x94;
constexpr std::uint8_t PrizeStatus = 0x96;
constexpr int Lose = 5;
} // namespace

// A one-player game whose first answer was right and whose ladder has just appeared.
class LadderTest : public GameFixture {
protected:
    void openLadder() {
        answerRight();
        advance(4000);
        ASSERT_TRUE(screen->ladder->isShowing());
    }
    // The one lamp lit now (1 $1 ... 5 LOSE), 0 for none.
    int litLamp() const {
        int lit = 0;
        for (int prize = 1; prize <= 5; ++prize) {
            const bool on = screen->display.lampLit[static_cast<std::size_t>(prize - 1)] != 0;
            const Lamp lamp = static_cast<Lamp>(prize);
            EXPECT_EQ(on, shows(screen->ladder->lamp(lamp), screen->ladder->litPicture(lamp))) << prize;
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
    create();
    switchSoundOn();
    startGame();
    openLadder();
    clearMidi();
    EXPECT_EQ(litLamp(), 0);
    EXPECT_TRUE(visible(screen->ladder->pressStopPrompt));
    std::vector<int> lamps;
    for (int step = 0; step < 10; ++step) {
        advance(100);
        lamps.push_back(litLamp());
    }
    EXPECT_EQ(lamps, (std::vector<int>{Lose, 1, Lose, 2, Lose, 3, Lose, 4, Lose, 1}));
    EXPECT_EQ(notes(SpinStatus), (std::vector<int>{15, 15, 30, 30, 45, 45, 60, 60, 75, 75}));
    screen->pressStop(); // $1
    advance(2000);

    clearMidi();
    answerRight();
    advance(4000);
    ASSERT_TRUE(screen->ladder->isShowing());
    EXPECT_EQ(litLamp(), 0);
    advance(200);
    EXPECT_EQ(litLamp(), 2);
    EXPECT_EQ(notes(SpinStatus), (std::vector<int>{30, 30}));
}

// A stop awards the lamp lit at that moment: the credit rises one redraw per dollar, the best
// score follows, and the won lamp flashes with its note until the display ends 2 s later.
TEST_F(LadderTest, StopOnEachLamp) {
    struct Case {
        int lamp;
        int dollars;
        int note;
    };
    const Case cases[] = {{1, 1, 48}, {2, 5, 56}, {3, 15, 64}, {4, 50, 72}, {Lose, 0, 80}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lamp);
        create();
        switchSoundOn();
        startGame();
        GamePosition::setCredit(screen->game, 4); // charged to 3 by the question
        openLadder();
        ASSERT_EQ(screen->game.players().credit(), 3);
        ASSERT_TRUE(advanceUntil([&] { return litLamp() == c.lamp; }));
        clearMidi();
        screen->pressStop();
        EXPECT_EQ(screen->game.players().credit(), 3 + c.dollars);
        EXPECT_EQ(placeOf(screen->game.ladder().prize()), c.lamp);
        EXPECT_EQ(screen->display.stopLit, 1);
        EXPECT_TRUE(shows(screen->buttons->stopButton, screen->buttons->stopLitPicture));
        EXPECT_FALSE(visible(screen->ladder->pressStopPrompt));
        EXPECT_EQ(screen->game.players().scores()[0], std::max(5, 3 + c.dollars));
        EXPECT_EQ(meter(), QString::number(3 + c.dollars).rightJustified(5));
        EXPECT_EQ(litLamp(), c.lamp);
        EXPECT_TRUE(sent().empty());
        // The light has stopped: no more spin steps.
        advance(75);
        EXPECT_EQ(litLamp(), 0);
        advance(75);
        EXPECT_EQ(litLamp(), c.lamp);
        advance(2000 - 150 - 1);
        EXPECT_TRUE(screen->ladder->isShowing());
        EXPECT_EQ(notes(PrizeStatus), std::vector<int>(13, c.note));
        EXPECT_TRUE(notes(SpinStatus).empty());
        advance(1);
        EXPECT_FALSE(screen->ladder->isShowing());
        EXPECT_FALSE(visible(screen->ladder->lamps[4]));
        EXPECT_FALSE(visible(screen->ladder->lamps[0]));
        EXPECT_EQ(screen->display.stopLit, 0);
        EXPECT_TRUE(shows(screen->buttons->stopButton, screen->buttons->stopPicture));
        // The next question follows at once, a little faster.
        EXPECT_EQ(screen->game.gaugeStepMs(), 140);
        ASSERT_TRUE(waitForAnswers());
        EXPECT_EQ(screen->game.players().credit(), 2 + c.dollars);
    }
}

// Without a stop the ladder ends on LOSE after exactly 10 s; a stop at 9.9 s takes the lamp
// lit then, and the limit fires neither in that ladder nor in the next.
TEST_F(LadderTest, TimeLimit) {
    create();
    startGame();
    openLadder();
    advance(9999);
    EXPECT_EQ(screen->display.stopLit, 0);
    advance(1);
    EXPECT_EQ(screen->display.stopLit, 1);
    EXPECT_EQ(litLamp(), Lose);
    EXPECT_EQ(placeOf(screen->game.ladder().prize()), Lose);
    EXPECT_EQ(screen->game.players().credit(), 4);
    advance(2000);
    ASSERT_FALSE(screen->ladder->isShowing());

    openLadder();
    advance(9900);
    const int lit = litLamp();
    ASSERT_NE(lit, 0);
    const int before = screen->game.players().credit();
    screen->pressStop();
    const int dollars[6] = {0, 1, 5, 15, 50, 0};
    EXPECT_EQ(screen->game.players().credit(), before + dollars[lit]);
    advance(2000);
    openLadder();
    advance(9999);
    EXPECT_EQ(screen->display.stopLit, 0); // the old limit did not carry over
    advance(1);
    EXPECT_EQ(screen->display.stopLit, 1);
}

// Only the first stop counts: a second stop (mouse, Enter, or the time limit) and a stop
// outside a spin change nothing.
TEST_F(LadderTest, SecondStopIsIgnored) {
    create();
    startGame();
    screen->pressStop(); // no ladder
    EXPECT_EQ(screen->display.stopLit, 0);
    openLadder();
    ASSERT_TRUE(advanceUntil([this] { return litLamp() == 4; }));
    screen->pressStop();
    const int credit = screen->game.players().credit();
    advance(100); // the light would have moved on to LOSE
    screen->pressStop();
    GamePosition::fireTimer(screen->game, QuizGame::GameTimer::LadderTimeLimit);
    EXPECT_EQ(screen->game.players().credit(), credit);
    EXPECT_EQ(screen->game.ladder().prize(), Lamp::FiftyDollars);
    EXPECT_EQ(screen->game.players().scores()[0], credit);
}

// A stop before the first step finds no lamp lit and counts as LOSE: LOSE lights and flashes.
TEST_F(LadderTest, StopBeforeTheFirstStepIsLose) {
    create();
    switchSoundOn();
    startGame();
    openLadder();
    clearMidi();
    screen->pressStop();
    EXPECT_EQ(litLamp(), Lose);
    EXPECT_EQ(placeOf(screen->game.ladder().prize()), Lose);
    EXPECT_EQ(screen->game.players().credit(), 4);
    advance(150);
    EXPECT_EQ(notes(PrizeStatus), std::vector<int>{80});
}

// Answer buttons, keys A-D and START do nothing while the lamps are on screen.
TEST_F(LadderTest, AnswerControlsAreDeadWhileTheLadderShows) {
    create();
    startGame();
    openLadder();
    for (int answer = 0; answer < 4; ++answer)
        choose(answer);
    screen->pressControl(screen->buttons->startButton);
    screen->pressControl(screen->questionArea->answerTexts[0]);
    EXPECT_EQ(screen->display.buttonLit, (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_FALSE(screen->game.timer(QuizGame::GameTimer::Judgement).enabled());
    EXPECT_FALSE(visible(screen->playerPanel));
}

// In a game of two, the prize goes to the player at the controls: player 2 at credit 4 with a
// best of 5 stops on $50 and has 54; a smaller later win never lowers a best score.
TEST_F(LadderTest, PrizeGoesToThePlayerAtTheControls) {
    create();
    startGame({QStringLiteral("Ann"), QStringLiteral("Bob")});
    advance(2500);
    loseQuestion(); // Ann: 4
    advance(2500);
    GamePosition::setPlayerCredit(screen->game, 1 + 1, 5); // Bob: charged to 4
    openLadder();
    EXPECT_EQ(screen->game.players().current(), 2);
    EXPECT_EQ(screen->game.players().credit(), 4);
    ASSERT_TRUE(advanceUntil([this] { return litLamp() == 4; }));
    screen->pressStop();
    EXPECT_EQ(screen->game.players().credits()[1], 54);
    EXPECT_EQ(screen->game.players().credit(), 54);
    EXPECT_EQ(meter(), QStringLiteral("   54"));
    EXPECT_EQ(screen->game.players().scores()[1], 54);
    EXPECT_EQ(screen->game.players().credits()[0], 4);
    EXPECT_EQ(screen->game.players().scores()[0], 5);

    GamePosition::setPlayerCredit(screen->game, 1 + 1, 10);
    GamePosition::setCredit(screen->game, 10);
    advance(2000 + 2500);
    loseQuestion(); // Ann: 3
    advance(2500);
    openLadder(); // Bob: 9
    ASSERT_TRUE(advanceUntil([this] { return litLamp() == 1; }));
    screen->pressStop();
    EXPECT_EQ(screen->game.players().credits()[1], 10);
    EXPECT_EQ(screen->game.players().scores()[1], 54);
}
