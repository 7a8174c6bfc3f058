#include "TimerSchedule.h"

#include "Timer.h"

#include <algorithm>

void TimerSchedule::add(Timer& timer) {
    m_timers.push_back(&timer);
}

void TimerSchedule::remove(Timer& timer) {
    m_timers.erase(std::remove(m_timers.begin(), m_timers.end(), &timer), m_timers.end());
}

Timer* TimerSchedule::nextDue(std::int64_t until) const {
    Timer* next = nullptr;
    for (Timer* t : m_timers) {
        if (!t->enabled() || t->dueAt > until) continue;
        if (!next || t->dueAt < next->dueAt ||
            (t->dueAt == next->dueAt && t->serial() < next->serial()))
            next = t;
    }
    return next;
}

std::optional<std::int64_t> TimerSchedule::firstDue() const {
    std::optional<std::int64_t> first;
    for (const Timer* t : m_timers)
        if (t->enabled() && (!first || t->dueAt < *first)) first = t->dueAt;
    return first;
}

void TimerSchedule::fireDue(std::int64_t now, std::int64_t maxLateMs) {
    // Each tick moves its timer on by at least a millisecond, and a handler that restarts a
    // timer makes it due an interval after the clock's now (not before this pass's now): the
    // pass ends.
    while (Timer* next = nextDue(now)) {
        // A zero interval would never let the grid move on; it counts as one millisecond.
        const int interval = std::max(next->interval(), 1);
        if (now - next->dueAt > maxLateMs)
            next->dueAt = now + interval;
        else
            next->dueAt += interval;
        // Moved on before the handler runs, which may re-time the timer.
        next->fire();
    }
}
