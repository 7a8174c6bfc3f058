#pragma once

#include <QString>

// One player's result at the end of a game, as the hall of fame takes it.
struct PlayerResult {
    // The name the player entered; the store keeps at most ten characters of it.
    QString name;
    // The best credit the player reached in the game.
    int score = 0;
    // How many questions the player was asked in the game.
    int questionsPlayed = 0;

    bool operator==(const PlayerResult&) const = default;
};
