// The reveal's cadence on the program's own clock: the intervals between question ticks
// (17 ms apart) while questions are typed out, measured over 500 ticks in the Qt event loop, and
// how late each tick comes after its due time. The clock keeps its ticks on one grid of whole
// intervals and fires the ticks a late pass missed, so the n-th tick is due n intervals after
// the first; the grid is placed at the earliest tick. Run it beside a load of both cores (two
// busy loops) to see what a busy machine does to it.
#include "ButtonBand.h"
#include "ImageView.h"
#include "QtClock.h"
#include "PlayerEntryPanel.h"
#include "GamePosition.h"
#include "QuizScreen.h"
#include "RecordingMidiPlatform.h"
#include "ScriptedDialogs.h"
#include "Settings.h"
#include "TempDir.h"

#include "QstFixtures.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <numeric>
#include <vector>

namespace {

constexpr int Ticks = 500;

QApplication& app() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "bench_reveal";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

void BM_RevealCadence(benchmark::State& state) {
    app();
    TempDir dir;
    QstFixtures::writeNumberedSet(dir.file("REGD.QST"), 100);
    QtClock clock;
    ScriptedDialogs dialogs;
    RecordingShell shell;
    Settings settings;
    RecordingMidiPlatform midi;
    QuizServices services{clock, dialogs, shell, settings, midi, dir.path(), false, {}};
    auto screen = std::make_unique<QuizScreen>(services);
    screen->startUp();
    screen->show();

    std::vector<double> intervals;
    std::vector<double> lateness;
    for (auto _ : state) {
        intervals.clear();
        lateness.clear();
        // Each tick's time minus its place on the grid.
        std::vector<double> offsets;
        QElapsedTimer watch;
        qint64 last = -1;
        QEventLoop loop;
        const double interval = screen->game.timer(QuizGame::GameTimer::Reveal).interval();
        const QMetaObject::Connection typed =
            QObject::connect(&screen->game, &QuizGame::letterTyped, [&] {
                const qint64 now = watch.nsecsElapsed();
                if (last >= 0) intervals.push_back(static_cast<double>(now - last) / 1e6);
                last = now;
                offsets.push_back(static_cast<double>(now) / 1e6 -
                                  interval * static_cast<double>(offsets.size()));
                if (static_cast<int>(intervals.size()) >= Ticks) loop.quit();
            });
        // Keep typing: as soon as the answers are out, the next turn starts.
        const QMetaObject::Connection next =
            QObject::connect(&screen->game, &QuizGame::phaseChanged, [&](QuizGame::Phase phase) {
                if (phase == QuizGame::Phase::AnswersOpen)
                    GamePosition::fireTimer(screen->game, QuizGame::GameTimer::Ready);
            });
        screen->pressControl(screen->buttons->startButton);
        screen->playerPanel->confirm();
        GamePosition::setCredit(screen->game, 1000000);
        watch.start();
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);
        loop.exec();
        QObject::disconnect(typed);
        QObject::disconnect(next);
        screen->game.enterAttractMode();
        const double earliest = *std::min_element(offsets.begin(), offsets.end());
        for (double o : offsets)
            lateness.push_back(o - earliest);
    }
    if (intervals.empty()) {
        state.SkipWithError("no ticks");
        return;
    }
    std::vector<double> sorted = intervals;
    std::sort(sorted.begin(), sorted.end());
    const double mean = std::accumulate(intervals.begin(), intervals.end(), 0.0) /
                        static_cast<double>(intervals.size());
    const std::size_t p99 = std::min(sorted.size() - 1, (sorted.size() * 99 + 99) / 100 - 1);
    state.counters["ticks"] = static_cast<double>(intervals.size());
    state.counters["mean_ms"] = mean;
    state.counters["p99_ms"] = sorted[p99];
    state.counters["max_ms"] = sorted.back();
    state.counters["min_ms"] = sorted.front();
    std::sort(lateness.begin(), lateness.end());
    state.counters["late_p50_ms"] = lateness[lateness.size() / 2];
    state.counters["late_p99_ms"] = lateness[(lateness.size() * 99 + 99) / 100 - 1];
    state.counters["late_max_ms"] = lateness.back();
}
BENCHMARK(BM_RevealCadence)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
