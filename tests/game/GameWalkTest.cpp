#include "GameFixture.h"
#include "QuestionArea.h"
#include "FinalScoresPanel.h"
#include "ReadyPanel.h"
#include "VerdictPanel.h"
#include "GamePosition.h"

using GameWalkTest = GameFixture;

// One player, no names: a win, a wrong answer and time-outs until the credit is gone, then
// GAME OVER, the final scores with the best credit reached, and back to attract mode.
TEST_F(GameWalkTest, OnePlayerToTheFinalScores) {
    create();
    startGame();
    winQuestion(3); // 5 - 1 + 15 = 19
    EXPECT_EQ(screen->game.players().credit(), 19);
    EXPECT_EQ(screen->game.players().scores()[0], 19);
    loseQuestion(); // 18
    // The rest by time-outs, each question 10 ms a step faster than the one before.
    int questions = 2;
    while (screen->game.players().credit() > 0) {
        ASSERT_TRUE(waitForAnswers());
        EXPECT_EQ(screen->game.gaugeStepMs(), std::max(40, 150 - 10 * questions));
        ASSERT_TRUE(advanceUntil([this] { return visible(screen->timeOutPanel); }));
        screen->timeOutPanel->confirm();
        ++questions;
    }
    EXPECT_EQ(questions, 20);
    EXPECT_TRUE(visible(screen->banners->gameOverBanner));
    EXPECT_FALSE(screen->game.answersOpen());
    advance(4000);
    ASSERT_TRUE(visible(screen->finalScorePanel));
    EXPECT_EQ(screen->finalScorePanel->names[0]->caption(), QStringLiteral("Player One"));
    EXPECT_EQ(screen->finalScorePanel->scores[0]->caption(), QStringLiteral("19"));
    EXPECT_EQ(screen->finalScorePanel->scores[1]->caption(), QStringLiteral("0"));
    screen->finalScorePanel->confirm();
    EXPECT_FALSE(screen->game.gameRunning());
    EXPECT_EQ(screen->game.gaugeStepMs(), 150);
    // The history survives into the next game.
    EXPECT_FALSE(screen->game.draw().history().isEmpty());
}

// Four players share the questions: from the twelfth question on, the gauge gives 4 s.
TEST_F(GameWalkTest, TwelfthQuestionHasFourSeconds) {
    create();
    startGame({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")});
    for (int question = 1; question <= 13; ++question) {
        SCOPED_TRACE(question);
        advance(2500); // GET READY
        ASSERT_TRUE(waitForAnswers());
        EXPECT_EQ(screen->game.players().current(), (question - 1) % 4 + 1);
        const int interval = screen->game.gaugeStepMs();
        EXPECT_EQ(interval, std::max(40, 160 - 10 * question));
        const std::int64_t opened = clock.now();
        ASSERT_TRUE(advanceUntil([this] { return visible(screen->timeOutPanel); }));
        const std::int64_t took = clock.now() - opened;
        // 100 steps, the first within one step of the answers appearing.
        EXPECT_GE(took, 99 * interval);
        EXPECT_LE(took, 100 * interval);
        screen->timeOutPanel->confirm();
    }
}

// Two players: player 1 goes out with the GAME OVER notice, player 2 plays on alone, each
// turn behind GET READY, until a ladder on LOSE at credit 0 ends the game at once
// without any Ready panel; the final scores show both players' best.
TEST_F(GameWalkTest, TwoPlayersUntilNobodyHasCredit) {
    create();
    startGame({QStringLiteral("Ann"), QStringLiteral("Bob")});
    GamePosition::setPlayerCredits(screen->game, {1, 2, 0, 0});
    advance(2500);
    loseQuestion(); // Ann: 0
    ASSERT_TRUE(visible(screen->readyPanel->playerOutHeading));
    advance(2500 + 2500);
    EXPECT_EQ(screen->game.players().current(), 2);
    loseQuestion(); // Bob: 1
    ASSERT_TRUE(visible(screen->readyPanel));
    EXPECT_FALSE(visible(screen->readyPanel->playerOutHeading));
    EXPECT_EQ(screen->game.players().current(), 2);
    advance(2500);
    winQuestion(5); // Bob: 0
    EXPECT_EQ(screen->game.players().credits(), (std::array<int, 4>{0, 0, 0, 0}));
    // Nobody has credit left: the game is over at once, with no question drawn or charged.
    EXPECT_EQ(screen->game.players().credit(), 0);
    EXPECT_TRUE(visible(screen->banners->gameOverBanner));
    EXPECT_FALSE(visible(screen->readyPanel));
    EXPECT_FALSE(visible(screen->questionArea->questionLabel));
    advance(4000);
    ASSERT_TRUE(visible(screen->finalScorePanel));
    EXPECT_EQ(screen->finalScorePanel->names[0]->caption(), QStringLiteral("Ann"));
    EXPECT_EQ(screen->finalScorePanel->scores[0]->caption(), QStringLiteral("5"));
    EXPECT_EQ(screen->finalScorePanel->names[1]->caption(), QStringLiteral("Bob"));
    EXPECT_EQ(screen->finalScorePanel->scores[1]->caption(), QStringLiteral("5"));
}

// Three players, one wins big and one goes out; the game ends when the last OK finds nobody
// with credit, and every judgement path has been walked on the way.
TEST_F(GameWalkTest, ThreePlayersWithEveryJudgement) {
    create();
    switchSoundOn();
    startGame({QStringLiteral("Ann"), QStringLiteral("Bob"), QStringLiteral("Cy")});
    GamePosition::setPlayerCredits(screen->game, {1, 1, 2, 0});
    advance(2500);
    winQuestion(4); // Ann: 0 + 50
    advance(2500);
    loseQuestion(); // Bob: 0, out
    ASSERT_TRUE(visible(screen->readyPanel->playerOutHeading));
    advance(5000);
    ASSERT_TRUE(waitForAnswers()); // Cy: 1
    ASSERT_TRUE(advanceUntil([this] { return visible(screen->timeOutPanel); }));
    screen->timeOutPanel->confirm();
    EXPECT_EQ(screen->game.players().current(), 1);
    EXPECT_EQ(screen->game.players().credits(), (std::array<int, 4>{50, 0, 1, 0}));
    GamePosition::setPlayerCredit(screen->game, 0 + 1, 1); // shorten the walk: Ann's last question
    advance(2500);
    loseQuestion(); // Ann: 0, out
    advance(5000);
    EXPECT_EQ(screen->game.players().current(), 3);
    loseQuestion(); // Cy: 0, nobody left
    EXPECT_TRUE(visible(screen->banners->gameOverBanner));
    EXPECT_FALSE(visible(screen->readyPanel));
    EXPECT_FALSE(screen->endGameAction->isVisible());
    advance(4000);
    ASSERT_TRUE(visible(screen->finalScorePanel));
    EXPECT_EQ(screen->finalScorePanel->scores[0]->caption(), QStringLiteral("50"));
    EXPECT_EQ(screen->finalScorePanel->scores[1]->caption(), QStringLiteral("5"));
    EXPECT_EQ(screen->finalScorePanel->scores[2]->caption(), QStringLiteral("5"));
    EXPECT_EQ(screen->finalScorePanel->scores[3]->caption(), QStringLiteral("0"));
}
