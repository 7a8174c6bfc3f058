#pragma once

#include <cstdint>

// One MIDI event as MidiOutput::sendEvent takes it: a long message when Sysex is set, else the
// short message Status, Data1, Data2.
struct MidiEvent {
    std::uint32_t time = 0; // when the event falls due, in milliseconds; not read by the sends
    std::uint8_t status = 0;
    std::uint8_t data1 = 0;
    std::uint8_t data2 = 0;
    std::uint8_t reserved = 0;
    std::uint16_t length = 0; // bytes at Sysex
    const std::uint8_t* sysex = nullptr;
};
