// Creating the game screen as the program does at start-up: construction (controls, artwork
// rendered into the picture holders, menu, timers, the first layout of the play area) and
// the creation handler (sound set-up, reset to attract mode, the start-up set's check).
// Aim: well under 150 ms, so the splash is never kept waiting. Pictures are drawn when they
// first appear, so the first frame of the shown screen is measured as well.
#include "Artwork.h"
#include "ManualClock.h"
#include "QstFixtures.h"
#include "QuizScreen.h"
#include "RecordingMidiPlatform.h"
#include "ScriptedDialogs.h"
#include "Settings.h"
#include "TempDir.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

QApplication& app() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "bench_screen";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    // A fresh disk cache of rendered pictures, as at the program's very first start.
    static TempDir cacheDir;
    Artwork::setDiskCacheFolder(cacheDir.path());
    return app;
}

// What a game screen needs: a program directory with a set of 500 questions and stand-ins
// for the clock, dialogs, desktop and MIDI port.
struct ScreenWorld {
    TempDir dir;
    ManualClock clock;
    ScriptedDialogs dialogs;
    RecordingShell shell;
    Settings settings;
    RecordingMidiPlatform midi;
    ScreenWorld() { QstFixtures::writeNumberedSet(dir.file("REGD.QST"), 500); }
    QuizServices services() {
        return {clock, dialogs, shell, settings, midi, dir.path(), false, {}};
    }
};

// One creation. The artwork is rendered once per process, so the first creation (the one
// the program makes) pays for it; later ones find the pictures rendered.
// forgetRendered: each creation starts with nothing rendered in this run, as a later start of
// the program does (the pictures then come from the disk cache).
void createScreens(benchmark::State& state, bool forgetRendered = false) {
    app();
    ScreenWorld world;
    for (auto _ : state) {
        if (forgetRendered) {
            state.PauseTiming();
            Artwork::clearMemoryCache();
            state.ResumeTiming();
        }
        auto screen = std::make_unique<QuizScreen>(world.services());
        screen->startUp();
        benchmark::DoNotOptimize(screen->game.draw().file());
        state.PauseTiming();
        screen.reset();
        world.midi.clearShorts();
        state.ResumeTiming();
    }
    if (!world.dialogs.texts().isEmpty()) state.SkipWithError("the start-up set was refused");
}
void BM_CreateGameScreenFirst(benchmark::State& state) {
    createScreens(state);
}
// A later start of the program: nothing rendered in this run, the pictures on disk.
void BM_CreateGameScreenNextStart(benchmark::State& state) {
    createScreens(state, true);
}
void BM_CreateGameScreenAgain(benchmark::State& state) {
    createScreens(state);
}
// The first frame of the shown screen at the program's very first start: every picture on
// screen is drawn from its SVG (pictures not shown yet are drawn when they first appear).
void BM_FirstFrameFreshCache(benchmark::State& state) {
    app();
    ScreenWorld world;
    TempDir cache;
    const QString oldCache = Artwork::diskCacheFolder();
    Artwork::setDiskCacheFolder(cache.path());
    for (auto _ : state) {
        state.PauseTiming();
        Artwork::clearMemoryCache();
        state.ResumeTiming();
        QuizScreen screen(world.services());
        screen.startUp();
        screen.show();
        benchmark::DoNotOptimize(screen.grab());
    }
    Artwork::setDiskCacheFolder(oldCache);
}
// Registered first so that it runs with nothing rendered yet.
BENCHMARK(BM_CreateGameScreenFirst)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_FirstFrameFreshCache)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_CreateGameScreenNextStart)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_CreateGameScreenAgain)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
