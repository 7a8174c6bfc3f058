#pragma once

#include <stdexcept>
#include <string>

// Raised by the MIDI output component; the message is the text shown for the failure.
class MidiOutputError : public std::runtime_error {
public:
    explicit MidiOutputError(const std::string& message) : std::runtime_error(message) {}
};
