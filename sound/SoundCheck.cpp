// trivora-soundcheck: plays the game's instrument set-up and every sound cue through the
// program's own MIDI mapper, so that a user (or a recording) can hear that sound works.
#include "FluidMidiPlatform.h"
#include "SoundCues.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

namespace {

void Wait(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace

int main() {
    TFluidMidiPlatform platform;
    TMidiOutput out(platform);
    TSoundCues cues(out, [] { return true; });
    try {
        cues.SetUp();
    } catch (const EmidioutputError& e) {
        std::fprintf(stderr, "trivora-soundcheck: %s\n", e.what());
        return 1;
    }
    if (out.State() != TMidiOutputState::Open) {
        // The set-up's own sends overwrote the open's result; ask again for the reason.
        out.Open();
        std::fprintf(stderr, "trivora-soundcheck: %s\n", out.ErrorText(out.LastError()).c_str());
        return 1;
    }
    // The audio output opens with the first note.
    for (int i = 0; i < 30; ++i, Wait(17))
        cues.TypingClick();
    const std::string output = platform.AudioDriverName(out.Handle());
    if (output.empty()) {
        std::fprintf(stderr, "trivora-soundcheck: %s\n",
                     out.ErrorText(MidiResult::NoAudioOutput).c_str());
        return 1;
    }
    std::printf("Playing through %s on %s\n", out.ProductName().c_str(), output.c_str());
    Wait(300);
    for (int a = 0; a < 4; ++a, Wait(400))
        cues.AnswerPress(a, 120);
    for (int p = 99; p >= 60; --p, Wait(60))
        cues.TimeTick(p);
    for (int step = 0; step < 30; ++step, Wait(100))
        cues.SpinStep(step % 5);
    for (int flash = 0; flash < 8; ++flash, Wait(250))
        if (flash % 2 == 0) cues.PrizeFlash(3);
    for (int phase = 0; phase < 8; ++phase, Wait(250))
        cues.CorrectFlash(phase % 2);
    for (int note = 74; note >= 29; --note, Wait(24))
        cues.FallRun(static_cast<std::uint8_t>(note));
    Wait(1500);
    return 0;
}
