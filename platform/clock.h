#pragma once
// Time as the program sees it. Everything that waits or measures elapsed time takes a Clock, so tests
// can run timing-dependent code instantly with a ManualClock.
#include <chrono>
#include <cstdint>
#include <mutex>

namespace zq::platform {

class Event;

class Clock {
public:
    using Duration = std::chrono::milliseconds;
    using TimePoint = std::chrono::steady_clock::time_point;

    virtual ~Clock() = default;
    virtual TimePoint now() const = 0;
    virtual void sleepFor(Duration d) = 0;
    // Sleeps up to d and returns early, with true, when stop is set.
    virtual bool sleepUnlessStopped(Event& stop, Duration d) = 0;

    // A monotonic 32-bit millisecond tick, wrapping like the system tick count.
    std::uint32_t tickCount() const;
};

// The real monotonic clock.
Clock& systemClock();

// A clock that only moves when told to or when somebody sleeps on it: sleeps return at once after
// advancing the time, so a test of a 300 ms time limit takes no real time at all.
class ManualClock final : public Clock {
public:
    ManualClock();
    TimePoint now() const override;
    void sleepFor(Duration d) override;
    bool sleepUnlessStopped(Event& stop, Duration d) override;
    void advance(Duration d);
    Duration totalSlept() const;

private:
    mutable std::mutex mutex_;
    TimePoint now_;
    Duration slept_{0};
};

} // namespace zq::platform
