#pragma once

#include "PlayerResult.h"

#include <QDateTime>
#include <QString>

// One line of a hall of fame: a player's result, when it was entered (UTC), the cabinet it
// was made on and the game it belongs to (empty for entries older than game ids).
struct ScoreEntry : PlayerResult {
    QDateTime date;
    QString cabinet;
    QString gameId;

    bool operator==(const ScoreEntry&) const = default;
};
