#pragma once

#include "JoystickMapping.h"

#include <QString>

// The player's joystick mapping in the per-user store ("Trivora", file Trivora.conf), group
// "Controls", one key per cabinet button ("A", "B", "C", "D", "START", "STOP") holding the
// input's stored form, e.g. "button:3", and "Device" with the kind of device it was set up on
// (absent when none).
class ControlsSettings {
public:
    struct Loaded {
        JoystickMapping mapping;
        // Empty when the stored mapping was read, or when none is stored; otherwise the text
        // to show the player, saying that the defaults are used instead.
        QString message;
    };

    // The stored mapping, or the defaults when none is stored. A mapping that cannot be read
    // whole (a button's key missing or unreadable, two buttons on one input, a device kind
    // that is not one) gives the defaults and
    // a message; the stored text is left as it is until the player sets the controls again.
    static Loaded load();

    // Stores every key of the mapping. Returns false when the store refused the write.
    static bool save(const JoystickMapping& mapping);
};
