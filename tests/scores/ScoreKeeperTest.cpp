#include "ScoresFixture.h"

#include "ScoreKeeper.h"

using ScoreKeeperTest = ScoresFixture;

// A game handed over is in the hall the game shows straight away, in the place the store
// gives it (below equal scores, the eleventh out), whether or not the store's thread has
// stored it yet; once it has, the file holds the same; a cleared hall is empty at once and
// the other sets keep theirs.
TEST_F(ScoreKeeperTest, HandedGamesShowAtOnceAsTheStoreKeepsThem) {
    ScoreKeeper keeper(dbPath(), [this] { return now; });
    const QuestionSet regd = set(QStringLiteral("REGD.QST"));
    const QuestionSet arts = set(QStringLiteral("ARTS.QST"));
    keeper.watch(regd);
    keeper.sync();
    ASSERT_EQ(keeper.bestTen(regd), QList<ScoreEntry>());

    for (int i = 1; i <= 10; ++i)
        keeper.recordGame(regd, {{QStringLiteral("P%1").arg(i), i * 10, i}});
    keeper.recordGame(regd, {{QStringLiteral("Late"), 10, 3}});
    keeper.recordGame(regd, {{QStringLiteral("Tie"), 50, 7}});
    keeper.recordGame(arts, {{QStringLiteral("Art"), 9, 2}});
    const QStringList expected{"P10", "P9", "P8", "P7", "P6", "P5", "Tie", "P4", "P3", "P2"};
    const std::optional<QList<ScoreEntry>> shown = keeper.bestTen(regd);
    ASSERT_TRUE(shown);
    EXPECT_EQ(names(*shown), expected);
    EXPECT_EQ(shown->value(6).date, now);
    EXPECT_EQ(keeper.placesOf(regd, {50, 31, 20}), (QList<int>{8, 10, 0}));

    keeper.sync();
    const std::optional<QList<ScoreEntry>> told = keeper.bestTen(regd);
    ASSERT_TRUE(told);
    EXPECT_EQ(names(*told), expected) << "as the store told it";
    EXPECT_EQ(told->value(6).date, now);
    EXPECT_EQ(told->value(6).cabinet, shown->value(6).cabinet);
    EXPECT_EQ(names(openStore()->bestTen(regd)), expected);

    keeper.clearHallOfFame(regd);
    EXPECT_EQ(keeper.bestTen(regd), QList<ScoreEntry>());
    keeper.sync();
    EXPECT_TRUE(openStore()->bestTen(regd).isEmpty());
    EXPECT_EQ(names(openStore()->bestTen(arts)), QStringList{"Art"});
    EXPECT_TRUE(keeper.takeMessages().isEmpty());
}

// Closing the keeper right after the last game waits for every piece of work handed over:
// nothing of a game stored just before the program closes is lost.
TEST_F(ScoreKeeperTest, ClosingKeepsEverythingHandedOver) {
    const QuestionSet regd = set(QStringLiteral("REGD.QST"));
    {
        ScoreKeeper keeper(dbPath(), [this] { return now; });
        for (int i = 1; i <= 30; ++i) {
            keeper.recordAnswer(regd, QStringLiteral("Q%1").arg(i % 3), i % 2 == 0);
            keeper.recordGame(regd, {{QStringLiteral("P%1").arg(i), i, 1}});
        }
    }
    const auto store = openStore();
    EXPECT_EQ(names(store->bestTen(regd)),
              (QStringList{"P30", "P29", "P28", "P27", "P26", "P25", "P24", "P23", "P22", "P21"}));
    // Q0 was asked at 3, 6 ... 30, answered right at 6, 12 ... 30.
    EXPECT_EQ(store->figures(regd, QStringLiteral("Q0")), (QuestionFigures{10, 5}));
}

// The question editor's reader, on the calling thread, reads the figures the keeper's thread
// writes, each new answer once it is done.
TEST_F(ScoreKeeperTest, ReaderFollowsTheFigures) {
    ScoreKeeper keeper(dbPath(), [this] { return now; });
    const QuestionSet regd = set(QStringLiteral("REGD.QST"));
    keeper.recordAnswer(regd, QStringLiteral("Q"), true);
    keeper.sync();
    ScoreStore* reader = keeper.reader();
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->figures(regd, QStringLiteral("Q")), (QuestionFigures{1, 1}));
    keeper.recordAnswer(regd, QStringLiteral("Q"), false);
    keeper.sync();
    EXPECT_EQ(keeper.reader(), reader);
    EXPECT_EQ(reader->figures(regd, QStringLiteral("Q")), (QuestionFigures{2, 1}));
}
