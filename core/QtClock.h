#pragma once

#include "Clock.h"

#include <QElapsedTimer>

#include <memory>
#include <unordered_map>

class QTimer;

// The program's clock: each enabled Timer is backed by a precise QTimer on the GUI thread.
class QtClock final : public Clock {
public:
    QtClock();
    ~QtClock() override;

    std::int64_t now() const override;

protected:
    void timerAdded(Timer& timer) override;
    void timerRemoved(Timer& timer) override;
    void timerChanged(Timer& timer) override;

private:
    QElapsedTimer m_elapsed;
    std::unordered_map<Timer*, std::unique_ptr<QTimer>> m_timers;
};
