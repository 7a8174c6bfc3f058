#include "ManualClock.h"
#include "QtClock.h"
#include "Timer.h"
#include "TimerSchedule.h"

#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Ticks fire in order of due time, then creation order, exactly at their interval, and a
// tick due at the end of an advance fires.
TEST(ClockTest, OrderAndEdges) {
    ManualClock clock;
    std::vector<std::string> log;
    Timer a(clock, "a", 100, true, 0, [&] { log.push_back("a@" + std::to_string(clock.now())); });
    Timer b(clock, "b", 50, true, 0, [&] { log.push_back("b@" + std::to_string(clock.now())); });
    clock.advance(99);
    EXPECT_EQ(log, (std::vector<std::string>{"b@50"}));
    clock.advance(1);
    EXPECT_EQ(log, (std::vector<std::string>{"b@50", "a@100", "b@100"}));
}

// Handlers may stop, start and re-time timers, themselves included; a started timer counts
// its full interval from the moment it starts; enabling a running timer changes nothing.
TEST(ClockTest, HandlersChangeTimers) {
    ManualClock clock;
    int oneShot = 0, other = 0;
    Timer* self = nullptr;
    Timer second(clock, "second", 30, false, 0, [&] { ++other; });
    Timer first(clock, "first", 20, true, 0, [&] {
        ++oneShot;
        self->stop();
        second.start();
    });
    self = &first;
    clock.advance(20);
    EXPECT_EQ(oneShot, 1);
    clock.advance(29);
    EXPECT_EQ(other, 0);
    clock.advance(1);
    EXPECT_EQ(other, 1);
    second.start(); // already running: its next tick stays at 80
    clock.advance(30);
    EXPECT_EQ(other, 2);
    second.setInterval(100); // a new interval counts from now (80)
    clock.advance(99);
    EXPECT_EQ(other, 2);
    clock.advance(1);
    EXPECT_EQ(other, 3);
    EXPECT_EQ(oneShot, 1);
}

// A pass that comes late fires every tick missed since, in order of due time across timers,
// and keeps each timer on its grid; a timer further behind than the limit fires once and
// counts its next interval from the pass.
TEST(TimerScheduleTest, LatePassesCatchUpOnTheGrid) {
    ManualClock clock; // only the timers' owner: the schedule below drives them
    TimerSchedule schedule;
    std::vector<std::string> log;
    std::int64_t passAt = 0;
    const auto logger = [&](const char* name) {
        return [&, name] { log.push_back(std::string(name) + "@" + std::to_string(passAt)); };
    };
    Timer typing(clock, "typing", 17, true, 0, logger("t"));
    Timer gauge(clock, "gauge", 40, true, 0, logger("g"));
    typing.dueAt = 17;
    gauge.dueAt = 40;
    schedule.add(typing);
    schedule.add(gauge);

    struct Pass {
        std::int64_t at;
        std::vector<std::string> fired;
        std::int64_t typingDue, gaugeDue;
    };
    const std::vector<Pass> passes{
        {16, {}, 17, 40},
        {17, {"t@17"}, 34, 40},
        // 29 ms late: the typing's ticks of 34, 51 and the gauge's of 40, in due order.
        {63, {"t@63", "g@63", "t@63"}, 68, 80},
        // 1,100 ms late: beyond the limit of 1,000 ms, one tick each and a new grid.
        {1168, {"t@1168", "g@1168"}, 1185, 1208},
    };
    for (const Pass& pass : passes) {
        log.clear();
        passAt = pass.at;
        schedule.fireDue(pass.at, 1000);
        EXPECT_EQ(log, pass.fired) << "pass at " << pass.at;
        EXPECT_EQ(typing.dueAt, pass.typingDue) << "pass at " << pass.at;
        EXPECT_EQ(gauge.dueAt, pass.gaugeDue) << "pass at " << pass.at;
    }
    EXPECT_EQ(schedule.firstDue(), 1185);
    typing.stop();
    gauge.stop();
    EXPECT_EQ(schedule.firstDue(), std::nullopt);
}

// The program's clock fires its timers from the event loop, and a timer a handler stops fires
// no more, even in a pass that catches up.
TEST(QtClockTest, FiresFromTheEventLoopUntilStopped) {
    QtClock clock;
    int ticks = 0;
    Timer* self = nullptr;
    Timer timer(clock, "t", 5, true, 0, [&] {
        if (++ticks == 3) self->stop();
    });
    self = &timer;
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 3; }, 5000));
    EXPECT_EQ(ticks, 3);
    EXPECT_FALSE(timer.enabled());
}
