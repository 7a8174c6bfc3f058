#include "Timer.h"

#include "Clock.h"

#include <atomic>

namespace {
std::atomic<std::uint64_t> NextSerial{1};
}

TTimer::TTimer(TClock& clock, std::string name, int intervalMs, bool enabled, int tag,
               std::function<void()> onTimer)
    : Tag(tag), FClock(clock), FName(std::move(name)), FInterval(intervalMs), FEnabled(enabled),
      FOnTimer(std::move(onTimer)), FSerial(NextSerial++) {
    FClock.TimerAdded(*this);
}

TTimer::~TTimer() { FClock.TimerRemoved(*this); }

void TTimer::SetInterval(int ms) {
    if (ms == FInterval) return;
    FInterval = ms;
    if (FEnabled) FClock.TimerChanged(*this);
}

void TTimer::SetEnabled(bool enabled) {
    if (enabled == FEnabled) return;
    FEnabled = enabled;
    FClock.TimerChanged(*this);
}

void TTimer::Fire() {
    if (FOnTimer) FOnTimer();
}
