#include "platform/clock.h"
#include "platform/event.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;

TEST(ManualClock, SleepsAdvanceTimeWithoutWaiting) {
    zq::platform::ManualClock clock;
    const auto start = clock.now();
    clock.sleepFor(300ms);
    zq::platform::Event stop;
    EXPECT_FALSE(clock.sleepUnlessStopped(stop, 700ms));
    EXPECT_EQ(clock.now() - start, 1000ms);
    stop.set();
    EXPECT_TRUE(clock.sleepUnlessStopped(stop, 1000ms));
    EXPECT_EQ(clock.totalSlept(), 1000ms);
}

TEST(Clock, TickCountWrapsAt32Bits) {
    zq::platform::ManualClock clock;
    const auto t0 = clock.tickCount();
    clock.advance(std::chrono::milliseconds(0x1'0000'0000LL));
    EXPECT_EQ(clock.tickCount(), t0);
}
