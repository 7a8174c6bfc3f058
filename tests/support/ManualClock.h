#pragma once

#include "Clock.h"
#include "TimerSchedule.h"

#include <string>
#include <vector>

// A clock for tests: time moves only when advance() is called. Advance fires every due tick
// in order of due time, then creation order; a handler may start, stop or re-time any timer.
class ManualClock final : public Clock {
public:
    std::int64_t now() const override { return m_now; }

    // Moves time forward by ms milliseconds, firing every tick that falls due on the way
    // (a tick due exactly at the end fires too).
    void advance(std::int64_t ms);

    // Every timer registered on this clock, in creation order.
    const std::vector<Timer*>& timers() const { return m_schedule.timers(); }
    // The timer of that name, or nullptr.
    Timer* find(const std::string& name) const;

protected:
    void timerAdded(Timer& timer) override;
    void timerRemoved(Timer& timer) override;
    void timerChanged(Timer& timer) override;

private:
    std::int64_t m_now = 0;
    TimerSchedule m_schedule;
};
