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
void RunCues(benchmark::State& state, TMidiPlatform& platform, bool playing) {
    TMidiOutput out(platform);
    out.SetDeviceID(-1);
    out.Open();
    if (out.State() != TMidiOutputState::Open) {
        state.SkipWithError(out.ErrorText(out.LastError()).c_str());
        return;
    }
    out.Close();
    TSoundCues cues(out, [] { return true; });
    cues.SetUp();
    int progress = 100;
    for (auto _ : state) {
        cues.TimeTick(progress);
        progress = progress == 0 ? 100 : progress - 1;
    }
    state.counters["configured_latency_ms"] = TFluidMidiPlatform::ConfiguredLatencyMs();
    state.counters["audio_playing"] = playing ? 1 : 0;
}

// The built-in synthesizer with no audio output: the bare cost of a note-on.
void BM_CueOnOfflineSynthesizer(benchmark::State& state) {
    TFluidMidiPlatform platform(TFluidMidiPlatform::TOutput::Offline);
    RunCues(state, platform, false);
}
BENCHMARK(BM_CueOnOfflineSynthesizer);

// The program's own mapper, with its audio thread playing; skipped without an audio output.
void BM_CueOnPlayingMapper(benchmark::State& state) {
    auto platform = MakeSystemMidiPlatform();
    RunCues(state, *platform, true);
}
BENCHMARK(BM_CueOnPlayingMapper);

// A cue with sound switched off: the switch test alone.
void BM_CueWithSoundOff(benchmark::State& state) {
    TFluidMidiPlatform platform(TFluidMidiPlatform::TOutput::Offline);
    TMidiOutput out(platform);
    TSoundCues cues(out, [] { return false; });
    cues.SetUp();
    for (auto _ : state)
        cues.TimeTick(50);
}
BENCHMARK(BM_CueWithSoundOff);

} // namespace
