#include "GameFixture.h"

using GameWalkTest = TGameFixture;

// One player, no names: a win, a wrong answer and time-outs until the credit is gone, then
// GAME OVER, the final scores with the best credit reached, and back to attract mode.
TEST_F(GameWalkTest, OnePlayerToTheFinalScores) {
    Create();
    StartGame();
    WinQuestion(3); // 5 - 1 + 15 = 19
    EXPECT_EQ(Screen->game.credit, 19);
    EXPECT_EQ(Screen->game.playerScores[0], 19);
    LoseQuestion(); // 18
    // The rest by time-outs, each question 10 ms a step faster than the one before.
    int questions = 2;
    while (Screen->game.credit > 0) {
        ASSERT_TRUE(WaitForAnswers());
        EXPECT_EQ(Screen->Timer4->Interval(), std::max(40, 150 - 10 * questions));
        ASSERT_TRUE(AdvanceUntil([this] { return Visible(Screen->TimeOut); }));
        Screen->Image49MouseDown();
        ++questions;
    }
    EXPECT_EQ(questions, 20);
    EXPECT_TRUE(Visible(Screen->GameOver));
    EXPECT_FALSE(Screen->game.answersOpen);
    Advance(4000);
    ASSERT_TRUE(Visible(Screen->FinalScorePanel));
    EXPECT_EQ(Screen->NAME[0]->Caption(), QStringLiteral("Player One"));
    EXPECT_EQ(Screen->SCORE[0]->Caption(), QStringLiteral("19"));
    EXPECT_EQ(Screen->SCORE[1]->Caption(), QStringLiteral("0"));
    Screen->Image36MouseDown();
    EXPECT_FALSE(Screen->game.gameRunning);
    EXPECT_EQ(Screen->Timer4->Interval(), 150);
    // The history survives into the next game.
    EXPECT_FALSE(Screen->game.drawHistory.isEmpty());
}

// Four players share the questions: from the twelfth question on, the gauge gives 4 s.
TEST_F(GameWalkTest, TwelfthQuestionHasFourSeconds) {
    Create();
    StartGame({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")});
    for (int question = 1; question <= 13; ++question) {
        SCOPED_TRACE(question);
        Advance(2500); // GET READY
        ASSERT_TRUE(WaitForAnswers());
        EXPECT_EQ(Screen->game.currentPlayer, (question - 1) % 4 + 1);
        const int interval = Screen->Timer4->Interval();
        EXPECT_EQ(interval, std::max(40, 160 - 10 * question));
        const std::int64_t opened = Clock.Now();
        ASSERT_TRUE(AdvanceUntil([this] { return Visible(Screen->TimeOut); }));
        const std::int64_t took = Clock.Now() - opened;
        // 100 steps, the first within one step of the answers appearing.
        EXPECT_GE(took, 99 * interval);
        EXPECT_LE(took, 100 * interval);
        Screen->Image49MouseDown();
    }
}

// Two players: player 1 goes out with the GAME OVER notice, player 2 plays on alone, each
// turn behind GET READY, until a ladder on LOSE at credit 0 ends the game at the next charge
// without any Ready panel; the final scores show both players' best.
TEST_F(GameWalkTest, TwoPlayersUntilNobodyHasCredit) {
    Create();
    StartGame({QStringLiteral("Ann"), QStringLiteral("Bob")});
    Screen->game.playerCredits = {1, 2, 0, 0};
    Advance(2500);
    LoseQuestion(); // Ann: 0
    ASSERT_TRUE(Visible(Screen->GameOver2));
    Advance(2500 + 2500);
    EXPECT_EQ(Screen->game.currentPlayer, 2);
    LoseQuestion(); // Bob: 1
    ASSERT_TRUE(Visible(Screen->ReadyPanel));
    EXPECT_FALSE(Visible(Screen->GameOver2));
    EXPECT_EQ(Screen->game.currentPlayer, 2);
    Advance(2500);
    WinQuestion(5); // Bob: 0
    EXPECT_EQ(Screen->game.playerCredits, (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_FALSE(Visible(Screen->ReadyPanel));
    Advance(17 * 2); // the draw, then the charge
    EXPECT_EQ(Screen->game.credit, -1);
    EXPECT_TRUE(Visible(Screen->GameOver));
    EXPECT_FALSE(Visible(Screen->ReadyPanel));
    EXPECT_FALSE(Visible(Screen->QuestionBlock));
    Advance(4000);
    ASSERT_TRUE(Visible(Screen->FinalScorePanel));
    EXPECT_EQ(Screen->NAME[0]->Caption(), QStringLiteral("Ann"));
    EXPECT_EQ(Screen->SCORE[0]->Caption(), QStringLiteral("5"));
    EXPECT_EQ(Screen->NAME[1]->Caption(), QStringLiteral("Bob"));
    EXPECT_EQ(Screen->SCORE[1]->Caption(), QStringLiteral("5"));
}

// Three players, one wins big and one goes out; the game ends when the last OK finds nobody
// with credit, and every judgement path has been walked on the way.
TEST_F(GameWalkTest, ThreePlayersWithEveryJudgement) {
    Create();
    SoundOn();
    StartGame({QStringLiteral("Ann"), QStringLiteral("Bob"), QStringLiteral("Cy")});
    Screen->game.playerCredits = {1, 1, 2, 0};
    Advance(2500);
    WinQuestion(4); // Ann: 0 + 50
    Advance(2500);
    LoseQuestion(); // Bob: 0, out
    ASSERT_TRUE(Visible(Screen->GameOver2));
    Advance(5000);
    ASSERT_TRUE(WaitForAnswers()); // Cy: 1
    ASSERT_TRUE(AdvanceUntil([this] { return Visible(Screen->TimeOut); }));
    Screen->Image49MouseDown();
    EXPECT_EQ(Screen->game.currentPlayer, 1);
    EXPECT_EQ(Screen->game.playerCredits, (std::array<int, 4>{50, 0, 1, 0}));
    Screen->game.playerCredits[0] = 1; // shorten the walk: Ann's last question
    Advance(2500);
    LoseQuestion(); // Ann: 0, out
    Advance(5000);
    EXPECT_EQ(Screen->game.currentPlayer, 3);
    LoseQuestion(); // Cy: 0, nobody left
    EXPECT_TRUE(Visible(Screen->GameOver));
    EXPECT_FALSE(Visible(Screen->ReadyPanel));
    EXPECT_FALSE(Screen->NewGame1->isVisible());
    Advance(4000);
    ASSERT_TRUE(Visible(Screen->FinalScorePanel));
    EXPECT_EQ(Screen->SCORE[0]->Caption(), QStringLiteral("50"));
    EXPECT_EQ(Screen->SCORE[1]->Caption(), QStringLiteral("5"));
    EXPECT_EQ(Screen->SCORE[2]->Caption(), QStringLiteral("5"));
    EXPECT_EQ(Screen->SCORE[3]->Caption(), QStringLiteral("0"));
}
