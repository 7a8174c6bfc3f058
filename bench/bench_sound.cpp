// Cost of one sound cue on the GUI thread, and the output latency the synthesizer asks for.
// What the audio output costs the whole process and the sound server is measured by
// tools/idle-cost.
#include "FluidMidiPlatform.h"
#include "SoundCues.h"
#include "SystemMidiPlatform.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// One time-tick cue, the commonest, through the component and the cue table.
void runCues(benchmark::State& state, MidiPlatform& platform, bool playing) {
    MidiOutput out(platform);
    out.setDeviceId(-1);
    out.open();
    if (out.state() != MidiOutputState::Open) {
        state.SkipWithError(out.errorText(out.lastError()).c_str());
        return;
    }
    out.close();
    const SoundSwitch sound(true);
    SoundCues cues(out, sound);
    cues.setUp();
    int progress = 100;
    for (auto _ : state) {
        cues.timeTick(progress);
        progress = progress == 0 ? 100 : progress - 1;
    }
    state.counters["configured_latency_ms"] = FluidMidiPlatform::configuredLatencyMs();
    state.counters["audio_playing"] = playing ? 1 : 0;
}

// The built-in synthesizer with no audio output: the bare cost of a note-on.
void BM_CueOnOfflineSynthesizer(benchmark::State& state) {
    FluidMidiPlatform platform(FluidMidiPlatform::Output::Offline);
    runCues(state, platform, false);
}
BENCHMARK(BM_CueOnOfflineSynthesizer);

// The program's own mapper, with its audio thread playing; skipped without an audio output.
void BM_CueOnPlayingMapper(benchmark::State& state) {
    auto platform = makeSystemMidiPlatform();
    runCues(state, *platform, true);
}
BENCHMARK(BM_CueOnPlayingMapper);

// A cue with sound switched off: the switch test alone.
void BM_CueWithSoundOff(benchmark::State& state) {
    FluidMidiPlatform platform(FluidMidiPlatform::Output::Offline);
    MidiOutput out(platform);
    const SoundSwitch sound(false);
    SoundCues cues(out, sound);
    cues.setUp();
    for (auto _ : state)
        cues.timeTick(50);
}
BENCHMARK(BM_CueWithSoundOff);

} // namespace
