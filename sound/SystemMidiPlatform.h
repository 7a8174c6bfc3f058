#pragma once

#include "MidiPlatform.h"

#include <memory>

// The program's MIDI platform: id -1 is the built-in General MIDI synthesizer, ids 0 .. n-1 are
// the ALSA sequencer's output ports (none when there is no sequencer).
std::unique_ptr<MidiPlatform> makeSystemMidiPlatform();
