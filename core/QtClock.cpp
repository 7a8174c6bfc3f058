#include "QtClock.h"

#include "Timer.h"

#include <QTimer>

QtClock::QtClock() {
    m_elapsed.start();
}

QtClock::~QtClock() = default;

std::int64_t QtClock::now() const {
    return m_elapsed.elapsed();
}

void QtClock::timerAdded(Timer& timer) {
    auto qtimer = std::make_unique<QTimer>();
    qtimer->setTimerType(Qt::PreciseTimer);
    QObject::connect(qtimer.get(), &QTimer::timeout, [&timer] {
        // A handler may have stopped this timer while the event was queued.
        if (timer.enabled()) timer.fire();
    });
    auto& slot = m_timers[&timer];
    slot = std::move(qtimer);
    timerChanged(timer);
}

void QtClock::timerRemoved(Timer& timer) {
    m_timers.erase(&timer);
}

void QtClock::timerChanged(Timer& timer) {
    auto it = m_timers.find(&timer);
    if (it == m_timers.end()) return;
    QTimer& qtimer = *it->second;
    if (timer.enabled()) {
        qtimer.start(std::max(timer.interval(), 0)); // start() restarts a running QTimer
    } else {
        qtimer.stop();
    }
}
