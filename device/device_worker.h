#pragma once
// The device worker: one thread that runs device transfers one after another, off the UI thread.
//
// Read-backs, slot switches, settings pushes, key-block writes and macro uploads are posted as jobs and
// run in the order posted, so two transfers never interleave their frames on a link beyond what the link
// lock allows anyway, and the window never waits for a device. While nothing is queued the thread
// blocks on its queue (no timer, no polling).
//
// A job gets a context: the worker's stop event (set when the worker stops; the sequences' waits end
// on it, and they give up between two commands) and a progress report, which the worker hands to its
// progress callback with the job's id. What a job produces it hands back itself (the shell posts it to
// the UI thread).
#include "platform/event.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace zq::device {

class DeviceWorker {
public:
    class JobContext {
    public:
        std::uint64_t id() const { return id_; }
        platform::Event& stop() { return worker_.stop_; }
        bool stopping() const { return worker_.stop_.isSet(); }
        // Reports that `done` of `total` steps are finished.
        void progress(std::size_t done, std::size_t total);

    private:
        friend class DeviceWorker;
        JobContext(DeviceWorker& worker, std::uint64_t id) : worker_(worker), id_(id) {}
        DeviceWorker& worker_;
        std::uint64_t id_;
    };
    using Job = std::function<void(JobContext&)>;
    // Called on the worker thread.
    using ProgressFn = std::function<void(std::uint64_t job, std::size_t done, std::size_t total)>;

    explicit DeviceWorker(ProgressFn progress = {});
    ~DeviceWorker(); // stops
    DeviceWorker(const DeviceWorker&) = delete;
    DeviceWorker& operator=(const DeviceWorker&) = delete;

    void start();
    // Queues a job; its id (from 1), or 0 when the worker has stopped and the job was dropped.
    std::uint64_t post(Job job);
    // Sets the stop event, drops the jobs not yet started and waits up to `limit` for the running one to
    // end; true when it did. The thread is joined in any case.
    bool stop(std::chrono::milliseconds limit = std::chrono::milliseconds(1000));

    // Nothing queued and nothing running.
    bool idle() const;
    // Waits (in real time, up to the limit) until the worker is idle; true when it is.
    bool waitIdle(std::chrono::milliseconds limit) const;
    // Jobs queued and not yet started.
    std::size_t pending() const;

private:
    void run();

    ProgressFn progress_;
    platform::Event stop_{platform::Event::Reset::Manual};
    platform::Event ended_{platform::Event::Reset::Manual};
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::deque<std::pair<std::uint64_t, Job>> queue_;
    bool running_ = false;  // a job is running
    bool stopping_ = false; // guarded by mutex_, so the idle wait cannot miss the stop
    std::uint64_t nextId_ = 1;
    std::thread thread_;
};

} // namespace zq::device
