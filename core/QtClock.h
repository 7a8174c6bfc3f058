#pragma once

#include "Clock.h"
#include "TimerSchedule.h"

#include <memory>

class QSocketNotifier;

// The program's clock, on the GUI thread. It keeps the timers' schedule itself, as the tests'
// manual clock does: ticks come in order of due time, each an interval after the one before,
// and a pass that comes late fires the ticks due by then, so what the ticks show (the letters
// typed, the time gauge) is what is due even on a busy machine. The thread waits for the next
// due tick on a kernel timer set to that instant to the nanosecond, one wake-up per tick, and
// runs in short time slices so that its wake-ups need not wait for a busy task's slice to end.
// Construct it on the GUI thread.
class QtClock final : public Clock {
public:
    // A timer further behind than this (the program was stopped, or the machine stalled) gives
    // up the ticks it missed instead of firing them all at once.
    static constexpr int MaxLateMs = 1000;

    QtClock();
    ~QtClock() override;

    std::int64_t now() const override;

    // Asks the kernel to run the calling thread in short time slices, as the clock does for
    // its own. A thread that wakes for a short piece of work then preempts a busy task on its
    // core at once, where with the default slice it may wait for that task's slice to end
    // (several milliseconds); its share of the processor stays the same. Threads it starts
    // afterwards inherit the slice. Needs no privilege; kernels before 6.12 keep their own.
    static void askForShortSlices();

protected:
    void timerAdded(Timer& timer) override;
    void timerRemoved(Timer& timer) override;
    void timerChanged(Timer& timer) override;

private:
    void fireDue();
    // Sets the kernel timer to the first due tick, or stops it when no timer is enabled.
    void arm();

    std::int64_t m_startNs;
    int m_timerFd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
    TimerSchedule m_schedule;
    bool m_firing = false;
};
