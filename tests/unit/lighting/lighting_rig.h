#pragma once
// Three emulated devices with their links open on the vendor collections, on a manual clock, and a
// clock for driving a lighting thread body in the test's own thread.
#include "device/device_link.h"
#include "platform/clock.h"
#include "platform/event.h"
#include "sim/sim_backend.h"
#include "unit/device/sim_link.h"

#include <gtest/gtest.h>

#include <span>
#include <vector>

namespace zq::lighting::test {

struct SimRig {
    platform::ManualClock simClock;
    sim::SimBackend backend{simClock};
    device::DeviceLink mouse{backend, simClock};
    device::DeviceLink pad{backend, simClock};
    device::DeviceLink keyboard{backend, simClock};

    SimRig() {
        for (auto [link, dev] : {std::pair{&mouse, &backend.mouse()}, std::pair{&pad, &backend.pad()},
                                 std::pair{&keyboard, &backend.keyboard()}}) {
            EXPECT_TRUE(zq::test::openOnVendorCollection(*link, *dev));
            link->hid.setClock(simClock);
        }
    }
};

// Time moves only by the sleeps of the thread body; every sleep is recorded, and the stop event is set
// once `limit` sleeps have been taken, so a thread body runs a known number of steps and returns.
class ScriptClock final : public platform::Clock {
public:
    explicit ScriptClock(std::size_t limit) : limit_(limit) {}
    TimePoint now() const override { return now_; }
    void sleepFor(Duration d) override { now_ += d; }
    bool sleepUnlessStopped(platform::Event& stop, Duration d) override {
        if (stop.isSet()) return true;
        sleeps.push_back(d);
        now_ += d;
        if (sleeps.size() >= limit_) stop.set();
        return stop.isSet();
    }
    // A wait on events is a sleep of its limit (kNoLimit for "until something happens"); an event that is
    // set ends it at once without a sleep. The scripted stop is the first event.
    int waitAny(std::span<platform::Event* const> events, Duration limit) override {
        for (std::size_t i = 0; i < events.size(); ++i)
            if (events[i]->wait(Duration(0))) return static_cast<int>(i);
        sleeps.push_back(limit);
        if (limit != kNoLimit) now_ += limit;
        if (sleeps.size() >= limit_ && !events.empty()) {
            events[0]->set();
            return 0;
        }
        return -1;
    }
    void setLimit(std::size_t limit) { limit_ = limit; }

    std::vector<Duration> sleeps;

private:
    std::size_t limit_;
    TimePoint now_ = TimePoint{} + std::chrono::hours(2);
};

} // namespace zq::lighting::test
