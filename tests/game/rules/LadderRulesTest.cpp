#include "PrizeLadder.h"

#include <gtest/gtest.h>

#include <vector>

// The light alternates LOSE and the prize lamps in turn, and the next spin goes on from the
// prize lamp reached last.
TEST(LadderRulesTest, LightRunsLoseThenEachPrizeInTurn) {
    PrizeLadder ladder;
    ladder.start();
    std::vector<int> lit;
    for (int step = 0; step < 10; ++step)
        lit.push_back(placeOf(ladder.step()));
    EXPECT_EQ(lit, (std::vector<int>{5, 1, 5, 2, 5, 3, 5, 4, 5, 1}));
    ladder.start();
    EXPECT_EQ(ladder.lit(), Lamp::None);
    EXPECT_EQ(ladder.step(), Lamp::Lose);
    EXPECT_EQ(ladder.step(), Lamp::FiveDollars);
}

// STOP takes the lit lamp as the prize; a stop before the light has moved, LOSE and the time
// limit give LOSE, which pays nothing.
TEST(LadderRulesTest, StopTakesTheLitLamp) {
    struct Case {
        int steps;
        bool timedOut;
        Lamp prize;
        int dollars;
    };
    const Case cases[] = {{0, false, Lamp::Lose, 0},          {1, false, Lamp::Lose, 0},
                          {2, false, Lamp::OneDollar, 1},     {4, false, Lamp::FiveDollars, 5},
                          {6, false, Lamp::FifteenDollars, 15}, {8, false, Lamp::FiftyDollars, 50},
                          {8, true, Lamp::Lose, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.steps);
        PrizeLadder ladder;
        ladder.start();
        for (int step = 0; step < c.steps; ++step)
            ladder.step();
        if (c.timedOut) ladder.timeOut();
        EXPECT_EQ(ladder.stop(), c.prize);
        EXPECT_EQ(ladder.prize(), c.prize);
        EXPECT_EQ(ladder.lit(), c.prize);
        EXPECT_EQ(dollarsOf(ladder.prize()), c.dollars);
    }
    EXPECT_EQ(dollarsOf(Lamp::None), 0);
}
