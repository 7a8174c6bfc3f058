#include "PhoneRoster.h"

#include <gtest/gtest.h>

namespace {
using Role = PhoneRoster::Role;
using Seating = PhoneRoster::Seating;

// Phones take slots 1-4 in join order while the player entry is open, passing over slots named
// at the keyboard; the rest are the audience.
TEST(PhoneRosterTest, PlayerEntrySeatsPhonesInJoinOrderAroundKeyboardNames) {
    PhoneRoster roster;
    const auto slotFree = [](int slot) { return slot != 2; }; // slot 2 typed at the keyboard
    for (int id = 1; id <= 5; ++id)
        roster.add(id, QStringLiteral("P%1").arg(id), Seating::PlayerEntry, slotFree);
    EXPECT_EQ(roster.find(1)->slot, 1);
    EXPECT_EQ(roster.find(2)->slot, 3);
    EXPECT_EQ(roster.find(3)->slot, 4);
    EXPECT_EQ(roster.find(4)->role, Role::Audience);
    EXPECT_EQ(roster.find(5)->role, Role::Audience);
    // At the next player entry the boxes still show the last game's names: a phone whose name
    // is there keeps its slot, the others take the empty slots in join order. Here slot 1 was
    // typed over at the keyboard and slot 2 cleared.
    roster.endGame();
    const QString boxes[] = {QStringLiteral("Kim"), {}, QStringLiteral("P2"), QStringLiteral("P3")};
    EXPECT_EQ(roster.openPlayerEntry([&boxes](int slot) { return boxes[slot - 1]; }),
              (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(roster.find(1)->slot, 2);
    EXPECT_EQ(roster.find(2)->slot, 3);
    EXPECT_EQ(roster.find(3)->slot, 4);
    EXPECT_EQ(roster.find(4)->role, Role::Audience);
    // A phone whose box is cleared at the keyboard before OK watches the game as the audience.
    const QString seated[] = {
        QStringLiteral("Kim"), QStringLiteral("P1"), {}, QStringLiteral("P3")};
    roster.startGame([&seated](int slot) { return seated[slot - 1]; });
    EXPECT_EQ(roster.find(2)->role, Role::Audience);
    EXPECT_EQ(roster.find(2)->slot, 0);
    EXPECT_EQ(roster.find(1)->slot, 2);
    EXPECT_EQ(roster.find(3)->slot, 4);
}

// A phone that joins during a game is in the audience; before any player entry it waits, and
// watches as the audience once a game begins.
TEST(PhoneRosterTest, LateAndEarlyPhonesAreTheAudienceOfTheGame) {
    PhoneRoster roster;
    EXPECT_EQ(roster.add(1, QStringLiteral("Early"), Seating::Closed, {}).role, Role::Waiting);
    EXPECT_EQ(roster.add(2, QStringLiteral("Late"), Seating::Game, {}).role, Role::Audience);
    roster.startGame();
    EXPECT_EQ(roster.find(1)->role, Role::Audience);
    EXPECT_EQ(roster.audienceSize(), 2);
}

// Only an audience phone's first answer to a question counts; the best of the audience has the
// most right answers, the earlier joined of equals.
TEST(PhoneRosterTest, AudienceAnswersCountOncePerQuestion) {
    PhoneRoster roster;
    roster.add(1, QStringLiteral("Player"), Seating::PlayerEntry, {});
    for (int id = 2; id <= 4; ++id)
        roster.add(id, QStringLiteral("A%1").arg(id), Seating::Game, {});
    roster.startGame();
    EXPECT_FALSE(roster.bestOfAudience());

    roster.newQuestion();
    EXPECT_FALSE(roster.answer(1, 0)) << "a player's answer is the game's, not the audience's";
    EXPECT_TRUE(roster.answer(3, 2));
    EXPECT_FALSE(roster.answer(3, 1)) << "a second tap changes nothing";
    EXPECT_TRUE(roster.answer(4, 2));
    EXPECT_TRUE(roster.answer(2, 1));
    roster.judge(2);
    EXPECT_EQ(roster.find(3)->rightAnswers, 1);
    EXPECT_EQ(roster.find(2)->rightAnswers, 0);
    EXPECT_EQ(roster.bestOfAudience(), 3);

    roster.newQuestion();
    roster.answer(4, 0);
    roster.judge(0);
    EXPECT_EQ(roster.bestOfAudience(), 4);
    roster.startGame();
    EXPECT_FALSE(roster.bestOfAudience()) << "a new game counts afresh";
}
} // namespace
