#include "QtClock.h"

#include "Timer.h"

#include <QTimer>

TQtClock::TQtClock() { FElapsed.start(); }

TQtClock::~TQtClock() = default;

std::int64_t TQtClock::Now() const { return FElapsed.elapsed(); }

void TQtClock::TimerAdded(TTimer& timer) {
    auto qtimer = std::make_unique<QTimer>();
    qtimer->setTimerType(Qt::PreciseTimer);
    QObject::connect(qtimer.get(), &QTimer::timeout, [&timer] {
        // A handler may have stopped this timer while the event was queued.
        if (timer.Enabled()) timer.Fire();
    });
    auto& slot = FTimers[&timer];
    slot = std::move(qtimer);
    TimerChanged(timer);
}

void TQtClock::TimerRemoved(TTimer& timer) { FTimers.erase(&timer); }

void TQtClock::TimerChanged(TTimer& timer) {
    auto it = FTimers.find(&timer);
    if (it == FTimers.end()) return;
    QTimer& qtimer = *it->second;
    if (timer.Enabled()) {
        qtimer.start(std::max(timer.Interval(), 0)); // start() restarts a running QTimer
    } else {
        qtimer.stop();
    }
}
