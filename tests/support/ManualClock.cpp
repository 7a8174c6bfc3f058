#include "ManualClock.h"

#include "Timer.h"

#include <algorithm>
#include <limits>

void TManualClock::Advance(std::int64_t ms) {
    const std::int64_t target = FNow + ms;
    for (;;) {
        TTimer* next = nullptr;
        for (TTimer* t : FTimers) {
            if (!t->Enabled() || t->DueAt > target) continue;
            if (!next || t->DueAt < next->DueAt ||
                (t->DueAt == next->DueAt && t->Serial() < next->Serial()))
                next = t;
        }
        if (!next) break;
        FNow = std::max(FNow, next->DueAt);
        // A zero interval would never let time move on; treat it as one millisecond.
        next->DueAt = FNow + std::max(next->Interval(), 1);
        next->Fire();
    }
    FNow = target;
}

TTimer* TManualClock::Find(const std::string& name) const {
    for (TTimer* t : FTimers)
        if (t->Name() == name) return t;
    return nullptr;
}

void TManualClock::TimerAdded(TTimer& timer) {
    FTimers.push_back(&timer);
    TimerChanged(timer);
}

void TManualClock::TimerRemoved(TTimer& timer) {
    FTimers.erase(std::remove(FTimers.begin(), FTimers.end(), &timer), FTimers.end());
}

void TManualClock::TimerChanged(TTimer& timer) {
    timer.DueAt = FNow + std::max(timer.Interval(), 1);
}
