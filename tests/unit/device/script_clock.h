#pragma once
// A clock for running a worker thread's body in the test's own thread. Time is virtual: it moves by the
// sleeps and by the waits that run out. Every wait is recorded with its limit and its outcome, so a test
// sees exactly how often the thread woke and why.
//
// The script: action i runs when the thread enters its wait number i (plug a device, press a button),
// before the events are looked at. A wait without a limit that finds no event set would block for ever:
// the run ends there (the stop event, events[0] of every wait in these threads, is set). A run also ends
// after maxWaits waits, and once the time passes stopAt, so no body can loop for ever. Single-threaded
// use only, apart from the emulator's calls on the same thread.
#include "platform/clock.h"
#include "platform/event.h"

#include <functional>
#include <mutex>
#include <vector>

namespace zq::device::test {

class ScriptClock final : public platform::Clock {
public:
    struct Wait {
        Duration limit;
        int result; // index of the event that ended it, -1 when the limit ran out
    };

    explicit ScriptClock(platform::Event& stop) : stop_(stop) {}

    TimePoint now() const override {
        std::lock_guard lock(mutex_);
        return now_;
    }
    void sleepFor(Duration d) override {
        std::lock_guard lock(mutex_);
        advanceLocked(d);
    }
    bool sleepUnlessStopped(platform::Event& stop, Duration d) override {
        if (stop.isSet()) return true;
        sleepFor(d);
        return stop.isSet();
    }
    int waitAny(std::span<platform::Event* const> events, Duration limit) override {
        std::size_t index;
        {
            std::lock_guard lock(mutex_);
            index = waits_.size();
        }
        if (index < script.size() && script[index]) script[index]();
        int result = platform::Event::waitAny(events, Duration(0));
        if (result < 0) {
            if (limit != kNoLimit) {
                sleepFor(limit);
                result = platform::Event::waitAny(events, Duration(0));
            } else {
                stop_.set(); // nothing would ever wake this wait: the run ends
                result = platform::Event::waitAny(events, Duration(0));
            }
        }
        std::lock_guard lock(mutex_);
        waits_.push_back({limit, result});
        if (waits_.size() >= maxWaits) stop_.set();
        return result;
    }

    std::vector<Wait> waits() const {
        std::lock_guard lock(mutex_);
        return waits_;
    }
    void clearWaits() {
        std::lock_guard lock(mutex_);
        waits_.clear();
    }

    std::vector<std::function<void()>> script;
    std::size_t maxWaits = 50;
    TimePoint stopAt = TimePoint::max();

private:
    void advanceLocked(Duration d) {
        now_ += d;
        if (now_ >= stopAt) stop_.set();
    }

    platform::Event& stop_;
    mutable std::mutex mutex_;
    TimePoint now_ = TimePoint{} + std::chrono::hours(3);
    std::vector<Wait> waits_;
};

} // namespace zq::device::test
