#include "MidiPlatform.h"

bool standardMidiErrorText(std::uint16_t code, std::string& text) {
    switch (code) {
    case MidiResult::NoError:
        text = "No error";
        return true;
    case MidiResult::Error:
        text = "Unspecified MIDI output error";
        return true;
    case MidiResult::BadDeviceId:
        text = "MIDI output device ID out of range";
        return true;
    case MidiResult::Allocated:
        text = "MIDI output device already in use";
        return true;
    case MidiResult::InvalidHandle:
        text = "Invalid MIDI output handle";
        return true;
    case MidiResult::NoDriver:
        text = "No MIDI output driver";
        return true;
    case MidiResult::NoMemory:
        text = "Not enough memory for MIDI output";
        return true;
    case MidiResult::InvalidParam:
        text = "Invalid MIDI message or parameter";
        return true;
    case MidiResult::Unprepared:
        text = "MIDI header not prepared";
        return true;
    case MidiResult::StillPlaying:
        text = "MIDI output still busy with a buffer";
        return true;
    case MidiResult::NoSoundfont:
        text = "No General MIDI soundfont found";
        return true;
    case MidiResult::NoAudioOutput:
        text = "No audio output could be opened";
        return true;
    default:
        return false;
    }
}
