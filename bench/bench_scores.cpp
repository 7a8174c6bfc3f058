// The hall of fame on disk, in a scratch data folder: recording one game's results (target
// under 5 ms), counting one answer, and reading the ten best out of 10,000 stored games
// (target under 5 ms, for the attract page).
#include "QuestionRecord.h"
#include "ScoreStore.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>

namespace {

constexpr int StoredGames = 10000;

// Qt SQL loads its driver through the application object.
void ensureApplication() {
    static int argc = 1;
    static char name[] = "bench_scores";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

const QuestionSet regd(QStringLiteral("REGD.QST"), QuestionRecord::header());

// A scratch folder and a store in it, gone at the end of the benchmark.
struct Scratch {
    Scratch() {
        ensureApplication();
        if (!dir.isValid()) throw std::runtime_error("cannot make a scratch folder");
        store = std::make_unique<ScoreStore>(dir.filePath(QStringLiteral("scores.sqlite")));
        if (!store->isLasting()) throw std::runtime_error("the store is not on disk");
    }
    QTemporaryDir dir;
    std::unique_ptr<ScoreStore> store;
};

// Four players, every one of them ranking: four entries written in one transaction.
void BM_RecordGame(benchmark::State& state) {
    Scratch scratch;
    int score = 0;
    for (auto _ : state) {
        QList<PlayerResult> game;
        for (int p = 0; p < 4; ++p)
            game.append({QStringLiteral("Player %1").arg(p), ++score, 12});
        if (!scratch.store->recordGame(regd, game)) state.SkipWithError("write failed");
    }
}
BENCHMARK(BM_RecordGame)->Unit(benchmark::kMillisecond);

// One answer counted, as at every judgement of a game.
void BM_RecordAnswer(benchmark::State& state) {
    Scratch scratch;
    int n = 0;
    for (auto _ : state) {
        const QString question = QStringLiteral("Question %1").arg(++n % 500);
        if (!scratch.store->recordAnswer(regd, question, n % 3 == 0))
            state.SkipWithError("write failed");
    }
}
BENCHMARK(BM_RecordAnswer)->Unit(benchmark::kMillisecond);

// The ten best, read from a hall that holds 10,000 games.
void BM_BestTenOf10000(benchmark::State& state) {
    Scratch scratch;
    for (int i = 1; i <= StoredGames; ++i)
        if (!scratch.store->recordGame(regd, {{QStringLiteral("P%1").arg(i), i, 20}}))
            throw std::runtime_error("cannot store the games");
    for (auto _ : state) {
        const QList<ScoreEntry> best = scratch.store->bestTen(regd);
        if (best.size() != ScoreStore::HallSize) state.SkipWithError("short hall of fame");
        benchmark::DoNotOptimize(best);
    }
}
BENCHMARK(BM_BestTenOf10000)->Unit(benchmark::kMillisecond);

} // namespace
