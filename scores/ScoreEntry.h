#pragma once

#include "PlayerResult.h"

#include <QDateTime>

// One line of a hall of fame: a player's result and when it was entered (UTC).
struct ScoreEntry : PlayerResult {
    QDateTime date;

    bool operator==(const ScoreEntry&) const = default;
};
