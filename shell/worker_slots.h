#pragma once
// The main window's worker threads: fifteen stop events and thirteen numbered slots (1..13) started in
// order at window initialisation. Each thread ends by itself once its stop event is set; the exit waits
// for all of them together for at most the given time. A thread that overstays is left behind (detached)
// and the process ends without waiting for it.
#include "platform/event.h"

#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

namespace zq::shell {

class WorkerSlots {
public:
    static constexpr int kEventCount = 15;
    static constexpr int kFirstSlot = 1;
    // Slots 1..13 as the window starts them; slot 14 holds the keyboard's presence thread, which the
    // thirteen do not include.
    static constexpr int kLastSlot = 14;

    enum class Outcome { AllEnded, TimedOut };

    WorkerSlots();
    ~WorkerSlots();
    WorkerSlots(const WorkerSlots&) = delete;
    WorkerSlots& operator=(const WorkerSlots&) = delete;

    platform::Event& stopEvent(int slot) { return *stops_.at(static_cast<std::size_t>(slot)); }
    // Starts body(stop) in the slot; false for a slot outside 1..14 or one already taken.
    bool start(int slot, std::function<void(platform::Event& stop)> body);
    bool running(int slot) const;
    int started() const;

    // Sets every stop event and waits up to `limit` for every started thread to end.
    Outcome stopAll(std::chrono::milliseconds limit);
    bool leftBehind() const { return leftBehind_; }

    // The debug line of an outcome.
    static const char* outcomeText(Outcome outcome);

private:
    struct Slot {
        platform::Event ended{platform::Event::Reset::Manual};
        std::thread thread;
    };
    std::array<std::shared_ptr<platform::Event>, kEventCount> stops_;
    std::array<std::shared_ptr<Slot>, kEventCount> slots_;
    bool leftBehind_ = false;
};

} // namespace zq::shell
