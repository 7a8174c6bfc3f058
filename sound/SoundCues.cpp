#include "SoundCues.h"

#include <utility>

namespace {

constexpr std::uint8_t NoteOn = 0x90;
constexpr std::uint8_t ProgramChange = 0xC0;
constexpr std::uint8_t PitchBend = 0xE0;

// Status byte of a message type on a channel numbered from 1.
constexpr std::uint8_t Status(std::uint8_t type, int channel) {
    return static_cast<std::uint8_t>(type | (channel - 1));
}

constexpr std::uint8_t FullVelocity = 127;

} // namespace

TSoundCues::TSoundCues(TMidiOutput& out, std::function<bool()> soundOn)
    : FOut(out), FSoundOn(std::move(soundOn)) {}

void TSoundCues::SetUp() {
    FOut.SetDeviceID(-1);
    FOut.Open();
    FOut.SendShort(Status(ProgramChange, 2), 39, 0);  // Synth Bass 2
    FOut.SendShort(Status(ProgramChange, 3), 55, 0);  // Orchestra Hit
    FOut.SendShort(Status(ProgramChange, 4), 118, 0); // Synth Drum
    FOut.SendShort(Status(PitchBend, 4), 127, 0);     // nearly the full bend down
    FOut.SendShort(Status(ProgramChange, 5), 26, 0);  // Electric Guitar (jazz)
    FOut.SendShort(Status(ProgramChange, 6), 100, 0); // FX 5 (brightness)
    FOut.SendShort(Status(ProgramChange, 7), 15, 0);  // Dulcimer
    FOut.SendShort(Status(ProgramChange, 8), 1, 0);   // Bright Acoustic Piano
}

void TSoundCues::Cue(std::uint8_t status, std::uint8_t note, std::uint8_t velocity) {
    if (FSoundOn && FSoundOn()) FOut.SendShort(status, note, velocity);
}

void TSoundCues::TypingClick() {
    Cue(Status(NoteOn, 15), 60, FullVelocity);
}

void TSoundCues::AnswerPress(int answer, std::uint8_t velocity) {
    Cue(Status(NoteOn, 3), static_cast<std::uint8_t>(55 + 5 * answer), velocity);
}

void TSoundCues::TimeTick(int progress) {
    Cue(Status(NoteOn, 4), static_cast<std::uint8_t>(95 - (100 - progress) / 4), FullVelocity);
}

void TSoundCues::SpinStep(int ladderStep) {
    Cue(Status(NoteOn, 5), static_cast<std::uint8_t>((ladderStep + 1) * 15), FullVelocity);
}

void TSoundCues::FallRun(std::uint8_t note) {
    Cue(Status(NoteOn, 6), note, FullVelocity);
}

void TSoundCues::PrizeFlash(int prizeIndex) {
    Cue(Status(NoteOn, 7), static_cast<std::uint8_t>(prizeIndex * 8 + 40), FullVelocity);
}

void TSoundCues::CorrectFlash(int correctPhase) {
    Cue(Status(NoteOn, 8), correctPhase == 1 ? 75 : 45, FullVelocity);
}
