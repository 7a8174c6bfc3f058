// The hall of fame on disk, in a scratch data folder: recording one game's results (target
// under 5 ms), counting one answer, reading the ten best out of 10,000 stored games, and
// building the attract page from them as the attract cycle does, from the hall the game
// keeps (target under 5 ms).
#include "HallOfFamePage.h"
#include "Label.h"
#include "QstFile.h"
#include "QuestionRecord.h"
#include "ScoreKeeper.h"
#include "ScoreStore.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>

namespace {

constexpr int StoredGames = 10000;

// Qt SQL loads its driver through the application object; the page needs widgets.
void ensureApplication() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "bench_scores";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
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

// 10,000 games in the hall of REGD.QST, each the best so far.
void storeGames(ScoreStore& store) {
    for (int i = 1; i <= StoredGames; ++i)
        if (!store.recordGame(regd, {{QStringLiteral("P%1").arg(i), i, 20}}))
            throw std::runtime_error("cannot store the games");
}

// The ten best, read from a hall that holds 10,000 games.
void BM_BestTenOf10000(benchmark::State& state) {
    Scratch scratch;
    storeGames(*scratch.store);
    for (auto _ : state) {
        const QList<ScoreEntry> best = scratch.store->bestTen(regd);
        if (best.size() != ScoreStore::HallSize) state.SkipWithError("short hall of fame");
        benchmark::DoNotOptimize(best);
    }
}
BENCHMARK(BM_BestTenOf10000)->Unit(benchmark::kMillisecond);

// The attract page of a hall that holds 10,000 games: the set's header read from its file,
// the ten best the game keeps put on the page's lines, and the page drawn.
void BM_AttractPageOf10000(benchmark::State& state) {
    Scratch scratch;
    storeGames(*scratch.store);
    const QString setPath = scratch.dir.filePath(QStringLiteral("REGD.QST"));
    QstFile file;
    if (!file.create(setPath.toStdString()) || !file.write(0, QuestionRecord::header()))
        throw std::runtime_error("cannot write the set");
    file.close();
    ScoreKeeper keeper(scratch.store->path());
    keeper.watch(regd);
    keeper.sync();
    QWidget playArea;
    playArea.resize(652, 253);
    HallOfFamePage page(&playArea);
    for (auto _ : state) {
        if (!page.load(keeper, setPath)) state.SkipWithError("no page");
        if (page.rows[9].name->text() != QStringLiteral("P9991")) state.SkipWithError("wrong");
        benchmark::DoNotOptimize(page.grab());
    }
}
BENCHMARK(BM_AttractPageOf10000)->Unit(benchmark::kMillisecond);

} // namespace
