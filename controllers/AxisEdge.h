#pragma once

// Turns the values of one joystick axis into presses of its two directions. An axis is pushed
// past pressThreshold and back at rest within releaseThreshold, so a stick wobbling near the
// edge presses once. An axis that rests at one end (a trigger) presses only when moved to the
// other end, not when it goes back.
class AxisEdge {
public:
    static constexpr int pressThreshold = 16384;
    static constexpr int releaseThreshold = 8192;

    // restValue: the axis's value when nobody touches it.
    explicit AxisEdge(int restValue = 0);

    // Takes the axis's new value; returns the direction it newly pushes the axis into (+1 or
    // -1), or 0 when that is no press.
    int press(int value);

private:
    static int direction(int value, int last);

    int rest;
    int last;
};
