#pragma once
// Every wait of a test has a bound: a condition that never comes true, or a thread that never ends,
// fails the test within the bound instead of holding the run until ctest's timeout. The bound is far
// above what any awaited step takes, on a loaded machine and under a sanitizer too; waiting for it
// costs nothing when the step comes, since the waits end as soon as it does.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <thread>
#include <type_traits>
#include <utility>

namespace zq::test {

using Millis = std::chrono::milliseconds;

inline constexpr Millis kWaitBound{10000};

// True as soon as cond() holds; false when it has not within the bound.
template <class F> bool eventually(F&& cond, Millis bound = kWaitBound) {
    const auto end = std::chrono::steady_clock::now() + bound;
    while (!cond()) {
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::yield();
    }
    return true;
}

// A thread the test joins within a bound. One that is still running then cannot be left behind (it
// works on the test's locals), so the test program stops there with a message that names the test:
// the run fails at once instead of hanging.
class BoundedThread {
public:
    template <class F, class = std::enable_if_t<!std::is_same_v<std::decay_t<F>, BoundedThread>>>
    explicit BoundedThread(F&& body) {
        std::promise<void> ended;
        ended_ = ended.get_future();
        thread_ = std::thread([body = std::forward<F>(body), ended = std::move(ended)]() mutable {
            body();
            ended.set_value();
        });
    }
    BoundedThread(BoundedThread&&) = default;
    BoundedThread& operator=(BoundedThread&&) = delete;
    ~BoundedThread() {
        if (thread_.joinable()) join();
    }

    void join(Millis bound = kWaitBound) {
        if (ended_.wait_for(bound) != std::future_status::ready) {
            const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
            std::fprintf(stderr, "%s.%s: a thread of the test has not ended within %lld ms; stopping\n",
                         test ? test->test_suite_name() : "?", test ? test->name() : "?",
                         static_cast<long long>(bound.count()));
            std::fflush(stderr);
            std::abort();
        }
        thread_.join();
    }
    bool joinable() const { return thread_.joinable(); }

private:
    std::thread thread_;
    std::future<void> ended_;
};

} // namespace zq::test
