#pragma once

#include "PlayerResult.h"

#include <QList>

class QuestionSet;
class ScoreKeeper;

// One result that enters a hall of fame: which of the results given, and its place (1..10).
struct RankedResult {
    qsizetype index = 0;
    int place = 0;
};

// The results of one game that enter the hall of fame of `set`, in the order given: a result
// ranks when the player answered at least one question, has a score above 0 and the store
// places it among the ten best (the results of the same game counted together).
QList<RankedResult> rankResults(ScoreKeeper& store, const QuestionSet& set,
                                const QList<PlayerResult>& results);
