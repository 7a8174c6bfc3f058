#include "HallRanking.h"

#include "ScoreKeeper.h"

QList<RankedResult> rankResults(ScoreKeeper& store, const QuestionSet& set,
                                const QList<PlayerResult>& results) {
    QList<qsizetype> contenders;
    QList<int> scores;
    for (qsizetype i = 0; i < results.size(); ++i) {
        if (results[i].questionsPlayed <= 0 || results[i].score <= 0) continue;
        contenders.append(i);
        scores.append(results[i].score);
    }
    const QList<int> places = store.placesOf(set, scores);
    QList<RankedResult> ranked;
    for (qsizetype k = 0; k < contenders.size(); ++k)
        if (places.value(k) > 0) ranked.append({contenders[k], places[k]});
    return ranked;
}
