#pragma once

#include <cstdint>

// One MIDI event as TMidiOutput::SendEvent takes it: a long message when Sysex is set, else the
// short message Status, Data1, Data2.
struct TMidiEvent {
    std::uint32_t Time = 0; // when the event falls due, in milliseconds; not read by the sends
    std::uint8_t Status = 0;
    std::uint8_t Data1 = 0;
    std::uint8_t Data2 = 0;
    std::uint8_t Reserved = 0;
    std::uint16_t Length = 0; // bytes at Sysex
    const std::uint8_t* Sysex = nullptr;
};
