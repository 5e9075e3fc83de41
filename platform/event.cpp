#include "platform/event.h"

#include <algorithm>

namespace zq::platform {

// A multi-event waiter registers one shared wake-up slot with every event it waits on.
struct Event::Waiter {
    std::mutex mutex;
    std::condition_variable cv;
    bool woken = false;
};

Event::Event(Reset reset, bool initiallySet) : reset_(reset), set_(initiallySet) {}
Event::~Event() = default;

void Event::set() {
    std::lock_guard lock(mutex_);
    set_ = true;
    notifyLocked();
}

void Event::reset() {
    std::lock_guard lock(mutex_);
    set_ = false;
}

bool Event::isSet() const {
    std::lock_guard lock(mutex_);
    return set_;
}

bool Event::consumeLocked() {
    if (!set_) return false;
    if (reset_ == Reset::Auto) set_ = false;
    return true;
}

void Event::notifyLocked() {
    if (reset_ == Reset::Auto)
        cv_.notify_one();
    else
        cv_.notify_all();
    for (auto& w : multiWaiters_) {
        std::lock_guard wl(w->mutex);
        w->woken = true;
        w->cv.notify_all();
    }
}

bool Event::wait(std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex_);
    if (!cv_.wait_for(lock, limit, [&] { return set_; })) return false;
    return consumeLocked();
}

void Event::wait() {
    std::unique_lock lock(mutex_);
    cv_.wait(lock, [&] { return set_; });
    consumeLocked();
}

int Event::waitAny(std::span<Event* const> events, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    auto waiter = std::make_shared<Waiter>();
    auto tryConsume = [&]() -> int {
        for (std::size_t i = 0; i < events.size(); ++i) {
            std::lock_guard lock(events[i]->mutex_);
            if (events[i]->consumeLocked()) return static_cast<int>(i);
        }
        return -1;
    };
    for (Event* e : events) {
        std::lock_guard lock(e->mutex_);
        e->multiWaiters_.push_back(waiter);
    }
    int found = -1;
    for (;;) {
        {
            std::lock_guard wl(waiter->mutex);
            waiter->woken = false;
        }
        found = tryConsume();
        if (found >= 0) break;
        std::unique_lock wl(waiter->mutex);
        if (!waiter->cv.wait_until(wl, deadline, [&] { return waiter->woken; })) {
            wl.unlock();
            found = tryConsume();
            break;
        }
    }
    for (Event* e : events) {
        std::lock_guard lock(e->mutex_);
        auto& ws = e->multiWaiters_;
        ws.erase(std::remove(ws.begin(), ws.end(), waiter), ws.end());
    }
    return found;
}

} // namespace zq::platform
