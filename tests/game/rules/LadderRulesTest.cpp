#include "GameRulesFixture.h"

#include <vector>

using LadderRulesTest = GameRulesFixture;

// The light alternates LOSE and the prize lamps in turn, and the next spin goes on from the
// prize lamp reached last.
TEST_F(LadderRulesTest, LightRunsLoseThenEachPrizeInTurn) {
    game->startLadder();
    std::vector<int> lit;
    for (int step = 0; step < 10; ++step)
        lit.push_back(game->stepLadder());
    EXPECT_EQ(lit, (std::vector<int>{5, 1, 5, 2, 5, 3, 5, 4, 5, 1}));
    game->startLadder();
    EXPECT_EQ(game->litLamp, 0);
    EXPECT_EQ(game->stepLadder(), 5);
    EXPECT_EQ(game->stepLadder(), 2);
}

// STOP pays the lit lamp's dollars on top of the credit; a stop before the light has moved,
// LOSE and the time limit pay nothing.
TEST_F(LadderRulesTest, StopPaysTheLitLamp) {
    struct Case {
        int steps;
        bool timedOut;
        int prize;
        int won;
    };
    const Case cases[] = {{0, false, 5, 7},  {1, false, 5, 7},  {2, false, 1, 8}, {4, false, 2, 12},
                          {6, false, 3, 22}, {8, false, 4, 57}, {8, true, 5, 7}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.steps);
        game = std::make_unique<QuizGame>(clock, QString(), QuizGame::SeedSource{});
        game->credit = 7;
        game->startLadder();
        for (int step = 0; step < c.steps; ++step)
            game->stepLadder();
        if (c.timedOut) game->ladderTimedOut();
        EXPECT_EQ(game->stopLadder(), c.won);
        EXPECT_EQ(game->prizeIndex, c.prize);
        EXPECT_EQ(game->litLamp, c.prize);
    }
}
