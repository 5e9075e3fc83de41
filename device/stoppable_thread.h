#pragma once
// A worker thread with a manual-reset stop event of its own, as every background thread of the program
// has: the body gets the event, waits on it instead of sleeping, and returns when it is set.
#include "platform/event.h"

#include <chrono>
#include <functional>
#include <thread>

namespace zq::device {

class StoppableThread {
public:
    StoppableThread() = default;
    ~StoppableThread() { stop(std::chrono::milliseconds(1000)); }
    StoppableThread(const StoppableThread&) = delete;
    StoppableThread& operator=(const StoppableThread&) = delete;

    // Starts the body unless a thread runs already (or ran and has not been stopped).
    void start(std::function<void(platform::Event& stop)> body) {
        if (thread_.joinable()) return;
        stop_.reset();
        ended_.reset();
        thread_ = std::thread([this, body = std::move(body)] {
            body(stop_);
            ended_.set();
        });
    }
    bool started() const { return thread_.joinable(); }
    bool ended() const { return ended_.isSet(); }

    // Sets the stop event only; several threads can be told at once and joined afterwards.
    void requestStop() { stop_.set(); }
    // Sets the stop event and waits up to `limit` for the body to return; true when it did. The thread
    // is joined in any case (the bodies end within their current wait).
    bool stop(std::chrono::milliseconds limit) {
        stop_.set();
        if (!thread_.joinable()) return true;
        const bool ended = ended_.wait(limit);
        thread_.join();
        return ended;
    }

private:
    platform::Event stop_{platform::Event::Reset::Manual};
    platform::Event ended_{platform::Event::Reset::Manual};
    std::thread thread_;
};

} // namespace zq::device
