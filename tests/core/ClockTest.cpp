#include "ManualClock.h"
#include "Timer.h"

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
