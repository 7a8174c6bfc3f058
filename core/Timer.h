#pragma once

#include <cstdint>
#include <functional>
#include <string>

class Clock;

// An interval timer on a Clock: interval in milliseconds, enabled flag, an integer Tag for
// the owner's bookkeeping, and the handler run at every tick. A handler may start, stop or
// re-time any timer, itself included.
class Timer {
public:
    Timer(Clock& clock, std::string name, int intervalMs, bool enabled, int tag = 0,
          std::function<void()> onTimer = {});
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    const std::string& name() const { return m_name; }

    int interval() const { return m_interval; }
    // A new interval of an enabled timer counts from now.
    void setInterval(int ms);

    bool enabled() const { return m_enabled; }
    // Enabling a stopped timer starts a full interval; enabling a running one changes nothing.
    void setEnabled(bool enabled);
    void start() { setEnabled(true); }
    void stop() { setEnabled(false); }

    void setOnTimer(std::function<void()> handler) { m_onTimer = std::move(handler); }
    // Runs the handler once, as the clock does at every tick.
    void fire();

    int tag = 0;

    // Order of creation on its clock; ties between timers due at the same moment fire in
    // this order.
    std::uint64_t serial() const { return m_serial; }
    // Clock-private bookkeeping: when the timer is next due.
    std::int64_t dueAt = 0;

private:
    Clock& m_clock;
    std::string m_name;
    int m_interval;
    bool m_enabled;
    std::function<void()> m_onTimer;
    std::uint64_t m_serial;
};
