#pragma once

#include "PlayerResult.h"
#include "QuestionSet.h"

#include <QDateTime>
#include <QList>
#include <QString>

// One game as a cabinet hands it to the venue's store: its id (a UUID, so that a game sent
// twice counts once), the set it was played on, the cabinet, when it ended, the results that
// go into the hall of fame and every question asked in it.
struct GameRecord {
    struct Answer {
        QString question;
        bool right = false;
        bool operator==(const Answer&) const = default;
    };

    QString id;
    QuestionSet set;
    QString cabinet;
    QDateTime entered;
    QList<PlayerResult> results;
    QList<Answer> answers;

    bool operator==(const GameRecord&) const = default;
};
