#pragma once

#include <QString>

#include <optional>

// One input of a plain joystick or encoder board that a cabinet button can be set to: a button,
// one direction of a hat (the little digital pad), or one direction of an axis (a stick).
// Written in Trivora.conf as "button:3", "hat:0:up" (up, right, down or left) or "axis:1:+"
// ("+" or "-").
struct JoystickInput {
    enum class Kind { Button, Hat, Axis };
    // Hat directions, with the bit values the joystick reports for them.
    enum HatDirection { HatUp = 1, HatRight = 2, HatDown = 4, HatLeft = 8 };
    // Highest index of a button, hat or axis that a stored input may name.
    static constexpr int maxIndex = 1023;

    Kind kind = Kind::Button;
    int index = 0;
    // The hat bit, or +1/-1 for an axis; 0 for a button.
    int direction = 0;

    static JoystickInput button(int index) { return {Kind::Button, index, 0}; }
    static JoystickInput hat(int index, HatDirection direction) {
        return {Kind::Hat, index, direction};
    }
    // direction: +1 or -1.
    static JoystickInput axis(int index, int direction) {
        return {Kind::Axis, index, direction < 0 ? -1 : 1};
    }

    // The stored form, e.g. "button:3".
    QString toText() const;
    // Reads the stored form; surrounding blanks and letter case do not matter. Nothing when the
    // text is not one of the forms above or names an index beyond maxIndex.
    static std::optional<JoystickInput> fromText(const QString& text);

    bool operator==(const JoystickInput&) const = default;
};
