#include "GameRulesFixture.h"

using PlayersRulesTest = GameRulesFixture;

// Confirming the players gives each named slot five credits and a score of five; a game with
// no names is a game of one player whose score is the first slot's.
TEST_F(PlayersRulesTest, ConfirmedPlayersStartWithFiveCredits) {
    create(3);
    game->setPlayerName(2, QStringLiteral("Ann"));
    game->setPlayerName(4, QStringLiteral("Bo"));
    EXPECT_EQ(game->playerCount, 2);
    game->giveStartingCredits();
    EXPECT_EQ(game->playerCredits, (std::array<int, 4>{0, 5, 0, 5}));
    EXPECT_EQ(game->playerScores, (std::array<int, 4>{0, 5, 0, 5}));
    EXPECT_EQ(game->credit, 5);
    EXPECT_EQ(game->currentPlayer, 0);

    game->setPlayerName(2, QString());
    game->setPlayerName(4, QString());
    EXPECT_EQ(game->playerCount, 0);
    game->giveStartingCredits();
    EXPECT_EQ(game->playerScores, (std::array<int, 4>{5, 0, 0, 0}));
    EXPECT_FALSE(game->multiplayer());
}

// The turn passes round the slots to the next player with credit; with nobody left it goes
// once round and stops.
TEST_F(PlayersRulesTest, TurnPassesToTheNextPlayerWithCredit) {
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
        game->playerCredits = c.credits;
        game->currentPlayer = c.from;
        game->passTurn();
        EXPECT_EQ(game->currentPlayer, c.to);
    }
}

// A wrong answer or a time out ends the game only when nobody has credit left to play.
TEST_F(PlayersRulesTest, GameGoesOnWhileAnyoneHasCredit) {
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
        game->credit = c.credit;
        game->playerCount = c.players;
        game->playerCredits = c.credits;
        EXPECT_EQ(game->goesOn(), c.goesOn) << c.credit << " " << c.players;
    }
}

// Charges and prizes go to the player at the controls: the credit itself in a game of one,
// that player's own credit in a game of several.
TEST_F(PlayersRulesTest, ChargesAndPrizesGoToThePlayerAtTheControls) {
    game->playerCount = 1;
    game->currentPlayer = 0;
    game->credit = 1;
    game->chargeQuestion();
    game->chargeQuestion();
    EXPECT_EQ(game->credit, -1);
    game->credit = 3;
    game->addDollar();
    EXPECT_EQ(game->credit, 4);

    game->playerCount = 2;
    game->playerCredits = {7, 3, 0, 0};
    game->currentPlayer = 2;
    game->chargeQuestion();
    game->addDollar();
    game->addDollar();
    EXPECT_EQ(game->playerCredits, (std::array<int, 4>{7, 4, 0, 0}));
    game->takeCreditOfPlayerAtControls();
    EXPECT_EQ(game->credit, 4);
}

// The best credit a player reached is the score; in a game of one it belongs to the first
// named slot, and the final scores never show less than 0 or an empty name.
TEST_F(PlayersRulesTest, ScoresKeepTheBestCredit) {
    game->setPlayerName(3, QStringLiteral("Cy"));
    game->currentPlayer = 0;
    game->playerScores = {0, 0, 5, 0};
    game->recordScore(12);
    game->recordScore(8);
    EXPECT_EQ(game->playerScores, (std::array<int, 4>{0, 0, 12, 0}));
    game->currentPlayer = 2;
    game->recordScore(6);
    EXPECT_EQ(game->playerScores[1], 6);
    game->playerScores[0] = -1;
    EXPECT_EQ(game->finalScore(1), 0);
    EXPECT_EQ(game->finalName(1), QStringLiteral("Player One"));
    EXPECT_EQ(game->finalName(3), QStringLiteral("Cy"));
    EXPECT_EQ(game->finalName(4), QStringLiteral("Player Four"));
}

// A question has 100 steps of time and the time is up at the last; the reset fills the gauge.
// Each question makes the gauge's step 10 ms shorter, down to 40 ms; the prizes pay their
// dollars and LOSE pays nothing.
TEST_F(PlayersRulesTest, TimeGaugeAndPrizes) {
    create(3);
    EXPECT_EQ(game->timeLeft, 100);
    for (int step = 0; step < 99; ++step)
        game->tickTime();
    EXPECT_FALSE(game->timeUp());
    game->tickTime();
    game->tickTime();
    EXPECT_TRUE(game->timeUp());
    EXPECT_EQ(game->timeLeft, 0);
    game->enterAttractMode();
    EXPECT_EQ(game->timeLeft, 100);

    const int steps[][2] = {{150, 140}, {60, 50}, {50, 40}, {49, 49}, {40, 40}};
    for (const auto& s : steps)
        EXPECT_EQ(QuizGame::fasterGaugeStep(s[0]), s[1]) << s[0];
    const int dollars[] = {0, 1, 5, 15, 50, 0};
    for (int prize = 0; prize <= 5; ++prize)
        EXPECT_EQ(QuizGame::prizeDollars(prize), dollars[prize]) << prize;
}
