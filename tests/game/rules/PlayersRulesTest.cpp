#include "GamePosition.h"
#include "Players.h"
#include "QuizGame.h"

#include <gtest/gtest.h>

// Confirming the players gives each named slot five credits and a score of five; a game with
// no names is a game of one player whose score is the first slot's.
TEST(PlayersRulesTest, ConfirmedPlayersStartWithFiveCredits) {
    Players players;
    players.setName(2, QStringLiteral("Ann"));
    players.setName(4, QStringLiteral("Bo"));
    EXPECT_EQ(players.count(), 2);
    players.giveStartingCredits();
    EXPECT_EQ(players.credits(), (std::array<int, 4>{0, 5, 0, 5}));
    EXPECT_EQ(players.scores(), (std::array<int, 4>{0, 5, 0, 5}));
    EXPECT_EQ(players.credit(), 5);
    EXPECT_EQ(players.current(), 0);

    players.setName(2, QString());
    players.setName(4, QString());
    EXPECT_EQ(players.count(), 0);
    players.giveStartingCredits();
    EXPECT_EQ(players.scores(), (std::array<int, 4>{5, 0, 0, 0}));
    EXPECT_FALSE(players.multiplayer());
}

// The turn passes round the slots to the next player with credit, whose credit is shown; with
// nobody left it goes once round and stops.
TEST(PlayersRulesTest, TurnPassesToTheNextPlayerWithCredit) {
    struct Case {
        std::array<int, 4> credits;
        int from;
        int to;
    };
    const Case cases[] = {
        {{5, 5, 0, 0}, 0, 1}, {{5, 5, 0, 0}, 1, 2}, {{5, 5, 0, 0}, 2, 1},
        {{0, 3, 0, 2}, 4, 2}, {{4, 0, 0, 0}, 1, 1}, {{0, 0, 0, 0}, 3, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.from);
        Players players;
        GamePosition::setCredits(players, 9, c.credits, c.from);
        players.passTurn();
        EXPECT_EQ(players.current(), c.to);
        EXPECT_EQ(players.credit(), c.credits[static_cast<std::size_t>(c.to - 1)]);
    }
}

// A wrong answer or a time out ends the game only when nobody has credit left to play.
TEST(PlayersRulesTest, GameGoesOnWhileAnyoneHasCredit) {
    struct Case {
        int credit;
        int players;
        std::array<int, 4> credits;
        bool goesOn;
    };
    const Case cases[] = {
        {3, 1, {0, 0, 0, 0}, true}, {0, 1, {0, 0, 0, 0}, false}, {0, 1, {4, 0, 0, 0}, false},
        {0, 2, {0, 1, 0, 0}, true}, {0, 3, {0, 0, 0, 0}, false},
    };
    for (const Case& c : cases) {
        Players players;
        for (int slot = 1; slot <= c.players; ++slot)
            players.setName(slot, QStringLiteral("P%1").arg(slot));
        GamePosition::setCredits(players, c.credit, c.credits, 0);
        EXPECT_EQ(players.goesOn(), c.goesOn) << c.credit << " " << c.players;
    }
}

// Charges and prizes go to the player at the controls: the credit itself in a game of one,
// that player's own credit (shown on the meter) in a game of several.
TEST(PlayersRulesTest, ChargesAndPrizesGoToThePlayerAtTheControls) {
    Players one;
    one.setName(1, QStringLiteral("Ann"));
    GamePosition::setCredits(one, 1, {0, 0, 0, 0}, 0);
    one.chargeQuestion();
    one.chargeQuestion();
    EXPECT_EQ(one.credit(), Players::exhausted);
    EXPECT_EQ(one.questionsPlayed()[0], 2);
    GamePosition::setCredits(one, 3, {0, 0, 0, 0}, 0);
    one.addDollar();
    EXPECT_EQ(one.credit(), 4);

    Players two;
    two.setName(1, QStringLiteral("Ann"));
    two.setName(2, QStringLiteral("Bo"));
    GamePosition::setCredits(two, 0, {7, 3, 0, 0}, 2);
    two.chargeQuestion();
    two.addDollar();
    two.addDollar();
    EXPECT_EQ(two.credits(), (std::array<int, 4>{7, 4, 0, 0}));
    EXPECT_EQ(two.credit(), 4);
    EXPECT_EQ(two.questionsPlayed()[1], 1);
}

// The best credit a player reached is the score; in a game of one it belongs to the first
// named slot, and the final scores never show less than 0 or an empty name.
TEST(PlayersRulesTest, ScoresKeepTheBestCredit) {
    Players players;
    players.setName(3, QStringLiteral("Cy"));
    GamePosition::setScores(players, {0, 0, 5, 0});
    players.recordScore(12);
    players.recordScore(8);
    EXPECT_EQ(players.scores(), (std::array<int, 4>{0, 0, 12, 0}));
    GamePosition::setCredits(players, 0, {0, 0, 0, 0}, 2);
    players.recordScore(6);
    EXPECT_EQ(players.scores()[1], 6);
    GamePosition::setScores(players, {-1, 6, 12, 0});
    EXPECT_EQ(players.finalScore(1), 0);
    EXPECT_EQ(players.finalName(1), QStringLiteral("Player One"));
    EXPECT_EQ(players.finalName(3), QStringLiteral("Cy"));
    EXPECT_EQ(players.finalName(4), QStringLiteral("Player Four"));
    const auto standings = players.standings();
    EXPECT_TRUE(standings[2].played);
    EXPECT_FALSE(standings[1].played); // a slot without a name did not play
}

// Each question makes the gauge's step 10 ms shorter, down to 40 ms.
TEST(PlayersRulesTest, GaugeGetsFasterDownToItsFastestStep) {
    const int steps[][2] = {{150, 140}, {60, 50}, {50, 40}, {49, 49}, {40, 40}};
    for (const auto& s : steps)
        EXPECT_EQ(QuizGame::fasterGaugeStep(s[0]), s[1]) << s[0];
}
