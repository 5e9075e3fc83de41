#pragma once
// Time as the program sees it. Everything that waits or measures elapsed time takes a Clock, so tests
// can run timing-dependent code instantly with a ManualClock.
#include <chrono>
#include <cstdint>
#include <mutex>
#include <span>

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

    // The limit of a wait that lasts until one of its events is set, however long that takes.
    static constexpr Duration kNoLimit = Duration::max();
    // Waits until one of the events is set and returns its index (an auto-reset event is consumed), or
    // -1 once `limit` has passed. A thread that has nothing to do until something happens waits here
    // with kNoLimit and costs no wake-ups. The default waits in real time.
    virtual int waitAny(std::span<Event* const> events, Duration limit);

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
    // A wait with a limit moves the time on by the limit at once, as a sleep does; one without a limit
    // blocks for real until an event is set.
    int waitAny(std::span<Event* const> events, Duration limit) override;
    void advance(Duration d);
    Duration totalSlept() const;

private:
    mutable std::mutex mutex_;
    TimePoint now_;
    Duration slept_{0};
};

} // namespace zq::platform
