#pragma once

#include "MidiOutput.h"
#include "SoundSwitch.h"

#include <cstdint>

// The game's sounds: a one-time instrument set-up and single note-ons, each kind of event on a
// channel and instrument of its own. No note is ever switched off; each instrument decays.
//
// Channel plan: 2 Synth Bass 2 (set up, never played), 3 Orchestra Hit (answer press),
// 4 Synth Drum bent nearly to the bottom (time tick), 5 Jazz Guitar (spin step),
// 6 FX 5 brightness (fall run), 7 Dulcimer (prize flash), 8 Bright Piano (correct flash),
// 15 whatever the synthesizer holds (typing click).
class SoundCues {
public:
    // Every cue asks the switch before sending.
    SoundCues(MidiOutput& out, const SoundSwitch& sound);

    // Selects the MIDI mapper, opens it and sends the instrument set-up, whether sound is on or
    // not. A port that cannot be opened raises nothing (the sends then fail quietly), but any
    // MidiOutputError of these steps is let out: the game screen catches it, switches sound
    // off for this run and disables the Sound menu.
    void setUp();

    // Sound is switched on now.
    bool soundOn() const { return m_sound.on(); }

    void typingClick();                                  // 0x9E 60 127
    void answerPress(int answer, std::uint8_t velocity); // answer 0..3 = A..D: 0x92 55/60/65/70
    void timeTick(int progress);                         // 0x93 95 - (100 - progress) / 4, 127
    void spinStep(int ladderStep);                       // 0x94 (step + 1) * 15 as a byte, 127
    void fallRun(std::uint8_t note);                     // 0x95 note 127
    void prizeFlash(int prizeIndex);                     // 0x96 index * 8 + 40, 127
    void correctFlash(int correctPhase);                 // 0x97 75 when phase is 1, else 45; 127

private:
    void cue(std::uint8_t status, std::uint8_t note, std::uint8_t velocity);

    MidiOutput& m_out;
    const SoundSwitch& m_sound;
};
