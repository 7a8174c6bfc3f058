// Creating the game screen as the program does at start-up: construction (controls, artwork
// rendered into the picture holders, menu, timers, the first layout of the play area) and
// the creation handler (sound set-up, reset to attract mode, the start-up set's check).
// Aim: well under 150 ms, so the splash is never kept waiting.
#include "ManualClock.h"
#include "QstFixtures.h"
#include "Quiz.h"
#include "RecordingMidiPlatform.h"
#include "ScriptedDialogs.h"
#include "Settings.h"
#include "TempDir.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

QApplication& App() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "bench_screen";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

// One creation. The artwork is rendered once per process, so the first creation (the one
// the program makes) pays for it; later ones find the pictures rendered.
void CreateScreens(benchmark::State& state) {
    App();
    TTempDir dir;
    QstFixtures::WriteNumberedSet(dir.File("REGD.QST"), 500);
    TManualClock clock;
    TScriptedDialogs dialogs;
    TRecordingShell shell;
    TSettings settings;
    TRecordingMidiPlatform midi;
    for (auto _ : state) {
        TQuizServices services{clock, dialogs, shell, settings, midi, dir.path(), false, {}};
        auto screen = std::make_unique<TQuizScreen>(services);
        screen->FormCreated();
        benchmark::DoNotOptimize(screen->State.QuestionFileName);
        state.PauseTiming();
        screen.reset();
        midi.ClearShorts();
        state.ResumeTiming();
    }
    if (!dialogs.Texts().isEmpty()) state.SkipWithError("the start-up set was refused");
}
void BM_CreateGameScreenFirst(benchmark::State& state) {
    CreateScreens(state);
}
void BM_CreateGameScreenAgain(benchmark::State& state) {
    CreateScreens(state);
}
// Registered first so that it runs with nothing rendered yet.
BENCHMARK(BM_CreateGameScreenFirst)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_CreateGameScreenAgain)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
