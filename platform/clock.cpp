#include "platform/clock.h"

#include "platform/event.h"

#include <thread>

namespace zq::platform {

std::uint32_t Clock::tickCount() const {
    const auto ms = std::chrono::duration_cast<Duration>(now().time_since_epoch()).count();
    return static_cast<std::uint32_t>(ms);
}

int Clock::waitAny(std::span<Event* const> events, Duration limit) {
    if (limit != kNoLimit) return Event::waitAny(events, limit);
    // Event::waitAny takes a deadline; a day at a time keeps it far from overflowing.
    for (;;) {
        const int index = Event::waitAny(events, std::chrono::hours(24));
        if (index >= 0) return index;
    }
}

namespace {
class SystemClock final : public Clock {
public:
    TimePoint now() const override { return std::chrono::steady_clock::now(); }
    void sleepFor(Duration d) override { std::this_thread::sleep_for(d); }
    bool sleepUnlessStopped(Event& stop, Duration d) override { return stop.wait(d); }
};
} // namespace

Clock& systemClock() {
    static SystemClock clock;
    return clock;
}

ManualClock::ManualClock() : now_(std::chrono::steady_clock::time_point{} + std::chrono::hours(1)) {}

Clock::TimePoint ManualClock::now() const {
    std::lock_guard lock(mutex_);
    return now_;
}

void ManualClock::advance(Duration d) {
    std::lock_guard lock(mutex_);
    now_ += d;
}

void ManualClock::sleepFor(Duration d) {
    std::lock_guard lock(mutex_);
    now_ += d;
    slept_ += d;
}

bool ManualClock::sleepUnlessStopped(Event& stop, Duration d) {
    if (stop.isSet()) return true;
    sleepFor(d);
    // Let other threads run, so a stop set by the test is seen within a few turns.
    std::this_thread::yield();
    return stop.isSet();
}

int ManualClock::waitAny(std::span<Event* const> events, Duration limit) {
    if (const int index = Event::waitAny(events, Duration(0)); index >= 0) return index;
    if (limit == kNoLimit) return Clock::waitAny(events, limit);
    sleepFor(limit);
    std::this_thread::yield();
    return Event::waitAny(events, Duration(0));
}

ManualClock::Duration ManualClock::totalSlept() const {
    std::lock_guard lock(mutex_);
    return slept_;
}

} // namespace zq::platform
