#pragma once

#include <cstdint>
#include <functional>
#include <string>

class TClock;

// An interval timer on a TClock: interval in milliseconds, enabled flag, an integer Tag for
// the owner's bookkeeping, and the handler run at every tick. A handler may start, stop or
// re-time any timer, itself included.
class TTimer {
public:
    TTimer(TClock& clock, std::string name, int intervalMs, bool enabled, int tag = 0,
           std::function<void()> onTimer = {});
    ~TTimer();
    TTimer(const TTimer&) = delete;
    TTimer& operator=(const TTimer&) = delete;

    const std::string& Name() const { return FName; }

    int Interval() const { return FInterval; }
    // A new interval of an enabled timer counts from now.
    void SetInterval(int ms);

    bool Enabled() const { return FEnabled; }
    // Enabling a stopped timer starts a full interval; enabling a running one changes nothing.
    void SetEnabled(bool enabled);
    void Start() { SetEnabled(true); }
    void Stop() { SetEnabled(false); }

    void SetOnTimer(std::function<void()> handler) { FOnTimer = std::move(handler); }
    // Runs the handler once, as the clock does at every tick.
    void Fire();

    int Tag = 0;

    // Order of creation on its clock; ties between timers due at the same moment fire in
    // this order.
    std::uint64_t Serial() const { return FSerial; }
    // Clock-private bookkeeping: when the timer is next due.
    std::int64_t DueAt = 0;

private:
    TClock& FClock;
    std::string FName;
    int FInterval;
    bool FEnabled;
    std::function<void()> FOnTimer;
    std::uint64_t FSerial;
};
