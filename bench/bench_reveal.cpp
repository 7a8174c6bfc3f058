// The reveal's cadence on the program's own clock: the intervals between question ticks
// (17 ms apart) while questions are typed out, measured over 500 ticks in the Qt event loop.
#include "QtClock.h"
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

QApplication& App() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "bench_reveal";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

void BM_RevealCadence(benchmark::State& state) {
    App();
    TTempDir dir;
    QstFixtures::WriteNumberedSet(dir.File("REGD.QST"), 100);
    TQtClock clock;
    TScriptedDialogs dialogs;
    TRecordingShell shell;
    TSettings settings;
    TRecordingMidiPlatform midi;
    QuizServices services{clock, dialogs, shell, settings, midi, dir.path(), false, {}};
    auto screen = std::make_unique<QuizScreen>(services);
    screen->startUp();
    screen->show();

    std::vector<double> intervals;
    for (auto _ : state) {
        intervals.clear();
        QElapsedTimer watch;
        qint64 last = -1;
        QEventLoop loop;
        screen->revealTimer->SetOnTimer([&] {
            const qint64 now = watch.nsecsElapsed();
            if (last >= 0) intervals.push_back(static_cast<double>(now - last) / 1e6);
            last = now;
            screen->revealNextLetter();
            // Keep typing: as soon as the answers are out, the next question follows.
            if (screen->game.answersOpen) {
                screen->game.answersOpen = false;
                screen->game.questionText.clear();
                screen->questionLabel->SetCaption(QString());
            }
            if (static_cast<int>(intervals.size()) >= Ticks) loop.quit();
        });
        screen->pressControl(screen->startButton);
        screen->confirmPlayers();
        screen->game.credit = 1000000;
        watch.start();
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);
        loop.exec();
        screen->revealTimer->Stop();
        screen->enterAttractMode();
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
}
BENCHMARK(BM_RevealCadence)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
