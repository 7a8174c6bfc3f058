#pragma once

#include <cstdint>
#include <optional>
#include <vector>

class Timer;

// The timers of one clock, each with the time it is next due (Timer::dueAt, in the clock's
// milliseconds), and which fires next: the earliest due, ties in order of creation.
class TimerSchedule {
public:
    void add(Timer& timer);
    void remove(Timer& timer);
    // Every timer, in the order they were added.
    const std::vector<Timer*>& timers() const { return m_timers; }

    // The enabled timer due first at or before until; null when none is.
    Timer* nextDue(std::int64_t until) const;
    // When the first enabled timer is due; empty when none is enabled.
    std::optional<std::int64_t> firstDue() const;

    // Fires every tick due at now, in order, each tick of a timer due one interval after the
    // one before, so that a late tick never shifts the ticks after it and a pass that comes
    // late fires the ticks it missed (a letter per missed tick of the typing, a step per
    // missed step of the gauge). Only a timer more than maxLateMs behind gives up the ticks
    // it missed: it fires once and counts its next interval from now. A handler may start,
    // stop or re-time any timer (the clock counts a new interval from its own now).
    void fireDue(std::int64_t now, std::int64_t maxLateMs);

private:
    std::vector<Timer*> m_timers;
};
