#include "shell/worker_slots.h"

#include <algorithm>
#include <string>

#include <pthread.h>
#include <vector>

namespace zq::shell {

WorkerSlots::WorkerSlots() {
    for (auto& stop : stops_) stop = std::make_shared<platform::Event>(platform::Event::Reset::Manual);
}

WorkerSlots::~WorkerSlots() {
    stopAll(std::chrono::milliseconds(1000));
}

bool WorkerSlots::start(int slot, std::function<void(platform::Event& stop)> body) {
    if (slot < kFirstSlot || slot > kLastSlot || slots_[static_cast<std::size_t>(slot)]) return false;
    auto s = std::make_shared<Slot>();
    // The slot and its stop event are shared with the thread, so a thread left behind at exit never
    // touches them freed. What its body refers to is the caller's: the program ends the process without
    // destructors when a thread was left behind (see leftBehind()).
    auto stop = stops_[static_cast<std::size_t>(slot)];
    s->thread = std::thread([s, stop, slot, body = std::move(body)] {
        // Named by slot, so `top -H` and /proc tell the threads apart.
        const std::string name = "zq70-slot-" + std::to_string(slot);
        pthread_setname_np(pthread_self(), name.c_str());
        body(*stop);
        s->ended.set();
    });
    slots_[static_cast<std::size_t>(slot)] = std::move(s);
    return true;
}

bool WorkerSlots::running(int slot) const {
    if (slot < 0 || slot >= kEventCount) return false;
    const auto& s = slots_[static_cast<std::size_t>(slot)];
    return s && s->thread.joinable() && !s->ended.isSet();
}

int WorkerSlots::started() const {
    int n = 0;
    for (const auto& s : slots_)
        if (s) ++n;
    return n;
}

WorkerSlots::Outcome WorkerSlots::stopAll(std::chrono::milliseconds limit) {
    for (auto& stop : stops_) stop->set();
    const auto deadline = std::chrono::steady_clock::now() + limit;
    bool all = true;
    for (auto& s : slots_) {
        if (!s || !s->thread.joinable()) continue;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (s->ended.wait(std::max(left, std::chrono::milliseconds(0)))) {
            s->thread.join();
        } else {
            all = false;
            s->thread.detach();
            leftBehind_ = true;
        }
    }
    return all ? Outcome::AllEnded : Outcome::TimedOut;
}

const char* WorkerSlots::outcomeText(Outcome outcome) {
    return outcome == Outcome::AllEnded ? "所有对象处于激发状态\n" : "所有对象处于非激发状态，超时\n";
}

} // namespace zq::shell
