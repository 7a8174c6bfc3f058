#include "GameFixture.h"

using CreditTest = GameFixture;

// The meter shows the credit right-aligned in five digits without leading zeros, cut to the
// first five characters of its decimal text; -1 leaves the last picture standing.
TEST_F(CreditTest, MeterShowsTheCredit) {
    create();
    struct Case {
        int credit;
        const char* shown;
    };
    const Case cases[] = {
        {0, "    0"},     {5, "    5"},      {150, "  150"},
        {12345, "12345"}, {100000, "10000"}, {-1, "10000"}, // unchanged from the row before
        {7, "    7"},     {-1, "    7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.credit);
        screen->game.credit = c.credit;
        screen->showCredit();
        EXPECT_EQ(meter(), QString::fromLatin1(c.shown));
        EXPECT_EQ(screen->game.credit, c.credit);
    }
    EXPECT_EQ(screen->creditMeter->accessibleName(), QStringLiteral("Credit 7"));
}

// loadDigitHolder picks the digit picture; a blank zero is the blank; other values keep the holder.
TEST_F(CreditTest, LoadHolderPicksTheDigitPicture) {
    create();
    for (unsigned d = 0; d < 10; ++d) {
        screen->loadDigitHolder(d, d % 2 == 1);
        EXPECT_TRUE(shows(screen->digitHolder, screen->digitPictures[d])) << d;
    }
    screen->loadDigitHolder(0, true);
    EXPECT_TRUE(shows(screen->digitHolder, screen->blankDigitPicture));
    screen->loadDigitHolder(10, false);
    EXPECT_TRUE(shows(screen->digitHolder, screen->blankDigitPicture));
}

// One-player: the credit itself goes up and down. Several players: the player at the
// controls' own credit does, and a redraw after a change of player shows that player's.
TEST_F(CreditTest, ChargesAndWinsGoToThePlayerAtTheControls) {
    create();
    QuizGame& s = screen->game;
    s.playerCount = 1;
    s.currentPlayer = 0;
    s.credit = 1;
    s.chargeQuestionAtControls();
    EXPECT_EQ(s.credit, 0);
    EXPECT_EQ(meter(), QStringLiteral("    0"));
    s.chargeQuestionAtControls();
    EXPECT_EQ(s.credit, -1);
    EXPECT_EQ(meter(), QStringLiteral("    0"));
    s.credit = 3;
    for (int i = 0; i < 15; ++i)
        s.addDollarAtControls();
    EXPECT_EQ(s.credit, 18);
    EXPECT_EQ(meter(), QStringLiteral("   18"));

    s.playerCount = 2;
    s.playerCredits = {7, 3, 0, 0};
    s.currentPlayer = 2;
    s.credit = 99;
    s.chargeQuestionAtControls();
    EXPECT_EQ(s.playerCredits, (std::array<int, 4>{7, 2, 0, 0}));
    EXPECT_EQ(s.credit, 2);
    s.addDollarAtControls();
    EXPECT_EQ(s.playerCredits[1], 3);
    s.currentPlayer = 1;
    s.showCreditOfPlayerAtControls();
    EXPECT_EQ(s.credit, 7);
    EXPECT_EQ(meter(), QStringLiteral("    7"));
}
