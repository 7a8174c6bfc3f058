#include "SoundCues.h"

#include <utility>

namespace {

constexpr std::uint8_t NoteOn = 0x90;
constexpr std::uint8_t ProgramChange = 0xC0;
constexpr std::uint8_t PitchBend = 0xE0;

// Status byte of a message type on a channel numbered from 1.
constexpr std::uint8_t status(std::uint8_t type, int channel) {
    return static_cast<std::uint8_t>(type | (channel - 1));
}

constexpr std::uint8_t FullVelocity = 127;

} // namespace

SoundCues::SoundCues(MidiOutput& out, const SoundSwitch& sound) : m_out(out), m_sound(sound) {}

void SoundCues::setUp() {
    m_out.setDeviceId(-1);
    m_out.open();
    m_out.sendShort(status(ProgramChange, 2), 39, 0);  // Synth Bass 2
    m_out.sendShort(status(ProgramChange, 3), 55, 0);  // Orchestra Hit
    m_out.sendShort(status(ProgramChange, 4), 118, 0); // Synth Drum
    m_out.sendShort(status(PitchBend, 4), 127, 0);     // nearly the full bend down
    m_out.sendShort(status(ProgramChange, 5), 26, 0);  // Electric Guitar (jazz)
    m_out.sendShort(status(ProgramChange, 6), 100, 0); // FX 5 (brightness)
    m_out.sendShort(status(ProgramChange, 7), 15, 0);  // Dulcimer
    m_out.sendShort(status(ProgramChange, 8), 1, 0);   // Bright Acoustic Piano
}

void SoundCues::cue(std::uint8_t status, std::uint8_t note, std::uint8_t velocity) {
    if (soundOn()) m_out.sendShort(status, note, velocity);
}

void SoundCues::typingClick() {
    cue(status(NoteOn, 15), 60, FullVelocity);
}

void SoundCues::answerPress(int answer, std::uint8_t velocity) {
    cue(status(NoteOn, 3), static_cast<std::uint8_t>(55 + 5 * answer), velocity);
}

void SoundCues::timeTick(int progress) {
    cue(status(NoteOn, 4), static_cast<std::uint8_t>(95 - (100 - progress) / 4), FullVelocity);
}

void SoundCues::spinStep(int ladderStep) {
    cue(status(NoteOn, 5), static_cast<std::uint8_t>((ladderStep + 1) * 15), FullVelocity);
}

void SoundCues::fallRun(std::uint8_t note) {
    cue(status(NoteOn, 6), note, FullVelocity);
}

void SoundCues::prizeFlash(int prizeIndex) {
    cue(status(NoteOn, 7), static_cast<std::uint8_t>(prizeIndex * 8 + 40), FullVelocity);
}

void SoundCues::correctFlash(int correctPhase) {
    cue(status(NoteOn, 8), correctPhase == 1 ? 75 : 45, FullVelocity);
}
