#pragma once

#include "Clock.h"

#include <QElapsedTimer>

#include <memory>
#include <unordered_map>

class QTimer;

// The program's clock: each enabled TTimer is backed by a precise QTimer on the GUI thread.
class TQtClock final : public TClock {
public:
    TQtClock();
    ~TQtClock() override;

    std::int64_t Now() const override;

protected:
    void TimerAdded(TTimer& timer) override;
    void TimerRemoved(TTimer& timer) override;
    void TimerChanged(TTimer& timer) override;

private:
    QElapsedTimer FElapsed;
    std::unordered_map<TTimer*, std::unique_ptr<QTimer>> FTimers;
};
