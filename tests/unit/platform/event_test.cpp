#include "platform/event.h"

#include <gtest/gtest.h>

#include <thread>

using namespace std::chrono_literals;
using zq::platform::Event;

TEST(Event, ManualResetStaysSetUntilReset) {
    Event e(Event::Reset::Manual);
    EXPECT_FALSE(e.wait(0ms));
    e.set();
    EXPECT_TRUE(e.wait(0ms));
    EXPECT_TRUE(e.wait(0ms));
    e.reset();
    EXPECT_FALSE(e.isSet());
}

TEST(Event, AutoResetReleasesOneWait) {
    Event e(Event::Reset::Auto);
    e.set();
    EXPECT_TRUE(e.wait(0ms));
    EXPECT_FALSE(e.wait(0ms));
}

TEST(Event, WaitAnyReportsTheFirstSetEventAndConsumesOnlyIt) {
    Event stop(Event::Reset::Manual), wake(Event::Reset::Auto);
    Event* both[] = {&stop, &wake};
    EXPECT_EQ(Event::waitAny(both, 0ms), -1);
    wake.set();
    EXPECT_EQ(Event::waitAny(both, 0ms), 1);
    EXPECT_FALSE(wake.isSet());
    stop.set();
    wake.set();
    EXPECT_EQ(Event::waitAny(both, 0ms), 0);
    EXPECT_TRUE(wake.isSet());
}

TEST(Event, WaitAnyWakesWhenAnotherThreadSets) {
    Event a, b(Event::Reset::Auto);
    Event* both[] = {&a, &b};
    std::jthread setter([&] { b.set(); });
    EXPECT_EQ(Event::waitAny(both, 10s), 1);
}
