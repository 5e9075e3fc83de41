#pragma once
// A poster that queues the capture's deliveries like the UI thread's queue does, and lets the test
// run them until what it waits for has arrived (or a bounded wait ends).
#include "platform/input_hook_evdev.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace zq::test {

class QueuedPoster {
public:
    platform::HookPoster poster() {
        return [this](std::function<void()> fn) {
            std::lock_guard lock(mutex_);
            queue_.push_back(std::move(fn));
            cv_.notify_all();
        };
    }
    // Runs queued work in order until done() holds; false if it does not within the limit. done() may
    // also watch what the reader thread does without queueing anything (a grab, a closed device), so it
    // is looked at again every few milliseconds.
    bool runUntil(const std::function<bool()>& done,
                  std::chrono::milliseconds limit = std::chrono::milliseconds(5000)) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        for (;;) {
            if (done()) return true;
            std::function<void()> fn;
            {
                std::unique_lock lock(mutex_);
                const auto now = std::chrono::steady_clock::now();
                if (now >= deadline) return done();
                const auto slice = std::min(deadline, now + std::chrono::milliseconds(5));
                if (!cv_.wait_until(lock, slice, [this] { return !queue_.empty(); })) continue;
                fn = std::move(queue_.front());
                queue_.pop_front();
            }
            fn();
        }
    }
    // Runs whatever is queued now.
    void drain() {
        for (;;) {
            std::function<void()> fn;
            {
                std::lock_guard lock(mutex_);
                if (queue_.empty()) return;
                fn = std::move(queue_.front());
                queue_.pop_front();
            }
            fn();
        }
    }
    // Waits, without running anything, until n deliveries are queued.
    bool waitPending(std::size_t n, std::chrono::milliseconds limit = std::chrono::milliseconds(5000)) {
        std::unique_lock lock(mutex_);
        return cv_.wait_for(lock, limit, [&] { return queue_.size() >= n; });
    }

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    std::deque<std::function<void()>> queue_;
};

} // namespace zq::test
