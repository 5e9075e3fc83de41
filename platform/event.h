#pragma once
// A signalable event in the manner of the thread stop and wake signals the program uses everywhere:
// manual-reset events stay set until reset, auto-reset events release exactly one waiter.
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

namespace zq::platform {

class Event {
public:
    enum class Reset { Manual, Auto };

    explicit Event(Reset reset = Reset::Manual, bool initiallySet = false);
    ~Event();
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    void set();
    void reset();
    bool isSet() const;

    // True when the event was (or became) set within the limit; an auto-reset event is consumed.
    bool wait(std::chrono::milliseconds limit);
    void wait();

    // Index of the first event that is set (consumed when auto-reset), or -1 after the limit.
    static int waitAny(std::span<Event* const> events, std::chrono::milliseconds limit);

private:
    struct Waiter;
    bool consumeLocked();
    void notifyLocked();

    Reset reset_;
    mutable std::mutex mutex_;
    std::condition_variable cv_;
    bool set_ = false;
    std::vector<std::shared_ptr<Waiter>> multiWaiters_;
};

} // namespace zq::platform
