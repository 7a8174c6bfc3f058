#pragma once

#include "ManualClock.h"
#include "QstFixtures.h"
#include "QuizGame.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

// Readable failure messages for texts.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

// A game without a window, in attract mode over a program directory whose REGD.QST holds
// numbered questions ("Question n", "Right n", "Wrong n.1" ...).
class GameRulesFixture : public ::testing::Test {
protected:
    // Writes `questions` numbered questions to REGD.QST (none: no file) and resets the game->
    void create(int questions) {
        if (questions > 0) QstFixtures::writeNumberedSet(dir.file("REGD.QST"), questions);
        game = std::make_unique<QuizGame>(clock, dir.path(), [] { return 12345u; });
        game->enterAttractMode();
    }

    TempDir dir;
    ManualClock clock;
    std::unique_ptr<QuizGame> game =
        std::make_unique<QuizGame>(clock, QString(), QuizGame::SeedSource{});
};
