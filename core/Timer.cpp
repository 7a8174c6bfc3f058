#include "Timer.h"

#include "Clock.h"

#include <atomic>

namespace {
std::atomic<std::uint64_t> nextSerial{1};
}

Timer::Timer(Clock& clock, std::string name, int intervalMs, bool enabled, int tag,
             std::function<void()> onTimer)
    : tag(tag), m_clock(clock), m_name(std::move(name)), m_interval(intervalMs), m_enabled(enabled),
      m_onTimer(std::move(onTimer)), m_serial(nextSerial++) {
    m_clock.timerAdded(*this);
}

Timer::~Timer() {
    m_clock.timerRemoved(*this);
}

void Timer::setInterval(int ms) {
    if (ms == m_interval) return;
    m_interval = ms;
    if (m_enabled) m_clock.timerChanged(*this);
}

void Timer::setEnabled(bool enabled) {
    if (enabled == m_enabled) return;
    m_enabled = enabled;
    m_clock.timerChanged(*this);
}

void Timer::fire() {
    if (m_onTimer) m_onTimer();
}
