#include "QtClock.h"

#include "Timer.h"

#include <QSocketNotifier>
#include <QtGlobal>

#include <sched.h>

#include <sys/syscall.h>
#include <sys/timerfd.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

// The shortest slice the kernel grants.
constexpr std::uint64_t ShortSliceNs = 100000;

std::int64_t monotonicNs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return std::int64_t{t.tv_sec} * 1000000000 + t.tv_nsec;
}

} // namespace

QtClock::QtClock() : m_startNs(monotonicNs()) {
    askForShortSlices();
    m_timerFd = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_timerFd < 0) qFatal("QtClock: no kernel timer: %s", std::strerror(errno));
    m_notifier = std::make_unique<QSocketNotifier>(m_timerFd, QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] { fireDue(); });
}

QtClock::~QtClock() {
    m_notifier.reset();
    ::close(m_timerFd);
}

std::int64_t QtClock::now() const {
    return (monotonicNs() - m_startNs) / 1000000;
}

void QtClock::timerAdded(Timer& timer) {
    m_schedule.add(timer);
    timerChanged(timer);
}

void QtClock::timerRemoved(Timer& timer) {
    m_schedule.remove(timer);
    if (!m_firing) arm();
}

void QtClock::timerChanged(Timer& timer) {
    timer.dueAt = now() + std::max(timer.interval(), 1);
    // A pass sets the kernel timer once, after its last handler.
    if (!m_firing) arm();
}

void QtClock::fireDue() {
    std::uint64_t expirations = 0;
    [[maybe_unused]] const auto n = ::read(m_timerFd, &expirations, sizeof expirations);
    m_firing = true;
    m_schedule.fireDue(now(), MaxLateMs);
    m_firing = false;
    arm();
}

void QtClock::arm() {
    itimerspec when{};
    if (const auto due = m_schedule.firstDue()) {
        // An instant already past makes the kernel timer fire at once (zero would stop it).
        const std::int64_t at = std::max<std::int64_t>(m_startNs + *due * 1000000, 1);
        when.it_value.tv_sec = static_cast<time_t>(at / 1000000000);
        when.it_value.tv_nsec = static_cast<long>(at % 1000000000);
    }
    timerfd_settime(m_timerFd, TFD_TIMER_ABSTIME, &when, nullptr);
}

void QtClock::askForShortSlices() {
    // The kernel's struct sched_attr (its header clashes with the C library's).
    struct {
        std::uint32_t size;
        std::uint32_t policy;
        std::uint64_t flags;
        std::int32_t nice;
        std::uint32_t priority;
        std::uint64_t runtime, deadline, period;
        std::uint32_t utilMin, utilMax;
    } attr{};
    if (syscall(SYS_sched_getattr, 0, &attr, sizeof attr, 0) != 0) return;
    if (attr.policy != SCHED_OTHER) return;
    attr.size = sizeof attr;
    attr.runtime = ShortSliceNs;
    syscall(SYS_sched_setattr, 0, &attr, 0);
}
