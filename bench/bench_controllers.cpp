// Cost of one poll of the controllers on the GUI thread: with none connected (the slow poll
// that looks for new ones), with a game controller connected and idle (the fast poll), and
// with a press to read.
#include "ControllerInput.h"
#include "ManualClock.h"

#include <SDL.h>

#include <benchmark/benchmark.h>

namespace {

// The controllers on a clock that is never advanced (the benchmark polls by hand), with a
// virtual game controller plugged in when asked for.
class PollBench {
public:
    PollBench(benchmark::State& state, bool withPad) : input(clock) {
        if (!input.available()) {
            state.SkipWithError(input.errorText().toStdString().c_str());
            return;
        }
        if (withPad && !attachPad()) {
            state.SkipWithError(SDL_GetError());
            return;
        }
        input.poll();
        ready = true;
    }
    ~PollBench() {
        if (!pad) return;
        const SDL_JoystickID id = SDL_JoystickInstanceID(pad);
        for (int index = 0; index < SDL_NumJoysticks(); ++index)
            if (SDL_JoystickGetDeviceInstanceID(index) == id) SDL_JoystickDetachVirtual(index);
        SDL_JoystickClose(pad);
    }

    ManualClock clock;
    ControllerInput input;
    SDL_Joystick* pad = nullptr;
    bool ready = false;

private:
    bool attachPad() {
        SDL_VirtualJoystickDesc desc;
        SDL_zero(desc);
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.name = "Benchmark pad";
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        pad = index < 0 ? nullptr : SDL_JoystickOpen(index);
        return pad != nullptr;
    }
};

void BM_PollWithNoController(benchmark::State& state) {
    PollBench bench(state, false);
    if (!bench.ready) return;
    for (auto _ : state)
        bench.input.poll();
}
BENCHMARK(BM_PollWithNoController);

void BM_PollWithIdleGamepad(benchmark::State& state) {
    PollBench bench(state, true);
    if (!bench.ready) return;
    for (auto _ : state)
        bench.input.poll();
    state.counters["connected"] = bench.input.connectedNames().size();
}
BENCHMARK(BM_PollWithIdleGamepad);

// A press and a release, each read by its own poll.
void BM_PollPressAndRelease(benchmark::State& state) {
    PollBench bench(state, true);
    if (!bench.ready) return;
    std::int64_t presses = 0;
    QObject::connect(&bench.input, &ControllerInput::pressed, [&](CabinetButton) { ++presses; });
    for (auto _ : state) {
        SDL_JoystickSetVirtualButton(bench.pad, SDL_CONTROLLER_BUTTON_A, 1);
        bench.input.poll();
        SDL_JoystickSetVirtualButton(bench.pad, SDL_CONTROLLER_BUTTON_A, 0);
        bench.input.poll();
    }
    state.counters["presses"] = static_cast<double>(presses);
}
BENCHMARK(BM_PollPressAndRelease);

} // namespace
