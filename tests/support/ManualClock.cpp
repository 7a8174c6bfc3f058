#include "ManualClock.h"

#include "Timer.h"

#include <algorithm>

void ManualClock::advance(std::int64_t ms) {
    const std::int64_t target = m_now + ms;
    while (Timer* next = m_schedule.nextDue(target)) {
        m_now = std::max(m_now, next->dueAt);
        // A zero interval would never let time move on; treat it as one millisecond.
        next->dueAt = m_now + std::max(next->interval(), 1);
        next->fire();
    }
    m_now = target;
}

Timer* ManualClock::find(const std::string& name) const {
    for (Timer* t : m_schedule.timers())
        if (t->name() == name) return t;
    return nullptr;
}

void ManualClock::timerAdded(Timer& timer) {
    m_schedule.add(timer);
    timerChanged(timer);
}

void ManualClock::timerRemoved(Timer& timer) {
    m_schedule.remove(timer);
}

void ManualClock::timerChanged(Timer& timer) {
    timer.dueAt = m_now + std::max(timer.interval(), 1);
}
