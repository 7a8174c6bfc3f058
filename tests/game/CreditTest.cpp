#include "GameFixture.h"
#include "QuestionArea.h"

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
        screen->questionArea->showCredit(c.credit);
        EXPECT_EQ(meter(), QString::fromLatin1(c.shown));
    }
    EXPECT_EQ(screen->questionArea->creditMeter->accessibleName(), QStringLiteral("Credit 7"));
}

// loadDigitHolder picks the digit picture; a blank zero is the blank; other values keep the holder.
TEST_F(CreditTest, LoadHolderPicksTheDigitPicture) {
    create();
    for (unsigned d = 0; d < 10; ++d) {
        screen->questionArea->loadDigitHolder(d, d % 2 == 1);
        EXPECT_TRUE(shows(screen->questionArea->digitHolder, screen->questionArea->digitPictures[d])) << d;
    }
    screen->questionArea->loadDigitHolder(0, true);
    EXPECT_TRUE(shows(screen->questionArea->digitHolder, screen->questionArea->blankDigitPicture));
    screen->questionArea->loadDigitHolder(10, false);
    EXPECT_TRUE(shows(screen->questionArea->digitHolder, screen->questionArea->blankDigitPicture));
}
