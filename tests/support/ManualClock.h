#pragma once

#include "Clock.h"

#include <string>
#include <vector>

// A clock for tests: time moves only when Advance() is called. Advance fires every due tick
// in order of due time, then creation order; a handler may start, stop or re-time any timer.
class TManualClock final : public TClock {
public:
    std::int64_t Now() const override { return FNow; }

    // Moves time forward by ms milliseconds, firing every tick that falls due on the way
    // (a tick due exactly at the end fires too).
    void Advance(std::int64_t ms);

    // Every timer registered on this clock, in creation order.
    const std::vector<TTimer*>& Timers() const { return FTimers; }
    // The timer of that name, or nullptr.
    TTimer* Find(const std::string& name) const;

protected:
    void TimerAdded(TTimer& timer) override;
    void TimerRemoved(TTimer& timer) override;
    void TimerChanged(TTimer& timer) override;

private:
    std::int64_t FNow = 0;
    std::vector<TTimer*> FTimers;
};
