// trivora-soundcheck: plays the game's instrument set-up and every sound cue through the
// program's own MIDI mapper, so that a user (or a recording) can hear that sound works.
#include "FluidMidiPlatform.h"
#include "SoundCues.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

namespace {

void wait(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace

int main() {
    FluidMidiPlatform platform;
    MidiOutput out(platform);
    const SoundSwitch sound(true);
    SoundCues cues(out, sound);
    try {
        cues.setUp();
    } catch (const MidiOutputError& e) {
        std::fprintf(stderr, "trivora-soundcheck: %s\n", e.what());
        return 1;
    }
    if (out.state() != MidiOutputState::Open) {
        // The set-up's own sends overwrote the open's result; ask again for the reason.
        out.open();
        std::fprintf(stderr, "trivora-soundcheck: %s\n", out.errorText(out.lastError()).c_str());
        return 1;
    }
    // The audio output opens with the first note.
    for (int i = 0; i < 30; ++i, wait(17))
        cues.typingClick();
    const std::string output = platform.audioDriverName(out.handle());
    if (output.empty()) {
        std::fprintf(stderr, "trivora-soundcheck: %s\n",
                     out.errorText(MidiResult::NoAudioOutput).c_str());
        return 1;
    }
    std::printf("Playing through %s on %s\n", out.productName().c_str(), output.c_str());
    wait(300);
    for (int a = 0; a < 4; ++a, wait(400))
        cues.answerPress(a, 120);
    for (int p = 99; p >= 60; --p, wait(60))
        cues.timeTick(p);
    for (int step = 0; step < 30; ++step, wait(100))
        cues.spinStep(step % 5);
    for (int flash = 0; flash < 8; ++flash, wait(250))
        if (flash % 2 == 0) cues.prizeFlash(3);
    for (int phase = 0; phase < 8; ++phase, wait(250))
        cues.correctFlash(phase % 2);
    for (int note = 74; note >= 29; --note, wait(24))
        cues.fallRun(static_cast<std::uint8_t>(note));
    wait(1500);
    return 0;
}
