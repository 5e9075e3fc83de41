// The device worker: jobs in order on one thread, progress, stop that cuts waits short and drops what
// has not started.
#include "device/device_worker.h"
#include "platform/clock.h"
#include "platform/debug.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>
#include <tuple>
#include <vector>

namespace zq::device {
namespace {

using namespace std::chrono_literals;

TEST(DeviceWorker, RunsJobsInOrderOnOneThreadAndReportsProgress) {
    std::mutex m;
    std::vector<std::tuple<std::uint64_t, std::size_t, std::size_t>> progress;
    DeviceWorker worker([&](std::uint64_t job, std::size_t done, std::size_t total) {
        std::lock_guard lock(m);
        progress.emplace_back(job, done, total);
    });
    std::vector<int> order;
    std::set<std::thread::id> threads;
    worker.start();
    std::uint64_t last = 0;
    for (int i = 0; i < 20; ++i) {
        last = worker.post([&, i](DeviceWorker::JobContext& job) {
            order.push_back(i); // one thread: no lock needed, and TSan would say otherwise
            threads.insert(std::this_thread::get_id());
            if (i == 3)
                for (std::size_t step = 1; step <= 3; ++step) job.progress(step, 3);
        });
    }
    EXPECT_EQ(last, 20u);
    ASSERT_TRUE(worker.waitIdle(10s));
    std::vector<int> expected(20);
    for (int i = 0; i < 20; ++i) expected[static_cast<std::size_t>(i)] = i;
    EXPECT_EQ(order, expected);
    EXPECT_EQ(threads.size(), 1u);
    EXPECT_NE(*threads.begin(), std::this_thread::get_id());
    std::lock_guard lock(m);
    EXPECT_EQ(progress, (std::vector<std::tuple<std::uint64_t, std::size_t, std::size_t>>{
                            {4, 1, 3}, {4, 2, 3}, {4, 3, 3}}));
}

TEST(DeviceWorker, StopEndsAWaitingJobAtOnceAndDropsTheRest) {
    DeviceWorker worker;
    worker.start();
    std::atomic<bool> started{false}, secondRan{false};
    platform::Event running;
    worker.post([&](DeviceWorker::JobContext& job) {
        started = true;
        running.set();
        // A sequence's one-second wait, but a very long one: only the stop can end it in time.
        platform::systemClock().sleepUnlessStopped(job.stop(), 60s);
    });
    worker.post([&](DeviceWorker::JobContext&) { secondRan = true; });
    ASSERT_TRUE(running.wait(10s));
    EXPECT_EQ(worker.pending(), 1u);
    const auto t0 = std::chrono::steady_clock::now();
    EXPECT_TRUE(worker.stop(1000ms));
    EXPECT_LT(std::chrono::steady_clock::now() - t0, 10s); // bounded; far from the job's 60 s
    EXPECT_TRUE(started);
    EXPECT_FALSE(secondRan);
    EXPECT_EQ(worker.post([](DeviceWorker::JobContext&) {}), 0u); // a stopped worker takes nothing
}

TEST(DeviceWorker, AJobThatThrowsDoesNotTakeTheWorkerDown) {
    platform::clearDebugLines();
    DeviceWorker worker;
    worker.start();
    std::atomic<bool> after{false};
    worker.post([](DeviceWorker::JobContext&) { throw std::runtime_error("boom"); });
    worker.post([&](DeviceWorker::JobContext&) { after = true; });
    ASSERT_TRUE(worker.waitIdle(10s));
    EXPECT_TRUE(after);
    EXPECT_TRUE(platform::debugContains("boom"));
}

} // namespace
} // namespace zq::device
