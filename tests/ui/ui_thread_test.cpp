// Handing work to the UI thread: order, waiting, and giving up when the caller is being stopped.
#include "platform/event.h"
#include "support/bounded_wait.h"
#include "ui/ui_thread.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace zq::ui {
namespace {

using test::BoundedThread;

// Runs the UI thread's queue until the condition holds (no sleeping: the worker is what we wait for),
// within the bound; false when it never came.
template <class Pred> bool pumpUntil(Pred done) {
    return test::eventually([&] {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        return done();
    });
}

TEST(UiThread, PostedWorkRunsOnTheUiThreadInOrder) {
    std::vector<int> order;
    std::atomic<bool> posted{false};
    BoundedThread worker([&] {
        for (int i = 0; i < 5; ++i)
            UiThread::post([&order, i] {
                EXPECT_TRUE(UiThread::isUiThread());
                order.push_back(i);
            });
        posted = true;
    });
    worker.join();
    EXPECT_TRUE(pumpUntil([&] { return order.size() == 5; }));
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST(UiThread, InvokeWaitsForTheWorkAndRunsInlineOnTheUiThread) {
    platform::Event stop;
    int value = 0;
    EXPECT_TRUE(UiThread::invoke([&] { value = 1; }, stop)); // on the UI thread: at once
    EXPECT_EQ(value, 1);

    std::atomic<bool> returned{false};
    std::atomic<bool> ran{false};
    BoundedThread worker([&] {
        int local = 0; // the work may use the caller's stack: invoke waits for it
        ran = UiThread::invoke([&] { local = 42; }, stop);
        EXPECT_EQ(local, 42);
        returned = true;
    });
    EXPECT_TRUE(pumpUntil([&] { return returned.load(); }));
    worker.join();
    EXPECT_TRUE(ran);
}

TEST(UiThread, InvokeReturnsWhenTheStopEventIsSetAndTheWorkNeverRuns) {
    platform::Event stop;
    std::atomic<bool> ran{false};
    std::atomic<int> result{-1};
    // The UI thread is busy (here: in this test) and never gets to the queue before stop.
    BoundedThread worker([&] { result = UiThread::invoke([&] { ran = true; }, stop) ? 1 : 0; });
    stop.set();
    worker.join();
    EXPECT_EQ(result, 0);
    QCoreApplication::processEvents();
    EXPECT_FALSE(ran);

    // Already stopped: nothing is queued at all.
    BoundedThread late([&] { EXPECT_FALSE(UiThread::invoke([&] { ran = true; }, stop)); });
    late.join();
    QCoreApplication::processEvents();
    EXPECT_FALSE(ran);
}

} // namespace
} // namespace zq::ui
