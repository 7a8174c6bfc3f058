#pragma once

#include <cstdint>

class TTimer;

// A source of time that drives interval timers. The program runs on TQtClock; tests advance
// a manual clock by hand, so every timer-driven phase can be checked to the millisecond.
class TClock {
public:
    virtual ~TClock() = default;

    // Milliseconds since this clock started.
    virtual std::int64_t Now() const = 0;

protected:
    friend class TTimer;
    // A timer was created, destroyed, enabled, disabled or re-timed. Enabling (or changing
    // the interval of an enabled timer) starts its interval anew from Now().
    virtual void TimerAdded(TTimer& timer) = 0;
    virtual void TimerRemoved(TTimer& timer) = 0;
    virtual void TimerChanged(TTimer& timer) = 0;
};
