#pragma once

#include <cstdint>

class Timer;

// A source of time that drives interval timers. The program runs on QtClock; tests advance
// a manual clock by hand, so every timer-driven phase can be checked to the millisecond.
class Clock {
public:
    virtual ~Clock() = default;

    // Milliseconds since this clock started.
    virtual std::int64_t now() const = 0;

protected:
    friend class Timer;
    // A timer was created, destroyed, enabled, disabled or re-timed. Enabling (or changing
    // the interval of an enabled timer) starts its interval anew from now().
    virtual void timerAdded(Timer& timer) = 0;
    virtual void timerRemoved(Timer& timer) = 0;
    virtual void timerChanged(Timer& timer) = 0;
};
