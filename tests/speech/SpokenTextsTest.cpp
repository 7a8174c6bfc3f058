#include "SpokenTexts.h"

#include <gtest/gtest.h>

using namespace SpokenTexts;

// Each moment of a game is said in its fixed words, with the facts of the moment in them.
TEST(SpokenTextsTest, SaysEachMomentInItsWords) {
    const struct {
        QString spoken;
        const char* expected;
    } cases[] = {
        {question(QStringLiteral("Which planet is known as the red planet?")),
         "Which planet is known as the red planet?"},
        {answers({QStringLiteral("Venus"), QStringLiteral("Mars"), QStringLiteral("Jupiter"),
                  QStringLiteral("Saturn")}),
         "A: Venus, B: Mars, C: Jupiter, D: Saturn"},
        {correct(), "Correct"},
        {wrong(QStringLiteral("Mars")), "Wrong — the answer was Mars"},
        {timeOut(QStringLiteral("Mars")), "Time out — the answer was Mars"},
        {prize(0), "No prize"},
        {prize(1), "You win 1 dollar"},
        {prize(50), "You win 50 dollars"},
        {turn(1, QStringLiteral("Anna")), "Anna's turn"},
        {turn(3, QStringLiteral("Chris")), "Chris' turn"},
        {playerOut(2, QStringLiteral("Bob")), "Bob is out"},
        {playerOut(3, QString()), "Player Three is out"},
        {playerEntry(), "Type the players' names, then press Enter"},
        {nameEntry(QStringLiteral("Anna"), QStringLiteral("2nd")),
         "Anna, 2nd place in the hall of fame: type your name, then press Enter"},
        {ladder(), "Press Stop"},
        {gameOver(), "Game over"},
        {finalScores({{1, QStringLiteral("Anna"), 12}}), "Final score: 12"},
        {finalScores({{1, QStringLiteral("Anna"), 12}, {3, QStringLiteral("Bob"), 5}}),
         "Final scores. Anna: 12. Bob: 5"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.spoken, QString::fromUtf8(c.expected));
}

// Texts from question files and name boxes are spoken without their stray white space and
// control characters, and a blank name box is spoken as the slot's caption.
TEST(SpokenTextsTest, CleansTextFromFilesAndNameBoxes) {
    EXPECT_EQ(question(QStringLiteral("  Who\twrote\r\n  it?\x01")),
              QStringLiteral("Who wrote it?"));
    EXPECT_EQ(wrong(QStringLiteral(" Mars\n")), QStringLiteral("Wrong — the answer was Mars"));
    EXPECT_EQ(answers({QStringLiteral("1\x07"), QStringLiteral(" 2 "), QStringLiteral("3"),
                       QStringLiteral("4")}),
              QStringLiteral("A: 1, B: 2, C: 3, D: 4"));
    // Spaces alone make a named slot in the game, but there is nothing to say.
    EXPECT_EQ(turn(2, QStringLiteral("   ")), QStringLiteral("Player Two's turn"));
    EXPECT_EQ(turn(4, QString()), QStringLiteral("Player Four's turn"));
    EXPECT_EQ(finalScores({{1, QString(), 5}, {2, QStringLiteral("Bo"), 9}}),
              QStringLiteral("Final scores. Player One: 5. Bo: 9"));
}
