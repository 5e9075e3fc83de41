#include "device/device_worker.h"

#include "platform/debug.h"

#include <exception>
#include <string>

namespace zq::device {

void DeviceWorker::JobContext::progress(std::size_t done, std::size_t total) {
    if (worker_.progress_) worker_.progress_(id_, done, total);
}

DeviceWorker::DeviceWorker(ProgressFn progress) : progress_(std::move(progress)) {}

DeviceWorker::~DeviceWorker() {
    stop();
}

void DeviceWorker::start() {
    std::lock_guard lock(mutex_);
    if (thread_.joinable() || stopping_) return;
    thread_ = std::thread([this] { run(); });
}

std::uint64_t DeviceWorker::post(Job job) {
    std::lock_guard lock(mutex_);
    if (stopping_ || !job) return 0;
    const std::uint64_t id = nextId_++;
    queue_.emplace_back(id, std::move(job));
    changed_.notify_all();
    return id;
}

bool DeviceWorker::stop(std::chrono::milliseconds limit) {
    std::thread thread;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        queue_.clear();
        thread = std::move(thread_);
        changed_.notify_all();
    }
    stop_.set();
    if (!thread.joinable()) return true;
    const bool ended = ended_.wait(limit);
    thread.join();
    return ended;
}

bool DeviceWorker::idle() const {
    std::lock_guard lock(mutex_);
    return queue_.empty() && !running_;
}

bool DeviceWorker::waitIdle(std::chrono::milliseconds limit) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [&] { return queue_.empty() && !running_; });
}

std::size_t DeviceWorker::pending() const {
    std::lock_guard lock(mutex_);
    return queue_.size();
}

void DeviceWorker::run() {
    for (;;) {
        std::pair<std::uint64_t, Job> next;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
            if (stopping_) break;
            next = std::move(queue_.front());
            queue_.pop_front();
            running_ = true;
        }
        JobContext context(*this, next.first);
        try {
            next.second(context);
        } catch (const std::exception& e) {
            // A job must not take the worker down with it: the next transfer still runs.
            platform::debugString(std::string("device worker: a job failed: ") + e.what());
        } catch (...) {
            platform::debugString("device worker: a job failed");
        }
        next.second = nullptr; // whatever the job holds goes before the worker says it is idle
        {
            std::lock_guard lock(mutex_);
            running_ = false;
            changed_.notify_all();
        }
    }
    {
        std::lock_guard lock(mutex_);
        running_ = false;
        changed_.notify_all();
    }
    ended_.set();
}

} // namespace zq::device
