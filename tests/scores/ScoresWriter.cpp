// Writes games into the store at argv[1] as fast as it can until it is killed: game n scores
// n (one more than the best already stored) and asks the question "Q", answered right when n
// is even. After each game it prints n on a line of its own. With a venue's address as
// argv[2] every game also goes into the outbox for that server.
#include "QuestionRecord.h"
#include "ScoreStore.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2 && argc != 3) return 2;
    ScoreStore store(QString::fromLocal8Bit(argv[1]));
    if (argc == 3 && !store.useVenue(QString::fromLocal8Bit(argv[2]))) return 1;
    const QuestionSet set(QStringLiteral("CRASH.QST"), QuestionRecord::header());
    const QList<ScoreEntry> best = store.bestTen(set);
    for (int n = best.isEmpty() ? 1 : best.first().score + 1;; ++n) {
        if (!store.recordGame(set, {{QStringLiteral("W%1").arg(n), n, n % 50}}) ||
            !store.recordAnswer(set, QStringLiteral("Q"), n % 2 == 0)) {
            std::fprintf(stderr, "%s\n", qPrintable(store.takeMessages().join('\n')));
            return 1;
        }
        std::printf("%d\n", n);
        std::fflush(stdout);
    }
}
