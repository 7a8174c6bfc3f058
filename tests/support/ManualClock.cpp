#include "ManualClock.h"

#include "Timer.h"

#include <algorithm>
#include <limits>

void ManualClock::advance(std::int64_t ms) {
    const std::int64_t target = m_now + ms;
    for (;;) {
        Timer* next = nullptr;
        for (Timer* t : m_timers) {
            if (!t->enabled() || t->dueAt > target) continue;
            if (!next || t->dueAt < next->dueAt ||
                (t->dueAt == next->dueAt && t->serial() < next->serial()))
                next = t;
        }
        if (!next) break;
        m_now = std::max(m_now, next->dueAt);
        // A zero interval would never let time move on; treat it as one millisecond.
        next->dueAt = m_now + std::max(next->interval(), 1);
        next->fire();
    }
    m_now = target;
}

Timer* ManualClock::find(const std::string& name) const {
    for (Timer* t : m_timers)
        if (t->name() == name) return t;
    return nullptr;
}

void ManualClock::timerAdded(Timer& timer) {
    m_timers.push_back(&timer);
    timerChanged(timer);
}

void ManualClock::timerRemoved(Timer& timer) {
    m_timers.erase(std::remove(m_timers.begin(), m_timers.end(), &timer), m_timers.end());
}

void ManualClock::timerChanged(Timer& timer) {
    timer.dueAt = m_now + std::max(timer.interval(), 1);
}
