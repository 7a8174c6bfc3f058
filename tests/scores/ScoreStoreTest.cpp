#include "ScoresFixture.h"

#include "QstFixtures.h"

#include <QDir>

using ScoreStoreTest = ScoresFixture;

// A score takes its place among the ten best; an equal score already there stays above it,
// so a score equal to the tenth does not rank; scores of one game are placed in game order.
TEST(PlacesTest, TiesGoBelowAndTheEleventhIsOut) {
    const QList<int> full{50, 40, 30, 20, 15, 15, 10, 9, 8, 7};
    const struct {
        QList<int> existing;
        QList<int> scores;
        QList<int> places;
    } cases[] = {
        {{}, {5}, {1}},          {{}, {5, 9, 5}, {2, 1, 3}},
        {full, {51}, {1}},       {full, {15}, {7}},
        {full, {8}, {10}},       {full, {7}, {0}},
        {full, {6}, {0}},        {full, {20, 20}, {5, 6}},
        {full, {8, 60}, {0, 1}}, {{9, 9, 9, 9, 9, 9, 9, 9, 9}, {9, 9}, {10, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ScoreStore::placesAmong(c.existing, c.scores), c.places)
            << testing::PrintToString(c.existing) << " + " << testing::PrintToString(c.scores);
}

// The hall of fame keeps name, score, date and questions played; a later equal score is
// entered below the earlier one, and a score that would be eleventh is not entered at all.
TEST_F(ScoreStoreTest, TenBestWithTies) {
    auto store = openStore();
    const QuestionSet regd = set(QStringLiteral("REGD.QST"));
    for (int i = 1; i <= 10; ++i) {
        now = now.addSecs(60);
        ASSERT_TRUE(store->recordGame(regd, {{QStringLiteral("P%1").arg(i), i * 10, i}}));
    }
    QList<ScoreEntry> best = store->bestTen(regd);
    ASSERT_EQ(best.size(), 10);
    EXPECT_EQ(best.first().name, QStringLiteral("P10"));
    EXPECT_EQ(best.first().score, 100);
    EXPECT_EQ(best.first().questionsPlayed, 10);
    EXPECT_EQ(best.first().date, now);
    EXPECT_EQ(best.last().name, QStringLiteral("P1"));

    EXPECT_FALSE(store->ranks(regd, 10));
    EXPECT_EQ(store->placeOf(regd, 50), 7);
    ASSERT_TRUE(store->recordGame(regd, {{QStringLiteral("Late"), 10, 3}}));
    EXPECT_EQ(store->bestTen(regd), best) << "a score equal to the tenth is not entered";

    ASSERT_TRUE(store->recordGame(regd, {{QStringLiteral("Tie"), 50, 7}}));
    best = store->bestTen(regd);
    EXPECT_EQ(names(best),
              (QStringList{"P10", "P9", "P8", "P7", "P6", "P5", "Tie", "P4", "P3", "P2"}));
    EXPECT_TRUE(store->takeMessages().isEmpty());
}

// Of one game's results only those that rank are entered, each under its cleaned name.
TEST_F(ScoreStoreTest, GameEntersOnlyRankingResults) {
    auto store = openStore();
    const QuestionSet regd = set(QStringLiteral("REGD.QST"));
    QList<PlayerResult> filler;
    for (int i = 0; i < 9; ++i)
        filler.append({QStringLiteral("F%1").arg(i), 20, 4});
    ASSERT_TRUE(store->recordGame(regd, filler));
    const QList<PlayerResult> game{{QStringLiteral("  Low "), 5, 5},
                                   {QStringLiteral("Alexandria the Great"), 25, 9},
                                   {QStringLiteral("Tied\n"), 20, 6}};
    EXPECT_EQ(store->placesOf(regd, {5, 25, 20}), (QList<int>{0, 1, 0}));
    ASSERT_TRUE(store->recordGame(regd, game));
    const QList<ScoreEntry> best = store->bestTen(regd);
    ASSERT_EQ(best.size(), 10);
    EXPECT_EQ(best.first().name, QStringLiteral("Alexandria"));
    EXPECT_FALSE(names(best).contains(QStringLiteral("Low")));
    EXPECT_FALSE(names(best).contains(QStringLiteral("Tied")));
}

// A name keeps at most ten characters, a letter with its accent counting as one; blanks at
// the ends and control characters go.
TEST(NameTest, CleanName) {
    const struct {
        QString in;
        QString out;
    } cases[] = {
        {QStringLiteral("Ann"), QStringLiteral("Ann")},
        {QStringLiteral("  Ann  "), QStringLiteral("Ann")},
        {QStringLiteral("Bartholomew"), QStringLiteral("Bartholome")},
        {QStringLiteral("Ann\tLee\n"), QStringLiteral("AnnLee")},
        {QStringLiteral("Zoe\u0308 Zoe\u0308 Zoe\u0308"), QStringLiteral("Zoe\u0308 Zoe\u0308 Zo")},
        {QStringLiteral("Jo        x"), QStringLiteral("Jo")},
        {QString(), QString()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ScoreStore::cleanName(c.in), c.out) << c.in.toStdString();
}

// Each set has its own hall of fame, known by file name and header: the same file in
// another folder shares it, another header or another file name does not.
TEST_F(ScoreStoreTest, OneHallPerSet) {
    auto store = openStore();
    QDir(dir.path()).mkpath(QStringLiteral("a"));
    QDir(dir.path()).mkpath(QStringLiteral("b"));
    QstFixtures::writeNumberedSet(dir.file("a/QUIZ.QST"), 2);
    QstFixtures::writeNumberedSet(dir.file("b/QUIZ.QST"), 3);
    QuestionRecord titled = QuestionRecord::header();
    titled.answer = "Capitals";
    const QuestionSet inA = QuestionSet::fromFile(dir.path() + QStringLiteral("/a/QUIZ.QST"));
    const QuestionSet inB = QuestionSet::fromFile(dir.path() + QStringLiteral("/b/QUIZ.QST"));
    const QuestionSet other = set(QStringLiteral("OTHER.QST"));
    const QuestionSet retitled(QStringLiteral("QUIZ.QST"), titled);
    ASSERT_TRUE(inA.isValid());
    EXPECT_EQ(inA, inB);

    ASSERT_TRUE(store->recordGame(inA, {{QStringLiteral("A"), 30, 5}}));
    ASSERT_TRUE(store->recordGame(other, {{QStringLiteral("O"), 40, 5}}));
    ASSERT_TRUE(store->recordGame(retitled, {{QStringLiteral("T"), 50, 5}}));
    EXPECT_EQ(names(store->bestTen(inB)), QStringList{"A"});
    EXPECT_EQ(names(store->bestTen(other)), QStringList{"O"});
    EXPECT_EQ(names(store->bestTen(retitled)), QStringList{"T"});
    EXPECT_TRUE(store->bestTen(set(QStringLiteral("NEW.QST"))).isEmpty());
    EXPECT_TRUE(store->ranks(set(QStringLiteral("NEW.QST")), 0));

    QString error;
    EXPECT_FALSE(QuestionSet::fromFile(dir.path() + QStringLiteral("/none.QST"), &error).isValid());
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(store->recordGame(QuestionSet(), {{QStringLiteral("X"), 10, 1}}));
}

// Scores last: a store opened later (another connection, or after a restart) sees them; a
// connection name already in use is not taken from its store; clearing one set's hall of fame
// leaves the others, clearing all empties every hall; the question figures stay.
TEST_F(ScoreStoreTest, ScoresLastAndClear) {
    const QuestionSet regd = set(QStringLiteral("REGD.QST"));
    const QuestionSet arts = set(QStringLiteral("ARTS.QST"));
    {
        auto first = openStore(QStringLiteral("first"));
        auto second = openStore(QStringLiteral("second"));
        ASSERT_TRUE(first->recordGame(regd, {{QStringLiteral("Ann"), 12, 8}}));
        ASSERT_TRUE(second->recordGame(arts, {{QStringLiteral("Bob"), 7, 3}}));
        ASSERT_TRUE(second->recordAnswer(arts, QStringLiteral("Who painted it?"), true));
        EXPECT_EQ(names(second->bestTen(regd)), QStringList{"Ann"});
        auto namesake = openStore(QStringLiteral("first"));
        EXPECT_NE(namesake->connectionName(), QStringLiteral("first"));
        EXPECT_EQ(names(namesake->bestTen(regd)), QStringList{"Ann"});
        EXPECT_EQ(names(first->bestTen(arts)), QStringList{"Bob"}) << "the first keeps its own";
    }
    auto store = openStore();
    EXPECT_TRUE(store->isLasting());
    EXPECT_EQ(names(store->bestTen(regd)), QStringList{"Ann"});
    EXPECT_EQ(names(store->bestTen(arts)), QStringList{"Bob"});
    ASSERT_TRUE(store->clearHallOfFame(regd));
    EXPECT_TRUE(store->bestTen(regd).isEmpty());
    EXPECT_EQ(names(store->bestTen(arts)), QStringList{"Bob"});
    EXPECT_TRUE(store->clearHallOfFame(set(QStringLiteral("NEVER.QST")))) << "no hall yet";
    ASSERT_TRUE(store->recordGame(regd, {{QStringLiteral("Cy"), 9, 4}}));
    ASSERT_TRUE(store->clearHallOfFame());
    EXPECT_TRUE(store->bestTen(regd).isEmpty());
    EXPECT_TRUE(store->bestTen(arts).isEmpty());
    EXPECT_EQ(store->figures(arts, QStringLiteral("Who painted it?")), (QuestionFigures{1, 1}));
    EXPECT_TRUE(store->takeMessages().isEmpty());
}
